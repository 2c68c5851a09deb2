#pragma once
// What a file pane shows and decides, apart from its widgets: the folder listed, one entry per
// row ("..", folders, files of the pane's extensions, drives), and what activating a row, an
// arrow key and the selection mean. The listing thread fills it through ListingUpdate values.

#include <cstddef>
#include <string>
#include <vector>

namespace slipway::pixmill {

// An entry's icon index is its only type information: 0 a drive, 1 a folder or "..",
// 2 + 2i a file of extension i whose header was read, 3 + 2i one that could not be read.
inline constexpr int kDriveIcon = 0;
inline constexpr int kFolderIcon = 1;
inline int fileIcon(int extensionIndex) {
    return 2 + 2 * extensionIndex;
}
inline int unreadableFileIcon(int extensionIndex) {
    return 3 + 2 * extensionIndex;
}
inline bool isFileIcon(int icon) {
    return icon >= 2;
}
inline int extensionIndexOf(int icon) {
    return icon / 2 - 1;
}

struct PaneEntry {
    std::string text;  // a file without its dot and extension; a drive's root
    int icon = kFolderIcon;
    std::string size;  // "WxH" once the header was read
    std::string bpp;

    friend bool operator==(const PaneEntry&, const PaneEntry&) = default;
};

// One step of a listing, in the order the listing thread made them.
struct ListingUpdate {
    enum Kind {
        Started,      // the list is emptied; `folder` is the folder being listed
        Entries,      // `entries` are appended
        EntriesDone,  // every entry is in: the selection mark goes to the first row
        Info,         // `row` gets `icon`, `size` and `bpp`
        Finished,     // every header was read
    };
    Kind kind = Started;
    std::string folder;
    std::vector<PaneEntry> entries;
    std::size_t row = 0;
    int icon = 0;
    std::string size;
    std::string bpp;
};

// What activating a row or moving onto it asks of the pane.
struct PaneAction {
    enum Kind { Nothing, Preview, OpenFolder };
    Kind kind = Nothing;
    std::string path;        // Preview: the file; OpenFolder: the folder to list
    int extensionIndex = 0;  // Preview
};

class PaneModel {
  public:
    // `extensions`: lower case, the first one names the pane in the settings ("tga", "tf").
    PaneModel(std::vector<std::string> extensions, std::string folder);

    const std::vector<std::string>& extensions() const { return extensions_; }
    const std::string& folder() const { return folder_; }
    void setFolder(std::string folder) { folder_ = std::move(folder); }
    const std::vector<PaneEntry>& entries() const { return entries_; }
    bool listing() const { return listing_; }

    void apply(const ListingUpdate& update);

    // Double-click or Enter on `row`.
    PaneAction activate(std::size_t row) const;
    // The Up or Down key left the selection mark on `mark`: a file is previewed when the mark
    // moved since the last time.
    PaneAction arrowMoved(int mark);
    // The full paths of the files among `rows`, in list order (folders and drives skipped).
    std::vector<std::string> selectedFiles(std::vector<std::size_t> rows) const;
    // folder + separator + text + "." + extension i.
    std::string filePath(const std::string& text, int extensionIndex) const;

  private:
    std::vector<std::string> extensions_;
    std::string folder_;
    std::vector<PaneEntry> entries_;
    int lastMark_ = -1;
    bool listing_ = false;
};

// The folder above `folder`: a trailing separator dropped, then cut at the last separator; a
// root stays itself ("/art/tex" gives "/art", "/art" gives "/", "C:\art" gives "C:\").
std::string parentFolder(const std::string& folder);
// `folder` with a separator when missing, then `name`.
std::string childFolder(const std::string& folder, const std::string& name);
// True for a file system root, which has no ".." entry.
bool isRootFolder(const std::string& folder);

}  // namespace slipway::pixmill
