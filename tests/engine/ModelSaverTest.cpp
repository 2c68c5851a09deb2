// Saving the model editor's models: the file layout and size, the ".clf" path rule, round trips
// through the editor's reader, and the sound behaviour where a save used to go wrong (atomic
// writes with a message on failure, texture names of missing textures, long mesh names, meshes
// with fewer key records than their object).

#include <filesystem>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "SceneHarness.h"
#include "engine/ModelEditing.h"
#include "engine/ModelSaver.h"

namespace slipway {
namespace {

using test::clfTriangle;
using test::clfVertex;
using test::SceneHarness;

ClfObject triangleObject(const std::string& name, std::uint32_t textureNameIndex = 0) {
    ClfObject object;
    object.name = name;
    object.textureNameIndex = textureNameIndex;
    object.vertices = {clfVertex(0, 0, 0), clfVertex(1, 0, 0), clfVertex(0, 1, 0)};
    object.triangles = {clfTriangle(0, 1, 2, 0, 0, 1, 0, 0, 1)};
    return object;
}

ClfModel modelOf(std::vector<ClfObject> objects, std::vector<std::string> textures = {}) {
    ClfModel model;
    model.textureNames = std::move(textures);
    model.levels = {std::move(objects)};
    return model;
}

ClfModel savedModel(SceneHarness& h, int slot = 0) {
    const auto parsed = parseClf(savedModelBytes(*h.scene.object(slot), h.textures));
    EXPECT_TRUE(parsed.has_value());
    return parsed.value_or(ClfModel{});
}

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return le::u32(bytes.data() + offset);
}

TEST(ModelSaver, OneTriangleWithATextureIs564Bytes) {
    SceneHarness h(kMeshviewRules);
    h.put("deck.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    h.clf(writeClf(modelOf({triangleObject("plank")}, {"deck.tga"})));
    const std::vector<std::uint8_t> bytes = savedModelBytes(*h.scene.object(0), h.textures);
    ASSERT_EQ(bytes.size(), 564u);  // 48 + 256 + 144 + 3 × 28 + 32
    EXPECT_EQ(u32At(bytes, 0), 0x10111213u);
    EXPECT_EQ(u32At(bytes, 4), 0x281238u);
    EXPECT_EQ(u32At(bytes, 16), 1u);  // levels
    EXPECT_EQ(u32At(bytes, 20), 1u);  // texture names
    EXPECT_EQ(u32At(bytes, 28), 1u);  // objects
    EXPECT_EQ(u32At(bytes, 36), 0u);  // keys per object
    for (std::size_t offset : {8, 12, 24, 32, 40, 44})
        EXPECT_EQ(u32At(bytes, offset), 0u) << offset;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[48])), "deck.tga");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[304])), "plank");
    // Every vertex record: the position, a zero normal and 0xFFFFFFFF.
    for (std::size_t v = 0; v < 3; ++v) {
        const std::size_t at = 448 + 28 * v;
        EXPECT_EQ(u32At(bytes, at + 12) | u32At(bytes, at + 16) | u32At(bytes, at + 20), 0u);
        EXPECT_EQ(u32At(bytes, at + 24), 0xFFFFFFFFu);
    }
}

