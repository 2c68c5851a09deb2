#include "engine/SearchPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "TestFiles.h"
#include "base/ProfileFile.h"

namespace slipway {
namespace {

using test::TempDir;
using test::writeText;

class SearchPathsTest : public ::testing::Test {
protected:
    SearchPathsTest() : paths(base.path()) {
        std::filesystem::create_directory(base.file("models"));
        std::filesystem::create_directory(base.file("more"));
        std::filesystem::create_directory(base.file("textures"));
        std::filesystem::create_directory(base.file("ship"));
    }

    void setList(const char* section, const std::vector<std::string>& dirs) {
        ASSERT_TRUE(paths.writeDirectoryList(section, dirs));
    }
    std::string ini(const char* section, const std::string& key) {
        return readProfileString(paths.settingsPath(), section, key, "$");
    }

    TempDir base;
    SearchPaths paths;
    ScriptedPrompt prompt;
};

TEST_F(SearchPathsTest, SettingsFileLiesInTheBaseDirectory) {
    EXPECT_EQ(paths.settingsPath(), base.path() + "/Dialog.ini");
    EXPECT_EQ(paths.baseDirectory(), base.path());
}

TEST_F(SearchPathsTest, FirstRecentFileReadCreatesAnEmptySettingsFile) {
    std::string path = "unchanged";
    EXPECT_FALSE(paths.getRecentFile(0, path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_TRUE(std::filesystem::exists(paths.settingsPath()));
    EXPECT_EQ(std::filesystem::file_size(paths.settingsPath()), 0u);
}

TEST_F(SearchPathsTest, RecentFilesShiftDownAndKeepDuplicates) {
    for (const char* p : {"A", "B", "C", "D", "E"}) paths.addRecentFile(p);
    std::string got;
    const char* expected[] = {"E", "D", "C", "B"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(paths.getRecentFile(i, got));
        EXPECT_EQ(got, expected[i]);
    }
    EXPECT_EQ(ini("RECENT_FILES", "FILE4"), "$");

    TempDir other;
    SearchPaths fresh(other.path());
    fresh.addRecentFile("A");
    fresh.addRecentFile("A");
    ASSERT_TRUE(fresh.getRecentFile(1, got));
    EXPECT_EQ(got, "A");
    EXPECT_FALSE(fresh.getRecentFile(2, got));
}

TEST_F(SearchPathsTest, DollarValuesCountAsAbsent) {
    writeText(paths.settingsPath(), "[RECENT_FILES]\nFILE0=$x\n[RECENT_OPENED_DIRECTORY]\n");
    std::string got;
    EXPECT_FALSE(paths.getRecentFile(0, got));
    EXPECT_FALSE(paths.getRecentDirectory(got));
    paths.setRecentDirectory("/ships/");
    ASSERT_TRUE(paths.getRecentDirectory(got));
    EXPECT_EQ(got, "/ships/");
    // A present FILE0 followed by an absent FILE1: adding stops at the absent slot.
    paths.addRecentFile("N");
    EXPECT_EQ(ini("RECENT_FILES", "FILE0"), "N");
    EXPECT_EQ(ini("RECENT_FILES", "FILE1"), "$");
}

TEST_F(SearchPathsTest, FindModelPrefersTheFirstDirectoryThenTheListThenTheBase) {
    writeText(base.file("ship/hull.clf"), "x");
    writeText(base.file("models/hull.clf"), "x");
    writeText(base.file("models/mast.cff"), "x");
    writeText(base.file("base.clf"), "x");
    setList(kModelPathSection, {base.file("more"), base.file("models")});

    const std::string shipDir = base.file("ship/");
    std::string name = "hull.clf";
    ASSERT_TRUE(paths.findModel(name, &shipDir, prompt));
    EXPECT_EQ(name, base.file("ship/hull.clf"));

    name = "mast.cff";
    ASSERT_TRUE(paths.findModel(name, &shipDir, prompt));
    EXPECT_EQ(name, base.file("models/mast.cff"));

    name = "base.clf";
    ASSERT_TRUE(paths.findModel(name, nullptr, prompt));
    EXPECT_EQ(name, base.file("base.clf"));
    EXPECT_TRUE(prompt.texts().empty());
}

TEST_F(SearchPathsTest, MissingModelsAreAlwaysReportedAndLeaveTheNameUnchanged) {
    std::string name = "gone.clf";
    EXPECT_FALSE(paths.findModel(name, nullptr, prompt));
    EXPECT_FALSE(paths.findModel(name, nullptr, prompt));
    EXPECT_EQ(name, "gone.clf");
    EXPECT_EQ(prompt.texts(),
              (std::vector<std::string>{"Can't Find Model: gone.clf", "Can't Find Model: gone.clf"}));
    EXPECT_EQ(prompt.shown()[0].buttons, PromptButtons::Ok);
}

TEST_F(SearchPathsTest, DirectoryListsEndAtTheFirstGapAndAfterTwentyEntries) {
    writeText(base.file("more/a.clf"), "x");
    writeText(paths.settingsPath(), "[MODEL_PATH]\nPATH0=" + base.file("models") + "\nPATH1=" +
                                        base.file("textures") + "\nPATH3=" + base.file("more") +
                                        "\n");
    std::string name = "a.clf";
    EXPECT_FALSE(paths.findModel(name, nullptr, prompt));

    std::vector<std::string> dirs(25, base.file("models"));
    dirs[20] = base.file("more");
    setList(kModelPathSection, dirs);
    EXPECT_FALSE(paths.findModel(name, nullptr, prompt));
    dirs[19] = base.file("more");
    setList(kModelPathSection, dirs);
    EXPECT_TRUE(paths.findModel(name, nullptr, prompt));
}

TEST_F(SearchPathsTest, TexturesAreTriedAsTfInSearchDirectoriesOnly) {
    writeText(base.file("textures/x.tf"), "x");
    writeText(base.file("y.tf"), "x");
    setList(kTexturePathSection, {base.file("textures")});
    int warn = 1;
    std::string name = "x.tga";
    ASSERT_TRUE(paths.findTexture(name, warn, prompt));
    EXPECT_EQ(name, base.file("textures/x.tf"));

    name = "y.tga";
    EXPECT_FALSE(paths.findTexture(name, warn, prompt));
    EXPECT_EQ(name, "y.tga");
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Can't Find Texture: y.tga"});
    EXPECT_EQ(prompt.shown()[0].buttons, PromptButtons::OkCancel);
}

TEST_F(SearchPathsTest, NearbyFoldersAreTriedOnlyAfterTheListedOnes) {
    writeText(base.file("textures/both.tga"), "x");
    writeText(base.file("ship/both.tga"), "x");
    writeText(base.file("ship/side.tf"), "x");
    writeText(base.file("models/own.tga"), "x");
    setList(kTexturePathSection, {base.file("textures")});
    const std::string ship = base.file("ship"), models = base.file("models") + "/";
    int warn = 1;
    struct Case {
        const char* name;
        std::string found;
    };
    const Case cases[] = {
        {"both.tga", base.file("textures/both.tga")},  // the list still comes first
        {"side.tga", base.file("ship/side.tf")},       // tried as .tf there too
        {"own.tga", base.file("models/own.tga")},
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        ASSERT_TRUE(paths.findTexture(name, warn, prompt, {models, "", ship})) << c.name;
        EXPECT_EQ(name, c.found);
    }
    std::string name = "none.tga";
    EXPECT_FALSE(paths.findTexture(name, warn, prompt, {models, ship}));
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Can't Find Texture: none.tga"});
}

TEST_F(SearchPathsTest, CancelOnAMissingTextureSilencesTheRest) {
    int warn = 1;
    prompt.plan(PromptAnswer::Cancel);
    std::string a = "a.tga", b = "b.tga";
    EXPECT_FALSE(paths.findTexture(a, warn, prompt));
    EXPECT_EQ(warn, 0);
    EXPECT_FALSE(paths.findTexture(b, warn, prompt));
    EXPECT_EQ(prompt.texts().size(), 1u);
    warn = 1;  // the next open command sets the flag again
    EXPECT_FALSE(paths.findTexture(b, warn, prompt));
    EXPECT_EQ(prompt.texts().size(), 2u);
}

TEST_F(SearchPathsTest, NamesFromCaseInsensitiveSystemsAreFound) {
    writeText(base.file("textures/Karav_Flag.TGA"), "x");
    setList(kTexturePathSection, {base.file("textures")});
    int warn = 1;
    std::string name = "karav_flag.tga";
    ASSERT_TRUE(paths.findTexture(name, warn, prompt));
    EXPECT_EQ(name, base.file("textures/Karav_Flag.TGA"));

    writeText(base.file("ship/Hull.CLF"), "x");
    const std::string shipDir = base.file("ship/");
    name = "sub\\..\\hull.clf";
    std::filesystem::create_directory(base.file("ship/sub"));
    ASSERT_TRUE(paths.findModel(name, &shipDir, prompt));
}

TEST_F(SearchPathsTest, OverlongCandidatesAreSimplyNotFound) {
    const std::string longName(300, 'n');
    std::string name = longName;
    int warn = 0;
    EXPECT_FALSE(paths.findTexture(name, warn, prompt));
    EXPECT_FALSE(paths.findModel(name, nullptr, prompt));
    EXPECT_EQ(name, longName);
}

TEST_F(SearchPathsTest, AnEmptyPathValueSearchesTheRoot) {
    setList(kModelPathSection, {""});
    std::string name = "no-such-model-at-root.clf";
    EXPECT_FALSE(paths.findModel(name, nullptr, prompt));
    EXPECT_EQ(paths.directoryList(kModelPathSection, 20), std::vector<std::string>{""});
}

}  // namespace
}  // namespace slipway
