#include "pixmill/FolderListing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Format.h"
#include "base/Paths.h"
#include "pixels/ImageFiles.h"

namespace slipway::pixmill {
namespace {

namespace fs = std::filesystem;

char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), foldCase);
    return text;
}

void sortNames(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return compareNames(a, b) < 0;
    });
}

// The names of the folder's entries that are (or are not) folders; empty when it cannot be read.
void readFolder(const std::string& folder, std::vector<std::string>& folders,
                std::vector<std::string>& files, const std::function<bool()>& keepListing) {
    std::error_code error;
    fs::directory_iterator it(fs::path(folder), fs::directory_options::skip_permission_denied,
                              error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (!keepListing())
            return;
        std::error_code typeError;
        const bool isFolder = it->is_directory(typeError);
        std::string name = it->path().filename().string();
        (isFolder ? folders : files).push_back(std::move(name));
    }
}

}  // namespace

int compareNames(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(foldCase(a[i]));
        const unsigned char cb = static_cast<unsigned char>(foldCase(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

std::unique_ptr<ImageFile> handlerForExtension(const std::string& extension) {
    return openImageFile("file." + extension);
}

void listFolder(const ListingRequest& request, std::vector<std::unique_ptr<ImageFile>>& handlers,
                const std::function<bool()>& keepListing,
                const std::function<void(ListingUpdate&&)>& emit) {
    std::string folder = request.folder;
    if (!directoryExists(folder))
        folder = request.startFolder;
    if (!keepListing())
        return;
    emit({ListingUpdate::Started, folder, {}, 0, 0, {}, {}});

    std::vector<std::string> folderNames, fileNames;
    readFolder(folder, folderNames, fileNames, keepListing);
    if (!keepListing())
        return;
    sortNames(folderNames);
    sortNames(fileNames);

    std::vector<PaneEntry> entries;
    if (!isRootFolder(folder))
        entries.push_back({"..", kFolderIcon, {}, {}});
    for (std::string& name : folderNames)
        entries.push_back({std::move(name), kFolderIcon, {}, {}});
    // Files of the pane's extensions; the rows of those whose headers are read afterwards.
    struct FileRow {
        std::size_t row;
        int extension;
    };
    std::vector<FileRow> fileRows;
    for (const std::string& name : fileNames) {
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos || dot == 0)
            continue;
        const std::string extension = lowerCase(name.substr(dot + 1));
        const auto found =
            std::find(request.extensions.begin(), request.extensions.end(), extension);
        if (found == request.extensions.end())
            continue;
        const int index = static_cast<int>(found - request.extensions.begin());
        fileRows.push_back({entries.size(), index});
        entries.push_back({name.substr(0, dot), fileIcon(index), {}, {}});
    }
    for (const std::string& drive : request.drives)
        entries.push_back({drive, kDriveIcon, {}, {}});

    // Rows go out in pieces, so that a folder of thousands of files shows while it fills.
    constexpr std::size_t kRowsPerUpdate = 512;
    for (std::size_t first = 0; first < entries.size(); first += kRowsPerUpdate) {
        if (!keepListing())
            return;
        const std::size_t last = std::min(entries.size(), first + kRowsPerUpdate);
        ListingUpdate update{ListingUpdate::Entries, folder, {}, 0, 0, {}, {}};
        update.entries.assign(entries.begin() + static_cast<std::ptrdiff_t>(first),
                              entries.begin() + static_cast<std::ptrdiff_t>(last));
        emit(std::move(update));
    }
    if (!keepListing())
        return;
    emit({ListingUpdate::EntriesDone, folder, {}, 0, 0, {}, {}});

    PaneModel paths(request.extensions, folder);
    for (const FileRow& file : fileRows) {
        if (!keepListing())
            return;
        ImageFile* handler = static_cast<std::size_t>(file.extension) < handlers.size()
                                 ? handlers[static_cast<std::size_t>(file.extension)].get()
                                 : nullptr;
        ListingUpdate update{
            ListingUpdate::Info, folder, {}, file.row, unreadableFileIcon(file.extension), {}, {}};
        if (handler != nullptr) {
            handler->path = paths.filePath(entries[file.row].text, file.extension);
            if (handler->isValid() && handler->readInfo()) {
                update.icon = fileIcon(file.extension);
                update.size = formatText("%ux%u", handler->width, handler->height);
                update.bpp = formatText("%u", handler->bitsPerPixel);
            }
        }
        emit(std::move(update));
    }
    if (keepListing())
        emit({ListingUpdate::Finished, folder, {}, 0, 0, {}, {}});
}

}  // namespace slipway::pixmill
