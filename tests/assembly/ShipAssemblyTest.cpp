// Building a ship from a DEF file: parents by record position, what each class builds, the
// messages, and the two viewers' forms.

#include <gtest/gtest.h>

#include <filesystem>

#include "ModelFixtures.h"
#include "SceneHarness.h"
#include "engine/FlagObject.h"
#include "engine/ShipAssembly.h"
#include "formats/SailFile.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

using test::DefBuilder;
using test::DefEntry;
using test::SceneHarness;

constexpr int kModel = 200, kRey = 201, kSail = 202, kCannon = 203, kFlag = 204, kWaterline = 205,
              kPatch = 206;

DefEntry record(int cls, const std::string& file, Vec3 at = {}, int link = -1, int type = 0) {
    DefEntry e;
    e.cls = cls;
    e.file = file;
    e.x = at.x, e.y = at.y, e.z = at.z;
    e.link = link;
    e.type = type;
    return e;
}

// A ship directory holding a square model, a marker model, a sail file and every texture the
// generators ask for.
struct ShipHarness : SceneHarness {
    explicit ShipHarness(const ViewerRules& rules = kShipviewRules) : SceneHarness(rules) {
        put("hull.clf", writeClf(test::clfSquare()));
        put("mast.clf", writeClf(test::clfSquare()));
        put("Piramid.cff", writeCff(test::cffModel({test::cffFan(4)})));
        put("hull.obj", {1});
        put("hull", {1});
        const auto tga = test::tgaFile(2, 2, 24, std::vector<std::uint8_t>(12, 90));
        for (const char* name : {"Parusa_english.tga", "Parusa_english_prost.tga", "Karav_flag.tga",
                                 "Karav_vimpel.tga"}) {
            put(name, tga);
        }
    }
    void sails(std::vector<std::int32_t> indices) {
        std::vector<SailEntry> entries;
        for (std::int32_t i : indices) {
            SailEntry e;
            e.record.sailIndex = i;
            e.record.corners = {{{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}}};
            entries.push_back(e);
        }
        put("ship.sail", writeSailFile(entries));
    }
    int assemble(const DefBuilder& def, std::vector<int>* slots = nullptr) {
        def.write(defPath);
        return assembleShip(scene, defPath, services(), slots);
    }
    Vec3 at(int slot) const {
        const Matrix4& w = scene.object(slot)->world;
        return {w[12], w[13], w[14]};
    }

    std::string defPath = dir.file("ship.def");
};

void expectAt(Vec3 actual, Vec3 expected, const std::string& what) {
    EXPECT_FLOAT_EQ(actual.x, expected.x) << what;
    EXPECT_FLOAT_EQ(actual.y, expected.y) << what;
    EXPECT_FLOAT_EQ(actual.z, expected.z) << what;
}

TEST(ShipAssembly, PartsHangFromEarlierRecordsOnly) {
    ShipHarness h;
    DefBuilder def;
    def.add(record(kModel, "hull.clf", {1, 2, 3}))       // 0
        .add(record(kModel, "mast.clf", {0, 10, 0}, 0))  // 1: on the hull
        .add(record(kFlag, "", {0, 5, 0}, 1))            // 2: on the mast
        .add(record(kModel, "mast.clf", {4, 0, 0}, 2))   // 3: on the flag: no parent
        .add(record(kModel, "mast.clf", {5, 0, 0}, 4))   // 4: on itself: no parent
        .add(record(kModel, "mast.clf", {6, 0, 0}, 6))   // 5: on a later record: no parent
        .add(record(kModel, "mast.clf", {7, 0, 0}, 99))  // 6: on no record: no parent
        .add(record(kModel, "mast.clf", {0, 1, 0}, 3));  // 7: on record 3
    std::vector<int> slots;
    EXPECT_EQ(h.assemble(def, &slots), 1);
    EXPECT_EQ(slots, (std::vector<int>{0, 1, -1, 3, 4, 5, 6, 7}));
    expectAt(h.at(2), {1, 17, 3}, "flag: hull + mast + own offset");
    EXPECT_EQ(h.scene.object(2)->parent, 1);
    expectAt(h.at(3), {4, 0, 0}, "linked to the flag");
    EXPECT_EQ(h.scene.object(3)->parent, -1);
    expectAt(h.at(4), {5, 0, 0}, "linked to itself");
    expectAt(h.at(5), {6, 0, 0}, "linked to a later record");
    expectAt(h.at(6), {7, 0, 0}, "linked out of range");
    expectAt(h.at(7), {4, 1, 0}, "linked to record 3");
    EXPECT_TRUE(h.prompt.texts().empty());
    EXPECT_EQ(h.warnMissing, 1);
}

