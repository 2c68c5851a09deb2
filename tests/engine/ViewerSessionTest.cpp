// The viewer session: the one open sequence (open, recent entries, clear), the resize on disk,
// and the rules it hands to everything it owns.

#include <cmath>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/FileIo.h"
#include "base/ProfileFile.h"
#include "engine/ViewerSession.h"

namespace slipway {
namespace {

// A CLF square of edge `edge` in the XY plane, from the origin; its size is edge·√2.
std::vector<std::uint8_t> squareClf(float edge, const std::string& texture = "") {
    ClfModel model = test::clfSquare();
    for (ClfVertex& v : model.levels[0][0].vertices) {
        v.x *= edge;
        v.y *= edge;
    }
    if (!texture.empty())
        model.textureNames = {texture};
    return writeClf(model);
}

class ViewerSessionTest : public ::testing::Test {
  protected:
    ViewerSessionTest() { session_.setPrompt(&prompt_); }
    explicit ViewerSessionTest(const ViewerRules& rules) : session_(rules, dir_.path(), clock_) {
        session_.setPrompt(&prompt_);
    }

    std::string put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        test::writeBytes(dir_.file(name), bytes);
        return dir_.file(name);
    }
    std::string ini(const char* section, const char* key) {
        return readProfileString(dir_.file("Dialog.ini"), section, key, "<none>");
    }

    test::TempDir dir_;
    FakeClock clock_;
    ScriptedPrompt prompt_;
    ViewerSession session_{kShipviewRules, dir_.path(), clock_};
};

TEST_F(ViewerSessionTest, OpenReadsRemembersNamesAndAimsInOneSequence) {
    const std::string path = put("Deck.clf", squareClf(2, "wood.tga"));
    test::writeBytes(dir_.file("wood.tga"), test::tgaFile(1, 1, 24, {0, 0, 0}));
    const OpenResult result = session_.open(ModelFileKind::Clf, path);

    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.modelsRead, 1);
    EXPECT_EQ(result.levels, 1);
    EXPECT_EQ(result.messages, 0);
    EXPECT_EQ(result.caption, "Kelvo : Deck.clf");
    EXPECT_EQ(result.ambient, kAmbientTextured);
    EXPECT_TRUE(result.recentChanged);
    EXPECT_EQ(result.statistics.vertices, 4u);
    EXPECT_EQ(result.statistics.triangles, 2u);
    EXPECT_NEAR(session_.openedSize(), 2 * std::sqrt(2.0f), 1e-5);
    EXPECT_EQ(session_.currentPath(), path);
    EXPECT_EQ(session_.currentKind(), ModelFileKind::Clf);
    EXPECT_EQ(ini("RECENT_FILES", "FILE0"), path);
    EXPECT_EQ(ini("RECENT_OPENED_DIRECTORY", "DIRECTORY"), dir_.path() + "/");
    // The camera looks at the square's middle from 40 times its width.
    EXPECT_FLOAT_EQ(session_.camera().world[12], -1.0f);
    EXPECT_FLOAT_EQ(session_.camera().world[14], 80.0f);

    // A second open clears what the first one read, textures included.
    const OpenResult bare = session_.open(ModelFileKind::Clf, put("Bare.clf", squareClf(1)));
    EXPECT_EQ(session_.scene().objectCount(), 1);
    EXPECT_EQ(session_.textures().textureCount(), 0);
    EXPECT_EQ(bare.ambient, kAmbientUntextured);
    EXPECT_EQ(ini("RECENT_FILES", "FILE0"), dir_.file("Bare.clf"));
    EXPECT_EQ(ini("RECENT_FILES", "FILE1"), path);
}

TEST_F(ViewerSessionTest, OpenThatReadsNothingStillFinishesAndCountsTheMessages) {
    const OpenResult result = session_.open(ModelFileKind::Clf, dir_.file("gone.clf"));
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.modelsRead, 0);
    EXPECT_EQ(result.messages, 1);
    EXPECT_EQ(prompt_.texts(),
              std::vector<std::string>{"Can't open Model File\n" + dir_.file("gone.clf")});
    EXPECT_EQ(result.caption, "Kelvo : gone.clf");
    EXPECT_EQ(ini("RECENT_FILES", "FILE0"), dir_.file("gone.clf"));
}

