// The file panes' listing and decisions: what a folder lists and in which order, the icons and
// columns each file gets from its header, and what activating a row, the arrow keys and the
// selection ask for.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "PixmillFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "pixmill/FolderListing.h"
#include "pixmill/PaneModel.h"

namespace slipway::pixmill {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

// Runs a listing to its end on this thread and returns the model it fills.
PaneModel listed(const std::string& folder, std::vector<std::string> extensions,
                 std::vector<std::string> drives = {}, const std::string& startFolder = "/") {
    PaneModel model(extensions, folder);
    std::vector<std::unique_ptr<ImageFile>> handlers;
    for (const std::string& extension : extensions)
        handlers.push_back(handlerForExtension(extension));
    std::vector<ListingUpdate::Kind> kinds;
    listFolder(
        {folder, startFolder, extensions, drives}, handlers, [] { return true; },
        [&](ListingUpdate&& update) {
            kinds.push_back(update.kind);
            model.apply(update);
        });
    EXPECT_EQ(kinds.front(), ListingUpdate::Started);
    EXPECT_EQ(kinds.back(), ListingUpdate::Finished);
    return model;
}

std::vector<std::string> texts(const PaneModel& model) {
    std::vector<std::string> out;
    for (const PaneEntry& entry : model.entries())
        out.push_back(entry.text);
    return out;
}

TEST(PaneListing, ListsParentFoldersFilesAndDrivesEachInNameOrder) {
    test::TempDir dir;
    for (const char* folder : {"beta", "Alpha", "gamma"})
        fs::create_directory(dir.file(folder));
    for (const char* file :
         {"Sail.TGA", "anchor.tga", "hull.bmp", "x.tgax", ".tga", "notes", "deck.tf", "Mast.tga"})
        test::writeBytes(dir.file(file), {1, 2, 3});
    const PaneModel source = listed(dir.path(), {"tga", "bmp"}, {"/", "/mnt/disk"});
    EXPECT_THAT(texts(source), ElementsAre("..", "Alpha", "beta", "gamma", "anchor", "hull", "Mast",
                                           "Sail", "/", "/mnt/disk"));
    const std::vector<PaneEntry>& rows = source.entries();
    EXPECT_EQ(rows[0].icon, kFolderIcon);
    EXPECT_EQ(rows[3].icon, kFolderIcon);
    EXPECT_EQ(rows[8].icon, kDriveIcon);
    // Sail.TGA is a file of extension 0; its path takes the pane's lower-case extension.
    EXPECT_EQ(extensionIndexOf(rows[7].icon), 0);
    EXPECT_EQ(source.filePath(rows[7].text, 0), dir.file("Sail.tga"));
    EXPECT_EQ(extensionIndexOf(rows[5].icon), 1);

    EXPECT_THAT(texts(listed(dir.path(), {"tf"})),
                ElementsAre("..", "Alpha", "beta", "gamma", "deck"));
}

TEST(PaneListing, ARootHasNoParentEntryAndAMissingFolderListsTheStartFolder) {
    const PaneModel root = listed("/", {"tf"});
    ASSERT_FALSE(root.entries().empty());
    EXPECT_NE(root.entries().front().text, "..");

    test::TempDir start;
    test::writeBytes(start.file("only.tf"), {1});
    const PaneModel gone = listed(start.file("gone"), {"tf"}, {}, start.path());
    EXPECT_EQ(gone.folder(), start.path());
    EXPECT_THAT(texts(gone), ElementsAre("..", "only"));
}

TEST(PaneListing, FilesShowSizeAndDepthOrTheUnreadableIcon) {
    test::TempDir dir;
    test::writeTgaPicture(dir.file("good.tga"), 8, 4, 32 | formatAlpha);
    test::writeBytes(dir.file("broken.tga"), {0, 0, 99});
    test::writeBytes(dir.file("picture.bmp"), {'B', 'M', 0, 0});
    test::writeTfTexture(dir.file("texture.tf"), 16, 8, 24);
    test::writeTfTexture(dir.file("locked.tf"), 16, 8, 24);
    ::chmod(dir.file("locked.tf").c_str(), 0444);
    test::writeBytes(dir.file("short.tf"), std::vector<std::uint8_t>(15, 1));

    const PaneModel source = listed(dir.path(), {"tga", "bmp"});
    // Rows: "..", broken, good, picture.
    const auto& s = source.entries();
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[1], (PaneEntry{"broken", unreadableFileIcon(0), "", ""}));
    EXPECT_EQ(s[2], (PaneEntry{"good", fileIcon(0), "8x4", "32"}));
    EXPECT_EQ(s[3], (PaneEntry{"picture", unreadableFileIcon(1), "", ""}));  // BMP: never read

    const PaneModel target = listed(dir.path(), {"tf"});
    const auto& t = target.entries();
    ASSERT_EQ(t.size(), 4u);  // "..", locked, short, texture
    // Only a root can open a read-only file for writing.
    if (::geteuid() != 0) {
        EXPECT_EQ(t[1].icon, unreadableFileIcon(0)) << "a read-only texture cannot be used";
    }
    EXPECT_EQ(t[2], (PaneEntry{"short", unreadableFileIcon(0), "", ""}));
    EXPECT_EQ(t[3], (PaneEntry{"texture", fileIcon(0), "16x8", "16"}));
}