TEST(ShipAssembly, EachClassBuildsItsKind) {
    ShipHarness h;
    h.sails({3});
    DefBuilder def;
    def.add(record(kModel, "hull.clf", {0, 1, 0}))         // 0
        .add(record(kRey, "hull.clf"))                     // 1: nothing
        .add(record(kCannon, "gun.clf", {1, 0, 0}, 0, 1))  // 2: the marker
        .add(record(kSail, "ship.sail", {0, 2, 0}, 0, 6))  // 3
        .add(record(kFlag, "", {0, 3, 0}, 0, 2))           // 4: a pennant
        .add(record(kWaterline, "hull.clf"))               // 5: nothing
        .add(record(kPatch, "mast.clf", {0, 4, 0}, 0))     // 6
        .add(record(kModel, "hull.obj"))                   // 7: skipped
        .add(record(kModel, "hull"))                       // 8: no extension
        .add(record(kModel, "mast.clf", {0, 5, 0}, 6));    // 9: on the patch
    std::vector<int> slots;
    EXPECT_EQ(h.assemble(def, &slots), 1);
    EXPECT_EQ(slots, (std::vector<int>{0, -1, 1, 2, -1, -1, 4, -1, -1, 5}));
    EXPECT_EQ(h.scene.objectCount(), 6);
    const std::pair<int, ObjectKind> kinds[] = {{0, ObjectKind::Model}, {1, ObjectKind::Cannon},
                                                {2, ObjectKind::Sail},  {3, ObjectKind::Flag},
                                                {4, ObjectKind::Patch}, {5, ObjectKind::Model}};
    for (const auto& [slot, kind] : kinds)
        EXPECT_EQ(h.scene.object(slot)->kind, kind) << slot;
    EXPECT_EQ(h.scene.object(1)->meshes()[0].vertexCount(), 4u);  // the fan of Piramid.cff
    EXPECT_EQ(h.scene.object(2)->meshes()[0].texture, h.textures.textureIndex("Parusa_english"));
    EXPECT_EQ(dynamic_cast<FlagObject*>(h.scene.object(3))->flagStyle, 2);
    expectAt(h.at(3), {0, 4, 0}, "pennant");
    expectAt(h.at(5), {0, 10, 0}, "model on the patch");
    EXPECT_TRUE(h.prompt.texts().empty());
}

TEST(ShipAssembly, FailuresAndTheirMessages) {
    struct Case {
        const char* what;
        DefBuilder def;
        void (*prepare)(ShipHarness&);
        int result;
        int objects;
        std::vector<std::string> texts;
    };
    const auto damagedMarker = [](ShipHarness& h) { h.put("Piramid.cff", {1, 2, 3}); };
    const auto noMarker = [](ShipHarness& h) {
        std::filesystem::remove(h.dir.file("Piramid.cff"));
    };
    const auto noSailEntry = [](ShipHarness& h) { h.sails({0, 9}); };
    const auto nothing = [](ShipHarness&) {};
    const std::vector<Case> cases = {
        {"a damaged marker names the record's own file",
         DefBuilder()
             .add(record(kModel, "hull.clf"))
             .add(record(kCannon, "gun.clf"))
             .add(record(kModel, "hull.clf")),
         damagedMarker,
         0,
         1,
         {"Damaged model file\n" + std::string("MARKER"), "Can't lOAD Fille \ngun.clf"}},
        {"a missing marker skips the record",
         DefBuilder().add(record(kCannon, "gun.clf")).add(record(kModel, "hull.clf")),
         noMarker,
         1,
         1,
         {"Can't Find Model: Piramid.cff"}},
        {"a sail without an entry stops the assembly",
         DefBuilder()
             .add(record(kModel, "hull.clf"))
             .add(record(kSail, "ship.sail"))
             .add(record(kModel, "hull.clf")),
         noSailEntry,
         0,
         1,
         {"Can't lOAD Fille \nship.sail"}},
        {"a missing model is skipped",
         DefBuilder().add(record(kModel, "absent.clf")).add(record(kModel, "hull.clf")),
         nothing,
         1,
         1,
         {"Can't Find Model: absent.clf"}},
        {"the count says 10, 6 are there",
         DefBuilder()
             .add(record(kModel, "hull.clf"))
             .add(record(kModel, "hull.clf"))
             .add(record(kModel, "hull.clf"))
             .add(record(kModel, "hull.clf"))
             .add(record(kModel, "hull.clf"))
             .add(record(kModel, "hull.clf"))
             .announce(10),
         nothing,
         1,
         6,
         {}},
        {"a negative count reads nothing",
         DefBuilder().add(record(kModel, "hull.clf")).announce(-1),
         nothing,
         1,
         0,
         {}},
        {"a huge count reads the records there",
         DefBuilder()
             .add(record(kModel, "hull.clf"))
             .add(record(kModel, "hull.clf"))
             .announce(0x7fffffff)
             .trailing({1, 2, 3}),
         nothing,
         1,
         2,
         {}},
        {"the count limits the records read",
         DefBuilder().add(record(kModel, "hull.clf")).add(record(kModel, "hull.clf")).announce(1),
         nothing,
         1,
         1,
         {}},
    };
    for (const Case& c : cases) {
        ShipHarness h;
        c.prepare(h);
        EXPECT_EQ(h.assemble(c.def), c.result) << c.what;
        EXPECT_EQ(h.scene.objectCount(), c.objects) << c.what;
        std::vector<std::string> texts = c.texts;
        for (std::string& t : texts) {
            if (const auto p = t.find("MARKER"); p != std::string::npos) {
                t.replace(p, 6, h.dir.file("Piramid.cff"));
            }
        }
        EXPECT_EQ(h.prompt.texts(), texts) << c.what;
    }

    ShipHarness h;
    const std::string missing = h.dir.file("absent.def");
    EXPECT_EQ(assembleShip(h.scene, missing, h.services()), 0);
    EXPECT_EQ(h.prompt.texts(), (std::vector<std::string>{"Can,t open DEF File\n" + missing}));
    EXPECT_EQ(h.scene.objectCount(), 0);
}

