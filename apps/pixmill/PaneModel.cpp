#include "pixmill/PaneModel.h"

#include <algorithm>

#include "base/Paths.h"

namespace slipway::pixmill {
namespace {

bool isDriveRoot(const std::string& folder) {
    return folder.size() >= 2 && folder.size() <= 3 && folder[1] == ':' &&
           (folder.size() == 2 || isSeparator(folder[2]));
}

}  // namespace

bool isRootFolder(const std::string& folder) {
    if (isDriveRoot(folder))
        return true;
    return !folder.empty() && std::all_of(folder.begin(), folder.end(), isSeparator);
}

std::string parentFolder(const std::string& folder) {
    if (isRootFolder(folder))
        return folder;
    std::string path = folder;
    while (path.size() > 1 && isSeparator(path.back()) && !isRootFolder(path))
        path.pop_back();
    std::size_t cut = path.size();
    while (cut > 0 && !isSeparator(path[cut - 1]))
        --cut;
    if (cut == 0)
        return path;  // a bare name: nothing above it to go to
    std::string parent = path.substr(0, cut - 1);
    if (parent.empty())
        return path.substr(0, 1);  // "/art" gives "/"
    if (parent.size() == 2 && parent[1] == ':')
        parent += path[cut - 1];  // "C:\art" gives "C:\", not the drive's current folder
    return parent;
}

std::string childFolder(const std::string& folder, const std::string& name) {
    return joinPath(folder, name);
}

PaneModel::PaneModel(std::vector<std::string> extensions, std::string folder)
    : extensions_(std::move(extensions)), folder_(std::move(folder)) {}

void PaneModel::apply(const ListingUpdate& update) {
    switch (update.kind) {
        case ListingUpdate::Started:
            entries_.clear();
            lastMark_ = -1;
            folder_ = update.folder;
            listing_ = true;
            break;
        case ListingUpdate::Entries:
            entries_.insert(entries_.end(), update.entries.begin(), update.entries.end());
            break;
        case ListingUpdate::EntriesDone:
            break;
        case ListingUpdate::Info:
            if (update.row < entries_.size()) {
                PaneEntry& entry = entries_[update.row];
                entry.icon = update.icon;
                entry.size = update.size;
                entry.bpp = update.bpp;
            }
            break;
        case ListingUpdate::Finished:
            listing_ = false;
            break;
    }
}

PaneAction PaneModel::activate(std::size_t row) const {
    if (row >= entries_.size())
        return {};
    const PaneEntry& entry = entries_[row];
    if (isFileIcon(entry.icon)) {
        const int extension = extensionIndexOf(entry.icon);
        return {PaneAction::Preview, filePath(entry.text, extension), extension};
    }
    if (entry.icon == kDriveIcon)
        return {PaneAction::OpenFolder, entry.text, 0};
    if (entry.text == "..")
        return {PaneAction::OpenFolder, parentFolder(folder_), 0};
    return {PaneAction::OpenFolder, childFolder(folder_, entry.text), 0};
}

PaneAction PaneModel::arrowMoved(int mark) {
    if (mark == lastMark_ || mark < 0)
        return {};
    lastMark_ = mark;
    const PaneAction action = activate(static_cast<std::size_t>(mark));
    return action.kind == PaneAction::Preview ? action : PaneAction{};
}

std::vector<std::string> PaneModel::selectedFiles(std::vector<std::size_t> rows) const {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::string> files;
    for (const std::size_t row : rows) {
        if (row < entries_.size() && isFileIcon(entries_[row].icon))
            files.push_back(filePath(entries_[row].text, extensionIndexOf(entries_[row].icon)));
    }
    return files;
}

std::string PaneModel::filePath(const std::string& text, int extensionIndex) const {
    std::string extension;
    if (extensionIndex >= 0 && static_cast<std::size_t>(extensionIndex) < extensions_.size())
        extension = extensions_[static_cast<std::size_t>(extensionIndex)];
    return joinPath(folder_, text + "." + extension);
}

}  // namespace slipway::pixmill
