// Meshview's editing panel without widgets: list rows, slider, select mode and picks, the
// editing commands and both rescalings with their validation.

#include <gtest/gtest.h>

#include "MeshviewFixtures.h"
#include "SceneHarness.h"
#include "engine/ModelEditing.h"
#include "meshview/EditPanel.h"

namespace slipway {
namespace {

using test::SceneHarness;

class EditPanelTest : public ::testing::Test {
  protected:
    // Reads a model and hands its notification to the panel, as the window does.
    int read(const ClfModel& model) {
        const int slot = h_.clf(writeClf(model));
        panel_.modelRead(h_.scene, h_.listener.loads.back());
        return slot;
    }
    std::vector<std::string> rowNames() {
        std::vector<std::string> names;
        for (const ObjectRow& row : panel_.rows())
            names.push_back(row.name);
        return names;
    }
    const MeshPart& mesh(int slot, int index) {
        return h_.scene.object(slot)->meshes()[static_cast<std::size_t>(index)];
    }

    SceneHarness h_{kMeshviewRules};
    EditPanel panel_;
};

TEST_F(EditPanelTest, StartsWithTheFieldsOfAnEmptyWindow) {
    EXPECT_TRUE(panel_.rows().empty());
    EXPECT_EQ(panel_.sliderMax(), 10);
    EXPECT_EQ(panel_.keyText(), "0");
    EXPECT_EQ(panel_.heightText(), "0");
    EXPECT_EQ(panel_.kfText(), "1");
    EXPECT_EQ(panel_.selectedMesh(), -1);
    EXPECT_FALSE(panel_.editingEnabled());
}

TEST_F(EditPanelTest, AReadListsItsMeshesFirstAndSetsSliderAndHeight) {
    read(test::threeSquares(2.0f, 4));
    EXPECT_EQ(rowNames(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(panel_.sliderMax(), 3);
    EXPECT_EQ(panel_.sliderPosition(), 0);
    EXPECT_EQ(panel_.heightText(), "2");
    EXPECT_EQ(panel_.oldHeight(), 2.0f);

    // A second object's rows come before the first one's; no keys give the range 0 to 0.
    ClfModel other = test::threeSquares();
    other.levels[0].resize(2);
    other.levels[0][0].name = "x";
    other.levels[0][1].name = "y";
    read(other);
    EXPECT_EQ(rowNames(), (std::vector<std::string>{"x", "y", "a", "b", "c"}));
    EXPECT_EQ(panel_.rows()[2], (ObjectRow{0, 0, "a"}));
    EXPECT_EQ(panel_.sliderMax(), 0);

    panel_.sceneCleared();
    EXPECT_TRUE(panel_.rows().empty());
    EXPECT_EQ(panel_.heightText(), "2");  // the fields keep their values
}

TEST_F(EditPanelTest, SelectModePicksAndReleases) {
    read(test::threeSquares());
    read(test::threeSquares());
    panel_.setSelectMode(h_.scene, true);
    EXPECT_TRUE(panel_.selectMode());
    EXPECT_EQ(currentObject(h_.scene), h_.scene.object(0));
    EXPECT_FALSE(h_.scene.object(1)->visible);
    EXPECT_FALSE(panel_.editingEnabled());  // until a mesh is picked

    ASSERT_TRUE(panel_.pick(h_.scene, mesh(0, 1).fillColor));
    EXPECT_EQ(panel_.selectedMesh(), 1);
    EXPECT_EQ(panel_.pickedName(), "b");
    EXPECT_EQ(mesh(0, 1).mark, kMarkPicked);
    EXPECT_TRUE(panel_.editingEnabled());

    // The background: the red mesh goes, the controls stay enabled but do nothing.
    EXPECT_FALSE(panel_.pick(h_.scene, 0));
    EXPECT_EQ(mesh(0, 1).mark, kMarkNone);
    EXPECT_EQ(panel_.selectedMesh(), -1);
    EXPECT_TRUE(panel_.editingEnabled());
    panel_.flipNormals(h_.scene);
    EXPECT_TRUE(mesh(0, 1).doubleSided);
    EXPECT_EQ(panel_.rename(h_.scene, "ignored"), -1);

    // A mesh of the second object cannot be picked: only the first is shown.
    EXPECT_FALSE(panel_.pick(h_.scene, mesh(1, 0).fillColor));

    ASSERT_TRUE(panel_.pick(h_.scene, mesh(0, 2).fillColor));
    panel_.setSelectMode(h_.scene, false);
    EXPECT_EQ(mesh(0, 2).mark, kMarkNone);
    EXPECT_EQ(panel_.selectedMesh(), -1);
    EXPECT_FALSE(panel_.editingEnabled());
    EXPECT_EQ(currentObject(h_.scene), nullptr);
    EXPECT_TRUE(h_.scene.object(1)->visible);
}

TEST_F(EditPanelTest, ButtonsActOnThePickedMeshAndTwiceRestores) {
    read(test::threeSquares());
    panel_.setSelectMode(h_.scene, true);
    const std::vector<std::uint16_t> indices = mesh(0, 0).indices;
    ASSERT_TRUE(panel_.pickIndex(h_.scene, 0));
    panel_.flipNormals(h_.scene);
    panel_.changeDoubleSide(h_.scene);
    EXPECT_FALSE(mesh(0, 0).doubleSided);
    EXPECT_NE(mesh(0, 0).indices, indices);
    panel_.flipNormals(h_.scene);
    panel_.changeDoubleSide(h_.scene);
    EXPECT_TRUE(mesh(0, 0).doubleSided);
    EXPECT_EQ(mesh(0, 0).indices, indices);
    EXPECT_FALSE(panel_.pickIndex(h_.scene, 3));
}

TEST_F(EditPanelTest, RenameChangesTheMeshAndItsOwnRow) {
    read(test::threeSquares());
    ClfModel other = test::threeSquares();
    other.levels[0][1].name = "other b";
    read(other);
    panel_.setSelectMode(h_.scene, true);
    ASSERT_TRUE(panel_.pick(h_.scene, mesh(0, 1).fillColor));
    // The edited object is slot 0, whose rows stand after the later object's three.
    EXPECT_EQ(panel_.rename(h_.scene, "mainmast"), 4);
    EXPECT_EQ(mesh(0, 1).name, "mainmast");
    EXPECT_EQ(panel_.rows()[4].name, "mainmast");
    EXPECT_EQ(panel_.rows()[1].name, "other b");
    EXPECT_EQ(panel_.rename(h_.scene, ""), -1);
    EXPECT_EQ(mesh(0, 1).name, "mainmast");
    EXPECT_EQ(panel_.rename(h_.scene, std::string(80, 'q')), 4);
    EXPECT_EQ(panel_.rows()[4].name, std::string(63, 'q'));
}

TEST_F(EditPanelTest, TheSliderPosesSlotZeroAndAlwaysShowsTheNumber) {
    read(test::threeSquares(1.0f, 3));
    panel_.showKey(h_.scene, 2);
    EXPECT_EQ(panel_.keyText(), "2");
    EXPECT_EQ(mesh(0, 0).vertices[0].y, 2.0f);
    panel_.showKey(h_.scene, 7);  // no such key: nothing moves
    EXPECT_EQ(panel_.keyText(), "7");
    EXPECT_EQ(mesh(0, 0).vertices[0].y, 2.0f);
}

TEST_F(EditPanelTest, ValueFieldsAreReadTogetherHeightFirst) {
    struct Case {
        const char* height;
        const char* kf;
        ValueCheck::Field refused;
        const char* message;
    };
    const Case cases[] = {
        {"2", "1", ValueCheck::None, ""},
        {" 4.5 ", "0.000000001", ValueCheck::None, ""},
        {"9000", "9000", ValueCheck::None, ""},
        {"tall", "x", ValueCheck::Height, kEnterANumberText},
        {"", "1", ValueCheck::Height, kEnterANumberText},
        {"4m", "1", ValueCheck::Height, kEnterANumberText},
        {"0", "1", ValueCheck::Height, kHeightRangeText},
        {"9000.5", "1", ValueCheck::Height, kHeightRangeText},
        {"-1", "-1", ValueCheck::Height, kHeightRangeText},
        {"1", "0", ValueCheck::Kf, kKfRangeText},
        {"1", "1e4", ValueCheck::Kf, kKfRangeText},
        {"1", "big", ValueCheck::Kf, kEnterANumberText},
    };
    for (const Case& c : cases) {
        EditPanel panel;
        const ValueCheck check = panel.readValues(c.height, c.kf);
        EXPECT_EQ(check.field, c.refused) << c.height << " / " << c.kf;
        EXPECT_EQ(check.message, c.message) << c.height << " / " << c.kf;
        // A refused reading takes neither value.
        EXPECT_EQ(panel.heightValue(), check.ok() ? check.height : 0.0f);
        EXPECT_EQ(panel.kfValue(), check.ok() ? check.kf : 1.0f);
    }
}

TEST_F(EditPanelTest, ResizeToAHeightScalesByTheRatioAndShowsIt) {
    read(test::threeSquares(2.0f));
    ASSERT_TRUE(panel_.resizeToHeight(h_.scene, 4.0f));
    EXPECT_EQ(h_.scene.object(0)->boundsSize.x, 20.0f);
    EXPECT_EQ(panel_.heightText(), "4");
    EXPECT_EQ(panel_.kfText(), "2");
    EXPECT_EQ(panel_.oldHeight(), 4.0f);
    // The next resize divides by the new height.
    ASSERT_TRUE(panel_.resizeToHeight(h_.scene, 1.0f));
    EXPECT_EQ(h_.scene.object(0)->boundsSize.y, 1.0f);
    EXPECT_EQ(panel_.kfText(), "0.25");
}

TEST_F(EditPanelTest, ResizeByAFactorScalesAgainEachTime) {
    read(test::threeSquares(2.0f));
    ASSERT_TRUE(panel_.resizeByFactor(h_.scene, 0.5f));
    ASSERT_TRUE(panel_.resizeByFactor(h_.scene, 0.5f));
    EXPECT_EQ(h_.scene.object(0)->boundsSize.y, 0.5f);
    EXPECT_EQ(panel_.heightText(), "0.5");
    EXPECT_EQ(panel_.kfText(), "0.5");
}

TEST_F(EditPanelTest, AModelWithoutHeightIsNotResizedToOne) {
    ClfModel flat = test::threeSquares();
    for (ClfObject& o : flat.levels[0]) {
        for (ClfVertex& v : o.vertices)
            v.y = 0;
    }
    read(flat);
    const std::vector<RenderVertex> before = mesh(0, 0).vertices;
    EXPECT_FALSE(panel_.resizeToHeight(h_.scene, 3.0f));
    EXPECT_EQ(mesh(0, 0).vertices, before);
    EXPECT_EQ(panel_.kfText(), "1");
    // Scaling by a factor still works.
    EXPECT_TRUE(panel_.resizeByFactor(h_.scene, 2.0f));

    // An empty scene has no height: 0, and nothing to scale.
    EditPanel empty;
    SceneHarness none(kMeshviewRules);
    EXPECT_FALSE(empty.resizeToHeight(none.scene, 3.0f));
    EXPECT_FALSE(empty.resizeByFactor(none.scene, 3.0f));
}

}  // namespace
}  // namespace slipway