TEST_F(ViewerSessionTest, KeepingTheRecentListLeavesDialogIniAlone) {
    session_.open(ModelFileKind::Clf, put("Deck.clf", squareClf(1)), RecentList::Keep);
    EXPECT_EQ(session_.scene().objectCount(), 1);
    EXPECT_FALSE(fileExists(dir_.file("Dialog.ini")));
}

TEST_F(ViewerSessionTest, RecentEntriesOpenByTheirEndingWithoutChangingTheList) {
    const std::string upper = put("Deck.CLF", squareClf(1));
    writeProfileString(dir_.file("Dialog.ini"), "RECENT_FILES", "FILE0", upper);
    writeProfileString(dir_.file("Dialog.ini"), "RECENT_FILES", "FILE1", dir_.file("notes.txt"));
    writeProfileString(dir_.file("Dialog.ini"), "RECENT_FILES", "FILE2", dir_.file("noending"));
    const std::vector<std::uint8_t> before = test::readBytes(dir_.file("Dialog.ini"));

    OpenResult result = session_.openRecent(0);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.modelsRead, 1);
    EXPECT_FALSE(result.recentChanged);
    EXPECT_EQ(result.caption, "Kelvo : Deck.CLF");

    // Another ending reads nothing and keeps the kind, but the caption still follows it.
    session_.open(ModelFileKind::Cff, dir_.file("x.cff"), RecentList::Keep);
    result = session_.openRecent(1);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(session_.scene().objectCount(), 0);
    EXPECT_EQ(result.caption, "Kelvo : notes.txt");
    EXPECT_EQ(session_.currentKind(), ModelFileKind::Cff);

    // No ending, a missing entry and an index out of range stop after (or before) clearing.
    for (int index : {2, 3, 4, -1}) {
        session_.open(ModelFileKind::Clf, upper, RecentList::Keep);
        result = session_.openRecent(index);
        EXPECT_FALSE(result.finished) << index;
        EXPECT_EQ(session_.scene().objectCount(), index < 4 && index >= 0 ? 0 : 1) << index;
    }
    EXPECT_EQ(test::readBytes(dir_.file("Dialog.ini")), before);
}

TEST_F(ViewerSessionTest, ResizeRescalesTheOpenFileByTheRatioAndReadsItAgain) {
    struct Case {
        float size;
        ResizeResult::Outcome outcome;
        float edgeAfter;  // of the square read again (or still shown)
    };
    const float size = 2 * std::sqrt(2.0f);
    const Case cases[] = {
        {2 * size, ResizeResult::Rescaled, 4.0f},
        {size / 2, ResizeResult::Rescaled, 1.0f},
        {size + 0.000001f, ResizeResult::Unchanged, 2.0f},
        {0.009f, ResizeResult::Refused, 2.0f},
        {100.5f, ResizeResult::Refused, 2.0f},
        {NAN, ResizeResult::Refused, 2.0f},
    };
    for (const Case& c : cases) {
        const std::string path = put("Deck.clf", squareClf(2));
        session_.open(ModelFileKind::Clf, path);
        const ResizeResult result = session_.resize(c.size);
        EXPECT_EQ(result.outcome, c.outcome) << c.size;
        ASSERT_EQ(session_.scene().objectCount(), 1) << c.size;
        EXPECT_NEAR(session_.scene().object(0)->boundsSize.x, c.edgeAfter, 1e-5) << c.size;
        if (c.outcome == ResizeResult::Rescaled) {
            EXPECT_TRUE(result.filesRewritten);
            EXPECT_NEAR(result.ratio, c.edgeAfter / 2, 1e-5);
            EXPECT_EQ(result.modelsRead, 1);
            EXPECT_NEAR(session_.openedSize(), c.size, 1e-4);
        } else {
            EXPECT_EQ(test::readBytes(path), squareClf(2)) << c.size;
        }
        if (c.outcome == ResizeResult::Refused) {
            EXPECT_EQ(result.message, kSizeRangeText);
        }
    }
}

