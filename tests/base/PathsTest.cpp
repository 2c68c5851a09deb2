#include "base/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "TestFiles.h"

namespace slipway {
namespace {

TEST(Paths, SplitAcceptsBothSeparatorsAndDrives) {
    struct Case {
        const char* path;
        const char* drive;
        const char* dir;
        const char* name;
        const char* ext;
    };
    const Case cases[] = {
        {"C:\\ships\\hull.clf", "C:", "\\ships\\", "hull", ".clf"},
        {"models/masts\\mast1.cff", "", "models/masts\\", "mast1", ".cff"},
        {"hull", "", "", "hull", ""},
        {"dir.v2/hull", "", "dir.v2/", "hull", ""},
        {"a/b.tar.gz", "", "a/", "b.tar", ".gz"},
        {"/", "", "/", "", ""},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        const PathParts p = splitPath(c.path);
        EXPECT_EQ(p.drive, c.drive) << c.path;
        EXPECT_EQ(p.directory, c.dir) << c.path;
        EXPECT_EQ(p.name, c.name) << c.path;
        EXPECT_EQ(p.extension, c.ext) << c.path;
    }
    EXPECT_EQ(baseName("x\\y/Piramid.cff"), "Piramid");
    EXPECT_EQ(fileName("x\\y/Piramid.cff"), "Piramid.cff");
    EXPECT_EQ(directoryOf("x\\y/Piramid.cff"), "x\\y/");
}

TEST(Paths, JoinUsesTheNativeSeparatorOnce) {
    EXPECT_EQ(joinPath("a", "b"), std::string("a") + kNativeSeparator + "b");
    EXPECT_EQ(joinPath("a/", "b"), "a/b");
    EXPECT_EQ(joinPath("", "b"), "b");
}

TEST(Paths, FindsFilesIgnoringCaseButPrefersTheExactName) {
    test::TempDir dir;
    test::writeText(dir.file("Karav_Flag.TGA"), "x");
    EXPECT_EQ(findFileIgnoringCase(dir.path(), "karav_flag.tga"), dir.file("Karav_Flag.TGA"));
    EXPECT_EQ(findFileIgnoringCase(dir.path(), "Karav_Flag.TGA"), dir.file("Karav_Flag.TGA"));
    EXPECT_FALSE(findFileIgnoringCase(dir.path(), "karav_flag.tf"));
    std::filesystem::create_directory(dir.file("Sub"));
    EXPECT_FALSE(findFileIgnoringCase(dir.path(), "sub"));  // directories do not count
}

TEST(Paths, LocateFileResolvesEveryComponentIgnoringCaseAndBackslashes) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("Models/Masts"));
    test::writeText(dir.file("Models/Masts/Mast1.CFF"), "x");
    EXPECT_EQ(locateFile(dir.path() + "/models\\MASTS\\mast1.cff"),
              dir.file("Models/Masts/Mast1.CFF"));
    EXPECT_FALSE(locateFile(dir.path() + "/models/masts/"));
    EXPECT_FALSE(locateFile(dir.path() + "/models/none.cff"));
    EXPECT_TRUE(fileExists(dir.file("Models/Masts/Mast1.CFF")));
    EXPECT_FALSE(fileExists(dir.file("Models")));
}

}  // namespace
}  // namespace slipway
