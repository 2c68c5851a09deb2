#include "base/ProfileFile.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestFiles.h"

namespace slipway {
namespace {

using test::readText;
using test::writeText;

TEST(ProfileFile, AbsentFileSectionOrKeyGivesTheDefault) {
    test::TempDir dir;
    const std::string ini = dir.file("Dialog.ini");
    EXPECT_EQ(readProfileString(ini, "RECENT_FILES", "FILE0", "$"), "$");
    writeText(ini, "[RECENT_FILES]\r\nFILE1=x\r\n");
    EXPECT_EQ(readProfileString(ini, "RECENT_FILES", "FILE0", "$"), "$");
    EXPECT_EQ(readProfileString(ini, "OTHER", "FILE1", "$"), "$");
}

TEST(ProfileFile, EmptyValuesArePresentAndNamesIgnoreCase) {
    test::TempDir dir;
    const std::string ini = dir.file("Dialog.ini");
    writeText(ini, "[Model_Path]\npath0=\n  Path1 = /ships/models  \n");
    EXPECT_EQ(readProfileString(ini, "MODEL_PATH", "PATH0", "$"), "");
    EXPECT_EQ(readProfileString(ini, "model_path", "PATH1", "$"), "/ships/models");
}

TEST(ProfileFile, ValuesAreCutTo255Characters) {
    test::TempDir dir;
    const std::string ini = dir.file("Dialog.ini");
    ASSERT_TRUE(writeProfileString(ini, "S", "K", std::string(300, 'a')));
    EXPECT_EQ(readProfileString(ini, "S", "K", "$").size(), 255u);
}

TEST(ProfileFile, WritingCreatesFileAndSectionAndKeepsEverythingElse) {
    test::TempDir dir;
    const std::string ini = dir.file("Dialog.ini");
    ASSERT_TRUE(writeProfileString(ini, "RECENT_FILES", "FILE0", "a.clf"));
    EXPECT_EQ(readText(ini), "[RECENT_FILES]\nFILE0=a.clf\n");

    writeText(ini,
              "; viewer settings\r\n[RECENT_FILES]\r\nFILE0=a.clf\r\n\r\n[MODEL_PATH]\r\n"
              "PATH0=/m\r\n");
    ASSERT_TRUE(writeProfileString(ini, "recent_files", "file0", "b.clf"));
    ASSERT_TRUE(writeProfileString(ini, "RECENT_FILES", "FILE1", "a.clf"));
    EXPECT_EQ(readText(ini),
              "; viewer settings\r\n[RECENT_FILES]\r\nfile0=b.clf\r\nFILE1=a.clf\r\n\r\n"
              "[MODEL_PATH]\r\nPATH0=/m\r\n");
}

TEST(ProfileFile, ReplacingASectionDropsOnlyItsEntries) {
    test::TempDir dir;
    const std::string ini = dir.file("Dialog.ini");
    writeText(ini,
              "[TEXTURE_PATH]\nPATH0=/a\n; note\nPATH1=/b\nPATH2=/c\n[RECENT_FILES]\nFILE0=x\n");
    ASSERT_TRUE(writeProfileSection(ini, "texture_path", {"PATH0=/z"}));
    EXPECT_EQ(readText(ini), "[TEXTURE_PATH]\nPATH0=/z\n; note\n[RECENT_FILES]\nFILE0=x\n");
    EXPECT_EQ(readProfileSection(ini, "TEXTURE_PATH"), std::vector<std::string>{"PATH0=/z"});
    ASSERT_TRUE(writeProfileSection(ini, "MODEL_PATH", {"PATH0=/m", "PATH1=/n"}));
    EXPECT_EQ(readProfileString(ini, "MODEL_PATH", "PATH1", "$"), "/n");
    EXPECT_EQ(readProfileString(ini, "RECENT_FILES", "FILE0", "$"), "x");
}

TEST(ProfileFile, AFailedWriteLeavesTheFileAsItWas) {
    test::TempDir dir;
    // A settings path whose directory does not exist cannot be written.
    EXPECT_FALSE(writeProfileString(dir.file("none/Dialog.ini"), "S", "K", "V"));
}

}  // namespace
}  // namespace slipway