TEST_F(ViewerSessionTest, ResizeKeepsTexturesCaptionAndRecentList) {
    const std::string path = put("Deck.clf", squareClf(2, "wood.tga"));
    test::writeBytes(dir_.file("wood.tga"), test::tgaFile(1, 1, 24, {0, 0, 0}));
    session_.open(ModelFileKind::Clf, path);
    const std::uint64_t textures = session_.textures().revision();
    const std::vector<std::uint8_t> ini = test::readBytes(dir_.file("Dialog.ini"));
    const ResizeResult result = session_.resize(1.0f);
    EXPECT_EQ(result.outcome, ResizeResult::Rescaled);
    EXPECT_EQ(session_.textures().revision(), textures);
    EXPECT_EQ(test::readBytes(dir_.file("Dialog.ini")), ini);
}

TEST_F(ViewerSessionTest, NothingToScaleFromIsNeverRescaled) {
    // Nothing open yet.
    EXPECT_EQ(session_.resize(1.0f).outcome, ResizeResult::Refused);
    // A model without extent: a ratio against size 0 would write infinities into the file.
    ClfModel flat = test::clfSquare();
    for (ClfVertex& v : flat.levels[0][0].vertices)
        v = test::clfVertex(0, 0, 0);
    const std::string path = put("Point.clf", writeClf(flat));
    session_.open(ModelFileKind::Clf, path);
    EXPECT_EQ(session_.resize(5.0f).outcome, ResizeResult::Unchanged);
    EXPECT_EQ(test::readBytes(path), writeClf(flat));
}

class MeshviewSessionTest : public ViewerSessionTest {
  protected:
    MeshviewSessionTest() : ViewerSessionTest(kMeshviewRules) {}
};

TEST_F(MeshviewSessionTest, TheRulesReachTheTablesTheReadersAndTheCamera) {
    EXPECT_EQ(session_.scene().capacity(), 64);
    EXPECT_EQ(session_.textures().capacity(), 1024);
    RecordingSceneListener listener;
    session_.setListener(&listener);
    ClfModel model = test::clfSquare("hull");
    model.levels.push_back({test::clfCube()});
    const OpenResult result = session_.open(ModelFileKind::Clf, put("Boat.clf", writeClf(model)));
    EXPECT_EQ(result.levels, 1);  // one level read, whatever the file holds
    EXPECT_EQ(listener.loads, (std::vector<ModelRead>{{0, 1, 1}}));
    const SceneObject& object = *session_.scene().object(0);
    EXPECT_EQ(object.fileName, "Boat");
    EXPECT_EQ(object.meshes()[0].name, "hull");

    // The camera stands in front of the square, twice its height back, turned half round.
    const Matrix4& view = session_.camera().world;
    const Matrix4 turn = rotationY(3.1415f);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            EXPECT_FLOAT_EQ(view[4 * row + col], turn[4 * col + row]);
    }
    const Vec3 p{0.5f, 0.5f, 2.0f};
    for (int row = 0; row < 3; ++row) {
        EXPECT_NEAR(view[12 + row], -dot(Vec3{turn[4 * row], turn[4 * row + 1], turn[4 * row + 2]}, p),
                    1e-6);
    }
}

TEST_F(MeshviewSessionTest, AReadMakesTheMarkingTexturesAfterTheFillTextures) {
    session_.open(ModelFileKind::Clf, put("Boat.clf", squareClf(1.0f)));
    const TextureStore& store = session_.textures();
    const std::uint32_t fill = session_.scene().object(0)->meshes()[0].fillTexture;
    EXPECT_EQ(fill, 0u);
    EXPECT_EQ(store.markingTexture(1), 1);
    EXPECT_EQ(store.markingTexture(2), 2);
    EXPECT_EQ(store.entry(1)->pixel(0, 0), 0xF800);

    // An open that reads nothing leaves the store empty: no marking textures, grey light.
    const OpenResult result = session_.open(ModelFileKind::Clf, dir_.file("missing.clf"));
    EXPECT_EQ(store.textureCount(), 0);
    EXPECT_EQ(store.markingTexture(1), -1);
    EXPECT_EQ(result.ambient, kAmbientUntextured);
}

}  // namespace
}  // namespace slipway