TEST(ShipAssembly, MarkerIsFoundBesideTheDefOrThroughTheSearchPaths) {
    ShipHarness h;
    std::filesystem::create_directory(h.dir.file("ship"));
    h.put("ship/hull.clf", writeClf(test::clfSquare()));
    h.defPath = h.dir.file("ship/ship.def");
    DefBuilder def;
    def.add(record(kModel, "hull.clf")).add(record(kCannon, "gun.clf", {1, 2, 3}, 0));
    EXPECT_EQ(h.assemble(def), 1);
    ASSERT_EQ(h.scene.objectCount(), 2);
    EXPECT_EQ(h.scene.object(1)->kind, ObjectKind::Cannon);
    expectAt(h.at(1), {1, 2, 3}, "marker");
    EXPECT_TRUE(h.prompt.texts().empty());
}

TEST(ShipAssembly, ModelEditorUsesOnlyModelRecords) {
    ShipHarness h(kMeshviewRules);
    h.sails({1});
    DefBuilder def;
    def.add(record(kModel, "hull.clf", {1, 0, 0}))
        .add(record(kSail, "ship.sail", {}, 0))
        .add(record(kCannon, "gun.clf", {}, 0))
        .add(record(kFlag, "", {}, 0))
        .add(record(kPatch, "mast.clf", {}, 0))
        .add(record(kModel, "hull"))  // no dot: skipped
        .add(record(kModel, "mast.clf", {0, 2, 0}, 0))
        .announce(1);  // the editor reads past the count
    std::vector<int> slots;
    EXPECT_EQ(h.assemble(def, &slots), 1);
    EXPECT_EQ(slots, (std::vector<int>{0, -1, -1, -1, -1, -1, 1}));
    expectAt(h.at(1), {1, 2, 0}, "mast on the hull");
    EXPECT_TRUE(h.prompt.texts().empty());

    struct Case {
        const char* file;
        std::vector<std::string> texts;
    };
    const Case failures[] = {
        {"hull.obj", {"Uncnown type model fille \nhull.obj"}},
        {"bad.clf", {"Damaged model file\nBAD", "Can't open model fille \nbad.clf"}},
    };
    for (const Case& c : failures) {
        ShipHarness e(kMeshviewRules);
        e.put("bad.clf", {1, 2, 3});
        EXPECT_EQ(
            e.assemble(DefBuilder().add(record(kModel, c.file)).add(record(kModel, "hull.clf"))), 0)
            << c.file;
        EXPECT_EQ(e.scene.objectCount(), 0);
        std::vector<std::string> texts = c.texts;
        if (texts.size() == 2)
            texts[0] = "Damaged model file\n" + e.dir.file("bad.clf");
        EXPECT_EQ(e.prompt.texts(), texts) << c.file;
    }
}

TEST(ShipAssembly, ModelEditorReadsAtMost420Records) {
    ShipHarness h(kMeshviewRules);
    DefBuilder def;
    for (int i = 0; i < 419; ++i)
        def.add(record(kRey, ""));
    def.add(record(kModel, "hull.clf")).add(record(kModel, "hull.clf")).announce(0);
    std::vector<int> slots;
    EXPECT_EQ(h.assemble(def, &slots), 1);
    EXPECT_EQ(slots.size(), 420u);
    EXPECT_EQ(h.scene.objectCount(), 1);
}

}  // namespace
}  // namespace slipway
