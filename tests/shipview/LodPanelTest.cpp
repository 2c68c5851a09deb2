// The level-of-detail panel's counting, level switching and resize decisions.

#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "shipview/LodPanel.h"

namespace slipway {
namespace {

// A model whose level k holds one mesh of `vertices[k]` vertices and `indices[k]` indices,
// spanning a box of edge `edge` at level 0 and half of it at the other levels.
void addModel(Scene& scene, std::vector<int> vertices, std::vector<int> indices, float edge) {
    auto object = std::make_unique<SceneObject>();
    object->kind = ObjectKind::Model;
    for (std::size_t level = 0; level < vertices.size(); ++level) {
        MeshPart part;
        const float e = level == 0 ? edge : edge / 2;
        for (int i = 0; i < vertices[level]; ++i) {
            part.vertices.push_back({i == 0 ? 0.0f : e, i == 0 ? 0.0f : e, i == 0 ? 0.0f : e});
        }
        part.indices.assign(static_cast<std::size_t>(indices[level]), 0);
        object->lodMeshes[level].push_back(std::move(part));
    }
    object->levelCount = static_cast<int>(vertices.size());
    scene.add(std::move(object));
}

TEST(LodPanelTest, LevelsOfferedAreTheLargestCountReadSinceTheLastClearing) {
    Scene scene;
    LodPanel panel;
    EXPECT_EQ(panel.lodCount(), 1);
    EXPECT_FALSE(panel.resizeEnabled());
    addModel(scene, {3, 3}, {3, 3}, 1);
    panel.modelRead(2);
    addModel(scene, {3, 3, 3, 3}, {3, 3, 3, 3}, 1);
    panel.modelRead(4);
    addModel(scene, {3}, {3}, 1);
    panel.modelRead(1);
    panel.openFinished(scene);
    EXPECT_EQ(panel.vertexTotal(), 9u);
    EXPECT_EQ(panel.lodCount(), 4);
    EXPECT_TRUE(panel.levelEnabled(4));
    EXPECT_TRUE(panel.resizeEnabled());

    panel.selectLevel(3, scene);
    panel.sceneCleared();
    // Nothing read since: finishing measures nothing.
    panel.openFinished(scene);
    EXPECT_EQ(panel.lodCount(), 1);
    EXPECT_EQ(panel.selectedLevel(), 1);
    EXPECT_FALSE(panel.levelEnabled(2));
    EXPECT_FALSE(panel.resizeEnabled());
    EXPECT_EQ(panel.vertexTotal(), 0u);
    EXPECT_EQ(panel.triangleTotal(), 0u);
}

TEST(LodPanelTest, SwitchingLevelsRecountsButKeepsTheLevelOneSize) {
    Scene scene;
    LodPanel panel;
    addModel(scene, {4, 3}, {7, 3}, 2.0f);  // 7 indices count as 2 triangles
    addModel(scene, {5}, {6}, 2.0f);        // has no level 2: keeps its level 1
    panel.modelRead(2);
    panel.openFinished(scene);
    EXPECT_EQ(panel.verticesText(), "9");
    EXPECT_EQ(panel.trianglesText(), "4");
    EXPECT_NEAR(panel.sizeValue(), 3.4641f, 1e-4);

    panel.selectLevel(2, scene);
    EXPECT_EQ(panel.vertexTotal(), 8u);
    EXPECT_EQ(panel.triangleTotal(), 3u);
    EXPECT_NEAR(panel.sizeValue(), 3.4641f, 1e-4);

    panel.selectLevel(1, scene);
    EXPECT_EQ(panel.vertexTotal(), 9u);
    EXPECT_EQ(panel.triangleTotal(), 4u);
}

TEST(LodPanelTest, ResizeReadsTheTypedSizeAndTheCounts) {
    struct Case {
        const char* size;
        const char* vertices;
        ResizeDecision::Outcome outcome;
        const char* message;
        float newSize;
    };
    const Case cases[] = {
        {"4", "2", ResizeDecision::Accepted, "", 4.0f},
        {" 1 ", "2", ResizeDecision::Accepted, "", 1.0f},
        {"0.01", "2", ResizeDecision::Accepted, "", 0.01f},
        {"100", "2", ResizeDecision::Accepted, "", 100.0f},
        {"0", "2", ResizeDecision::Refused, kSizeRangeText, 2.0f},
        {"101", "2", ResizeDecision::Refused, kSizeRangeText, 2.0f},
        {"abc", "2", ResizeDecision::Refused, kNotANumberText, 2.0f},
        {"3x", "2", ResizeDecision::Refused, kNotANumberText, 2.0f},
        {"", "2", ResizeDecision::Refused, kNotANumberText, 2.0f},
        {"nan", "2", ResizeDecision::Refused, kNotANumberText, 2.0f},
        {"4", "two", ResizeDecision::Refused, kNotAnIntegerText, 2.0f},
    };
    for (const Case& c : cases) {
        Scene scene;
        addModel(scene, {2}, {3}, 2.0f / std::sqrt(3.0f));  // diagonal 2
        LodPanel panel;
        panel.modelRead(1);
        panel.openFinished(scene);
        const ResizeDecision d = panel.checkResize(c.size, c.vertices, "1");
        EXPECT_EQ(d.outcome, c.outcome) << c.size;
        EXPECT_EQ(d.message, c.message) << c.size;
        // An accepted size becomes the field's value; a refused one leaves the value shown.
        EXPECT_NEAR(panel.sizeValue(), c.newSize, 1e-5) << c.size;
    }
}

}  // namespace
}  // namespace slipway