TEST(PaneListing, StopsAtOnceWhenTheFlagIsCleared) {
    test::TempDir dir;
    for (int i = 0; i < 20; ++i)
        test::writeTgaPicture(dir.file("p" + std::to_string(i) + ".tga"), 2, 2, 24);
    std::vector<std::unique_ptr<ImageFile>> handlers;
    handlers.push_back(handlerForExtension("tga"));
    int infos = 0;
    bool keep = true;
    listFolder(
        {dir.path(), "/", {"tga"}, {}}, handlers, [&] { return keep; },
        [&](ListingUpdate&& update) {
            if (update.kind == ListingUpdate::Info && ++infos == 3)
                keep = false;
            EXPECT_NE(update.kind, ListingUpdate::Finished);
        });
    EXPECT_EQ(infos, 3);
}

TEST(PaneModel, FoldersOpenDrivesOpenFilesPreview) {
    PaneModel model({"tga", "bmp"}, "/art/tex");
    model.apply({ListingUpdate::Started, "/art/tex", {}, 0, 0, {}, {}});
    model.apply({ListingUpdate::Entries,
                 "/art/tex",
                 {{"..", kFolderIcon, {}, {}},
                  {"old", kFolderIcon, {}, {}},
                  {"Sail", fileIcon(0), "8x8", "24"},
                  {"hull", unreadableFileIcon(1), {}, {}},
                  {"/mnt", kDriveIcon, {}, {}}},
                 0,
                 0,
                 {},
                 {}});
    struct Case {
        std::size_t row;
        PaneAction::Kind kind;
        std::string path;
        int extension;
    };
    const Case cases[] = {
        {0, PaneAction::OpenFolder, "/art", 0},
        {1, PaneAction::OpenFolder, "/art/tex/old", 0},
        {2, PaneAction::Preview, "/art/tex/Sail.tga", 0},
        {3, PaneAction::Preview, "/art/tex/hull.bmp", 1},
        {4, PaneAction::OpenFolder, "/mnt", 0},
        {5, PaneAction::Nothing, "", 0},
    };
    for (const Case& c : cases) {
        const PaneAction action = model.activate(c.row);
        EXPECT_EQ(action.kind, c.kind) << c.row;
        EXPECT_EQ(action.path, c.path) << c.row;
        EXPECT_EQ(action.extensionIndex, c.extension) << c.row;
    }

    // Arrow keys preview files only, and only when the mark moved.
    EXPECT_EQ(model.arrowMoved(1).kind, PaneAction::Nothing);
    EXPECT_EQ(model.arrowMoved(2).kind, PaneAction::Preview);
    EXPECT_EQ(model.arrowMoved(2).kind, PaneAction::Nothing);
    EXPECT_EQ(model.arrowMoved(3).path, "/art/tex/hull.bmp");
    model.apply({ListingUpdate::Started, "/art/tex", {}, 0, 0, {}, {}});
    model.apply(
        {ListingUpdate::Entries, "/art/tex", {{"Sail", fileIcon(0), {}, {}}}, 0, 0, {}, {}});
    EXPECT_EQ(model.arrowMoved(0).kind, PaneAction::Preview) << "a new listing forgets the mark";

    // The selection's files in list order; folders and drives are not files.
    PaneModel selection({"tga", "bmp"}, "/art");
    selection.apply({ListingUpdate::Entries,
                     "/art",
                     {{"..", kFolderIcon, {}, {}},
                      {"b", fileIcon(0), {}, {}},
                      {"a", unreadableFileIcon(1), {}, {}},
                      {"/", kDriveIcon, {}, {}}},
                     0,
                     0,
                     {},
                     {}});
    EXPECT_THAT(selection.selectedFiles({3, 2, 0, 1}), ElementsAre("/art/b.tga", "/art/a.bmp"));
    EXPECT_TRUE(selection.selectedFiles({0, 3}).empty());
}

TEST(PaneModel, ParentFolderCutsAtTheLastSeparatorAndKeepsRoots) {
    const std::pair<std::string, std::string> cases[] = {
        {"/art/tex", "/art"},        {"/art/tex/", "/art"}, {"/art", "/"},    {"/", "/"},
        {"C:\\art\\tex", "C:\\art"}, {"C:\\art", "C:\\"},   {"C:\\", "C:\\"},
    };
    for (const auto& [folder, parent] : cases)
        EXPECT_EQ(parentFolder(folder), parent) << folder;
    EXPECT_TRUE(isRootFolder("/"));
    EXPECT_TRUE(isRootFolder("D:\\"));
    EXPECT_FALSE(isRootFolder("/work"));
}

TEST(PaneListing, NamesCompareIgnoringCaseThenByTheirBytes) {
    EXPECT_LT(compareNames("alpha", "Beta"), 0);
    EXPECT_GT(compareNames("beta", "ALPHA"), 0);
    EXPECT_LT(compareNames("Sail", "sail"), 0);
    EXPECT_EQ(compareNames("sail", "sail"), 0);
    EXPECT_LT(compareNames("ab", "abc"), 0);
}

}  // namespace
}  // namespace slipway::pixmill