TEST(ModelSaver, SizeFollowsTheFormulaAndLeavesOutMeshesWithoutTriangles) {
    ClfModel model = modelOf({triangleObject("one", 0), triangleObject("two", 0),
                              test::clfCube("cube"), triangleObject("hidden", 1)},
                             {"wood.tga", "rope.tga"});
    model.keysPerObject = 3;
    for (ClfObject& object : model.levels[0])
        object.keys.assign(3, KeyRecord{});
    ClfObject empty;
    empty.name = "empty";
    empty.vertices.assign(12, clfVertex(1, 1, 1));
    model.levels[0].insert(model.levels[0].begin() + 1, empty);
    SceneHarness h(kMeshviewRules);
    h.put("wood.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    h.put("rope.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    h.clf(writeClf(model));
    SceneObject& object = *h.scene.object(0);
    object.meshes()[4].hidden = true;  // nothing sets it yet, but it is never saved

    const std::vector<std::uint8_t> bytes = savedModelBytes(object, h.textures);
    std::size_t expected = 48 + 256;  // one name: the hidden mesh's texture is not counted
    for (const MeshPart& part : object.meshes()) {
        if (!part.hidden && part.vertexCount() > 0 && part.indexCount() > 0)
            expected += 144 + 28 * part.vertexCount() + 32 * (part.indexCount() / 3) + 28 * 3;
    }
    EXPECT_EQ(bytes.size(), expected);
    const ClfModel saved = *parseClf(bytes);
    EXPECT_EQ(saved.textureNames, std::vector<std::string>{"wood.tga"});
    ASSERT_EQ(saved.levels[0].size(), 3u);
    EXPECT_EQ(saved.levels[0][0].name, "one");
    EXPECT_EQ(saved.levels[0][1].name, "two");
    EXPECT_EQ(saved.levels[0][2].name, "cube");
    // The cube's split vertices are saved as they are in memory.
    EXPECT_EQ(saved.levels[0][2].vertices.size(), object.meshes()[3].vertexCount());
    for (const ClfObject& o : saved.levels[0]) {
        EXPECT_EQ(o.textureNameIndex, 0u);
        EXPECT_EQ(o.triangles[0].textureIndex, 0u);
    }
}

TEST(ModelSaver, RoundTripThroughTheEditorsReader) {
    ClfModel model =
        modelOf({triangleObject("hull", 1), test::clfCube("cube"), triangleObject("deck", 0)},
                {"deck.tga", "hull.tga"});
    model.version = kClfEditedVersion;
    model.keysPerObject = 2;
    model.levels[0][0].keys = {KeyRecord{0, 1, 0, 0, 0.5f, 0, 9}, KeyRecord{1, 0, 0, 0, 0, 0, 3}};
    model.levels[0][1].keys = {KeyRecord{}, KeyRecord{0, 0, 2, 0.25f, 0, 0, 0}};
    model.levels[0][2].keys = {KeyRecord{}, KeyRecord{}};
    model.levels[0][1].doubleSided = true;
    SceneHarness first(kMeshviewRules);
    first.put("deck.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    first.put("hull.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    first.clf(writeClf(model));
    const std::vector<std::uint8_t> saved = savedModelBytes(*first.scene.object(0), first.textures);

    SceneHarness second(kMeshviewRules);
    second.put("deck.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    second.put("hull.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    ASSERT_EQ(second.clf(saved), 0);
    const SceneObject& a = *first.scene.object(0);
    const SceneObject& b = *second.scene.object(0);
    EXPECT_EQ(b.keyCount, a.keyCount);
    ASSERT_EQ(b.meshCount(), a.meshCount());
    for (std::size_t i = 0; i < a.meshCount(); ++i) {
        const MeshPart& p = a.meshes()[i];
        const MeshPart& q = b.meshes()[i];
        EXPECT_EQ(q.name, p.name);
        EXPECT_EQ(q.doubleSided, p.doubleSided);
        EXPECT_EQ(q.indices, p.indices);  // nothing is split again
        EXPECT_EQ(q.keyTrack.keys, p.keyTrack.keys);
        EXPECT_EQ(first.textures.entry(p.texture)->name, second.textures.entry(q.texture)->name);
        ASSERT_EQ(q.vertexCount(), p.vertexCount());
        for (std::size_t v = 0; v < p.vertexCount(); ++v) {
            EXPECT_EQ(q.vertices[v].x, p.vertices[v].x);
            EXPECT_EQ(q.vertices[v].y, p.vertices[v].y);
            EXPECT_EQ(q.vertices[v].z, p.vertices[v].z);
            EXPECT_EQ(q.vertices[v].u, p.vertices[v].u);
            EXPECT_EQ(q.vertices[v].v, p.vertices[v].v);
            EXPECT_EQ(q.vertices[v].nx, 0.0f);  // saved normals are 0
        }
    }
    // And the same bytes again: saving is stable.
    EXPECT_EQ(savedModelBytes(b, second.textures), saved);
}

TEST(ModelSaver, EditsAndRescalingAreSaved) {
    ClfModel model = modelOf({triangleObject("a"), triangleObject("b")});
    model.keysPerObject = 1;
    model.levels[0][0].keys = {KeyRecord{1, 2, 3, 0.5f, 0.25f, 0.125f, 4}};
    model.levels[0][1].keys = {KeyRecord{}};
    SceneHarness h(kMeshviewRules);
    h.clf(writeClf(model));
    makeCurrent(h.scene, 0);
    ASSERT_TRUE(markMesh(h.scene, 1));
    renameMesh(h.scene, 1, "renamed");
    toggleDoubleSided(h.scene);
    reverseWinding(h.scene);
    ASSERT_TRUE(scaleModel(h.scene, 2.0f));

    const ClfModel saved = savedModel(h);
    const ClfObject& a = saved.levels[0][0];
    const ClfObject& b = saved.levels[0][1];
    EXPECT_EQ(b.name, "renamed");
    EXPECT_TRUE(b.doubleSided);
    EXPECT_EQ(b.triangles[0].b, h.scene.object(0)->meshes()[1].indices[1]);
    EXPECT_EQ(b.triangles[0].c, h.scene.object(0)->meshes()[1].indices[2]);
    EXPECT_EQ((std::vector<std::uint16_t>{b.triangles[0].a, b.triangles[0].b, b.triangles[0].c}),
              (std::vector<std::uint16_t>{0, 2, 1}));
    // Each corner still carries its own texture coordinates.
    EXPECT_EQ(b.triangles[0].u[1], 0.0f);
    EXPECT_EQ(b.triangles[0].v[1], 1.0f);
    // Positions as read times 2 (not the posed, mirrored ones); key translations times 2,
    // angles and the carried value as read.
    EXPECT_EQ(a.vertices[1], (ClfVertex{2, 0, 0, 0, 0, 0, 0xFFFFFFFFu}));
    EXPECT_EQ(a.keys, (std::vector<KeyRecord>{{2, 4, 6, 0.5f, 0.25f, 0.125f, 4}}));
}

TEST(ModelSaver, SharedTexturesAreNamedOnceAndMissingOnesKeepTheirFilesName) {
    // The store holds hull and deck; sail is missing, so its mesh reads texture index 0, which
    // is hull: saving must not retexture it with hull.
    SceneHarness h(kMeshviewRules);
    h.put("Hull.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    h.put("deck.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    h.clf(writeClf(modelOf({triangleObject("a", 0), triangleObject("b", 1), triangleObject("c", 2),
                            triangleObject("d", 0), triangleObject("e", 9)},
                           {"Hull.tga", "textures\\sail.tga", "DECK.TGA"})));
    const auto& parts = h.scene.object(0)->meshes();
    ASSERT_EQ(parts[1].texture, 0u);  // the lookup found nothing
    const ClfModel saved = savedModel(h);
    EXPECT_EQ(saved.textureNames, (std::vector<std::string>{"Hull.tga", "sail.tga", "DECK.tga"}));
    std::vector<std::uint32_t> indices;
    for (const ClfObject& o : saved.levels[0])
        indices.push_back(o.textureNameIndex);
    // e names no texture in its file and is saved without a name (index 0, as before).
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 0, 0}));
}

TEST(ModelSaver, AModelWithoutTexturesIsSavedWithoutNames) {
    // The store holds the fill textures, named by their colours; index 0 is one of them.
    SceneHarness h(kMeshviewRules);
    h.clf(writeClf(modelOf({triangleObject("a"), triangleObject("b")})));
    ASSERT_GT(h.textures.textureCount(), 0);
    EXPECT_TRUE(savedModel(h).textureNames.empty());
}

TEST(ModelSaver, LongNamesAreCutToThirtyOneCharacters) {
    SceneHarness h(kMeshviewRules);
    h.clf(writeClf(modelOf({triangleObject("short")})));
    makeCurrent(h.scene, 0);
    renameMesh(h.scene, 0, std::string(40, 'n'));
    const std::vector<std::uint8_t> bytes = savedModelBytes(*h.scene.object(0), h.textures);
    EXPECT_EQ(bytes[48 + 31], 0);  // the terminator fits
    EXPECT_EQ(savedModel(h).levels[0][0].name, std::string(31, 'n'));
}

TEST(ModelSaver, EveryMeshCarriesTheObjectsKeyCount) {
    // CFF meshes carry their own numbers of keys: 3, 1 and none. The model's key count is 3.
    CffObject three = test::cffFan(4, "thre");
    three.keys = {KeyRecord{1, 0, 0, 0, 0, 0, 1}, KeyRecord{2, 0, 0, 0, 0, 0, 2},
                  KeyRecord{3, 0, 0, 0, 0, 0, 3}};
    CffObject one = test::cffFan(4, "one");
    one.keys = {KeyRecord{0, 5, 0, 0, 0.5f, 0, 8}};
    CffObject none = test::cffFan(4, "none");
    SceneHarness h(kMeshviewRules);
    h.cff(writeCff(test::cffModel({three, one, none})));
    const SceneObject& object = *h.scene.object(0);
    ASSERT_EQ(object.keyCount, 3u);
    const ClfModel saved = savedModel(h);
    EXPECT_EQ(saved.keysPerObject, 3u);
    EXPECT_EQ(saved.levels[0][0].keys, three.keys);
    EXPECT_EQ(saved.levels[0][1].keys, std::vector<KeyRecord>(3, one.keys[0]));
    EXPECT_EQ(saved.levels[0][2].keys, std::vector<KeyRecord>(3, KeyRecord{}));
    // A mesh without keys is never posed: its positions as decoded are saved.
    const MeshPart& still = object.meshes()[2];
    for (std::size_t v = 0; v < still.vertexCount(); ++v) {
        EXPECT_EQ(saved.levels[0][2].vertices[v].x, still.vertices[v].x);
        EXPECT_EQ(saved.levels[0][2].vertices[v].y, still.vertices[v].y);
    }
}

TEST(ModelSaver, AKeyCountNoMeshCarriesIsNotMadeUp) {
    // The file announces more keys per object than its objects carry: 3, where a has 2 and b
    // none. Three records a mesh never had would be invented; b would be posed (and mirrored)
    // by records that stand for no key.
    ClfModel model = modelOf({triangleObject("a"), triangleObject("b")});
    model.keysPerObject = 3;
    model.levels[0][0].keys = {KeyRecord{1, 0, 0, 0, 0, 0, 1}, KeyRecord{2, 0, 0, 0, 0, 0, 2}};
    SceneHarness h(kMeshviewRules);
    h.clf(writeClf(model));
    ASSERT_EQ(h.scene.object(0)->keyCount, 3u);
    ClfModel saved = savedModel(h);
    EXPECT_EQ(saved.keysPerObject, 2u);
    EXPECT_EQ(saved.levels[0][0].keys, model.levels[0][0].keys);
    EXPECT_EQ(saved.levels[0][1].keys, std::vector<KeyRecord>(2, KeyRecord{}));

    // No mesh has any: none are written. A damaged count costs nothing.
    model.keysPerObject = 0xFFFFFFFFu;
    model.levels[0][0].keys.clear();
    SceneHarness damaged(kMeshviewRules);
    damaged.clf(writeClf(model));
    saved = savedModel(damaged);
    EXPECT_EQ(saved.keysPerObject, 0u);
    EXPECT_EQ(savedModelBytes(*damaged.scene.object(0), damaged.textures).size(),
              48u + 2 * (144 + 3 * 28 + 32));
}

TEST(ModelSaver, PathsEndInClf) {
    const std::pair<const char*, const char*> cases[] = {
        {"/ships/ship.cff", "/ships/ship.clf"},
        {"/ships/BOAT.CLF", "/ships/BOAT.CLF"},
        {"C:\\ships\\boat.Clf", "C:\\ships\\boat.Clf"},
        {"C:\\ships.old\\boat", "C:\\ships.old\\boat.clf"},
        {"relative/boat.def", "relative/boat.clf"},
    };
    for (const auto& [path, saved] : cases)
        EXPECT_EQ(savedModelPath(path), saved) << path;
}

TEST(ModelSaver, ACffModelIsSavedBesideItAsClfAndReadBack) {
    SceneHarness h(kMeshviewRules);
    const std::string cff = h.put("ship.cff", writeCff(test::cffModel({test::cffFan(5)})));
    ASSERT_EQ(loadCff(h.scene, cff, {}, h.services()), 0);
    EXPECT_EQ(saveModel(h.scene, 0, h.textures), SaveOutcome::Written);
    EXPECT_EQ(h.scene.object(0)->path, h.dir.file("ship.clf"));
    EXPECT_EQ(test::readBytes(cff), writeCff(test::cffModel({test::cffFan(5)})));
    const std::vector<std::uint8_t> first = test::readBytes(h.dir.file("ship.clf"));
    EXPECT_EQ(first, savedModelBytes(*h.scene.object(0), h.textures));

    // A second save overwrites the same file.
    makeCurrent(h.scene, 0);
    renameMesh(h.scene, 0, "fan1");
    EXPECT_EQ(saveModel(h.scene, 0, h.textures), SaveOutcome::Written);
    EXPECT_NE(test::readBytes(h.dir.file("ship.clf")), first);

    // The editor reads its file back; the ship viewer refuses it.
    SceneHarness editor(kMeshviewRules);
    EXPECT_EQ(loadClf(editor.scene, h.dir.file("ship.clf"), {}, editor.services()), 0);
    EXPECT_EQ(editor.scene.object(0)->meshes()[0].name, "fan1");
    SceneHarness viewer;
    EXPECT_EQ(loadClf(viewer.scene, h.dir.file("ship.clf"), {}, viewer.services()), -1);
    EXPECT_EQ(viewer.prompt.texts(), std::vector<std::string>{"Uncorrect File version"});
}

TEST(ModelSaver, AFailedWriteLeavesTheOldFileAndTheOthersAreStillSaved) {
    SceneHarness h(kMeshviewRules);
    const std::vector<std::uint8_t> original = writeClf(modelOf({triangleObject("old")}));
    const std::string kept = h.put("kept.clf", original);
    const std::string other = h.put("other.clf", original);
    ASSERT_EQ(loadClf(h.scene, kept, {}, h.services()), 0);
    ASSERT_EQ(loadClf(h.scene, other, {}, h.services()), 1);
    // A disk that fills up at any byte: the old file stays byte for byte.
    for (std::size_t failAt : {0, 1, 47, 48, 200, 307}) {
        EXPECT_EQ(saveModel(h.scene, 0, h.textures, {failAt}), SaveOutcome::Failed) << failAt;
        EXPECT_EQ(test::readBytes(kept), original) << failAt;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(h.dir.path()), {}), 2);

    // A model that cannot be written is told about; the next one is saved all the same.
    h.scene.object(0)->path = h.dir.file("gone/kept.clf");
    const SaveReport report = saveAll(h.scene, h.textures, h.prompt);
    EXPECT_EQ(report.failed, std::vector<std::string>{h.dir.file("gone/kept.clf")});
    EXPECT_EQ(report.written, std::vector<std::string>{other});
    EXPECT_EQ(h.prompt.texts(), std::vector<std::string>{"Cannot save the model file\n" +
                                                         h.dir.file("gone/kept.clf")});
    EXPECT_EQ(test::readBytes(other).size(), 308u);  // no texture names
}

TEST(ModelSaver, OnlyModelsInTheEditorsSlotsAreSaved) {
    SceneHarness h(kMeshviewRules);
    const std::string path = h.put("m.clf", writeClf(modelOf({triangleObject("x")})));
    ASSERT_EQ(loadClf(h.scene, path, {}, h.services()), 0);
    h.scene.object(0)->kind = ObjectKind::Patch;
    EXPECT_EQ(saveModel(h.scene, 0, h.textures), SaveOutcome::Skipped);
    EXPECT_EQ(saveModel(h.scene, 1, h.textures), SaveOutcome::Skipped);
    EXPECT_EQ(saveModel(h.scene, 64, h.textures), SaveOutcome::Skipped);
    EXPECT_EQ(saveModel(h.scene, -1, h.textures), SaveOutcome::Skipped);
    EXPECT_TRUE(saveAll(h.scene, h.textures, h.prompt).written.empty());
    EXPECT_EQ(test::readBytes(path), writeClf(modelOf({triangleObject("x")})));
}

}  // namespace
}  // namespace slipway
