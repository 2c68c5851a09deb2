#include "make-demo-ship/DemoShip.h"

#include <cmath>
#include <filesystem>
#include <numbers>
#include <vector>

#include "base/FileIo.h"
#include "engine/SailCloth.h"
#include "formats/DefFile.h"
#include "formats/SailFile.h"
#include "make-demo-ship/DemoMesh.h"
#include "make-demo-ship/DemoTextures.h"

namespace slipway::demo {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// The hull runs along x from the stern (t = 0) to the bow (t = 1); y is up, z across.
struct Hull {
    static float x(float t) { return -0.55f + 1.1f * t; }
    static float halfBeam(float t) {
        const float s = (t - 0.45f) / 0.55f;
        return 0.19f * std::sqrt(std::max(0.0f, 1 - s * s));
    }
    static float deck(float t) {
        return 0.12f + 0.07f * std::pow(1 - t, 3.0f) + 0.05f * std::pow(t, 3.0f);
    }
    static float keel(float t) { return -0.10f + 0.12f * std::max(0.0f, t - 0.8f) / 0.2f; }
    // A point of the planking: phi runs from 0 at the starboard rail over the keel (pi / 2)
    // to pi at the port rail.
    static Vec3 point(float t, float phi) {
        const float down = std::pow(std::max(0.0f, std::sin(phi)), 0.6f);
        return {x(t), deck(t) - (deck(t) - keel(t)) * down, halfBeam(t) * std::cos(phi)};
    }
    // Pointing out of the hull at that point, for winding and file normals.
    static Vec3 outward(float t, float phi) {
        const Vec3 p = point(t, phi);
        const Vec3 out{0, p.y - deck(t), p.z};
        return length(out) > 0 ? normalize(out) : Vec3{0, -1, 0};
    }
};

std::vector<ClfObject> hullLevel(int sections, int around) {
    DemoMesh planking;
    for (int i = 0; i <= sections; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(sections);
        for (int k = 0; k <= around; ++k) {
            const float phi = kPi * static_cast<float>(k) / static_cast<float>(around);
            planking.vertex(Hull::point(t, phi), Hull::outward(t, phi), t,
                            static_cast<float>(k) / static_cast<float>(around));
        }
    }
    const int row = around + 1;
    for (int i = 0; i < sections; ++i) {
        const float t = (static_cast<float>(i) + 0.5f) / static_cast<float>(sections);
        for (int k = 0; k < around; ++k) {
            const float phi = kPi * (static_cast<float>(k) + 0.5f) / static_cast<float>(around);
            const int a = i * row + k;
            planking.quad(a, a + row, a + row + 1, a + 1, Hull::outward(t, phi));
        }
    }

    DemoMesh deck;
    for (int i = 0; i <= sections; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(sections);
        const float y = Hull::deck(t) - 0.004f;
        const float z = Hull::halfBeam(t) * 0.98f;
        deck.vertex({Hull::x(t), y, -z}, {0, 1, 0}, t * 2, 0);
        deck.vertex({Hull::x(t), y, z}, {0, 1, 0}, t * 2, 1);
    }
    for (int i = 0; i < sections; ++i)
        deck.quad(2 * i, 2 * i + 2, 2 * i + 3, 2 * i + 1, {0, 1, 0});

    DemoMesh transom;
    const Vec3 back{-1, 0, 0};
    const int centre =
        transom.vertex({Hull::x(0), (Hull::deck(0) + Hull::keel(0)) / 2, 0}, back, 0.02f, 0.3f);
    for (int k = 0; k <= around; ++k) {
        const float phi = kPi * static_cast<float>(k) / static_cast<float>(around);
        transom.vertex(Hull::point(0, phi), back, 0.02f,
                       0.05f + 0.1f * std::abs(static_cast<float>(k) / around - 0.5f));
    }
    for (int k = 0; k < around; ++k)
        transom.triangle(centre, centre + 1 + k, centre + 2 + k, back);

    return {toClfObject(planking, "hull", 0), toClfObject(deck, "deck", 1),
            toClfObject(transom, "transom", 0)};
}

ClfModel hullModel() {
    ClfModel model;
    model.textureNames = {"hull_planks.tga", "deck.tga"};
    model.levels = {hullLevel(24, 12), hullLevel(12, 8), hullLevel(6, 4)};
    return model;
}

// A scorched plate that follows the starboard planking below the gun ports.
ClfModel patchModel() {
    DemoMesh plate;
    constexpr int n = 3;
    for (int i = 0; i <= n; ++i) {
        for (int k = 0; k <= n; ++k) {
            const float t = 0.56f + 0.07f * static_cast<float>(i) / n;
            const float phi = 0.35f + 0.3f * static_cast<float>(k) / n;
            const Vec3 out = Hull::outward(t, phi);
            plate.vertex(add(Hull::point(t, phi), scaleBy(out, 0.002f)), out,
                         static_cast<float>(i) / n, static_cast<float>(k) / n);
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < n; ++k) {
            const int a = i * (n + 1) + k;
            plate.quad(a, a + n + 1, a + n + 2, a + 1, Hull::outward(0.6f, 0.5f));
        }
    }
    ClfModel model;
    model.textureNames = {"patch.tga"};
    model.levels = {{toClfObject(plate, "patch", 0)}};
    return model;
}

// A rudder for the model editor's key slider: the stock, the blade behind it and the tiller
// before it, each with the same five keys that swing them about the stock. The pose mirrors x
// after turning, so every key turns half round first: key 0 shows the rudder as built (its
// blade is the same on both faces), the others put the helm over by up to 40 degrees.
CffModel rudderModel() {
    std::vector<KeyRecord> keys;
    for (float degrees : {0.0f, 20.0f, 40.0f, -20.0f, -40.0f}) {
        KeyRecord key;
        key.ay = kPi + degrees * kPi / 180;
        keys.push_back(key);
    }
    const Vec3 up{0, 1, 0};
    DemoMesh stock = taperedCylinder({0, -0.20f, 0}, up, 0.36f, 0.012f, 0.010f, 8);

    // The blade: a plate from the stock aft, its trailing edge sloping in towards the head.
    DemoMesh blade;
    const float thick = 0.008f;
    const Vec3 outline[4] = {
        {-0.004f, -0.19f, 0}, {-0.17f, -0.19f, 0}, {-0.09f, 0.09f, 0}, {-0.004f, 0.09f, 0}};
    for (float side : {-1.0f, 1.0f}) {
        const Vec3 normal{0, 0, side};
        int corner[4];
        for (int i = 0; i < 4; ++i) {
            const Vec3 p{outline[i].x, outline[i].y, side * thick};
            corner[i] = blade.vertex(p, normal, -outline[i].x * 4, 0.5f - outline[i].y * 2);
        }
        blade.quad(corner[0], corner[1], corner[2], corner[3], normal);
    }
    for (int i = 0; i < 4; ++i) {
        const Vec3 a = outline[i], b = outline[(i + 1) % 4];
        const Vec3 edge = subtract(b, a);
        const Vec3 out = normalize(Vec3{edge.y, -edge.x, 0});
        const Vec3 outward = dot(out, subtract(a, Vec3{-0.07f, -0.05f, 0})) < 0 ? negate(out) : out;
        const int p = blade.vertex({a.x, a.y, -thick}, outward, 0, 0);
        const int q = blade.vertex({b.x, b.y, -thick}, outward, 1, 0);
        const int r = blade.vertex({b.x, b.y, thick}, outward, 1, 0.05f);
        const int t = blade.vertex({a.x, a.y, thick}, outward, 0, 0.05f);
        blade.quad(p, q, r, t, outward);
    }

    DemoMesh tiller = taperedCylinder({0, 0.13f, 0}, {1, 0, 0}, 0.20f, 0.007f, 0.005f, 8);
    return toCffModel({{stock, "stck", keys}, {blade, "blad", keys}, {tiller, "tilr", keys}},
                      "wood.tga");
}

CffModel spar(Vec3 base, Vec3 axis, float length, float baseRadius, float topRadius,
              const char (&shortName)[5]) {
    return toCffModel(taperedCylinder(base, axis, length, baseRadius, topRadius, 8), "wood.tga",
                      shortName);
}

// Bowsprit: rising forward at 20 degrees.
const Vec3 kBowspritAxis{std::cos(20 * kPi / 180), std::sin(20 * kPi / 180), 0};
constexpr float kBowspritLength = 0.36f;

struct Record {
    int cls;
    int type;
    std::string file;
    Vec3 at;
    int link;
    Vec3 angles{};
};

constexpr int kModel = 200, kSail = 202, kCannon = 203, kFlag = 204, kPatch = 206;

SailEntry fourCornered(int index, float top, float bottom, float drop, float depth) {
    SailEntry e;
    e.record.sailIndex = index;
    e.record.depth = depth;
    e.record.corners = {{{0, 0, -top}, {0, 0, top}, {0, -drop, bottom}, {0, -drop, -bottom}}};
    return e;
}

SailEntry triangular(int index, Vec3 apex, Vec3 tack, Vec3 clew, float depth) {
    SailEntry e;
    e.record.sailIndex = index;
    e.record.shape = kTriangularSailShape;
    e.record.depth = depth;
    e.record.corners = {
        {{apex.x, apex.y, apex.z}, {tack.x, tack.y, tack.z}, {clew.x, clew.y, clew.z}, {0, 0, 0}}};
    return e;
}

// A rope band lying on the middle row of a four-cornered sail's cloth.
SailAttachedMesh reefBand(const SailEntry& sail) {
    const auto corner = [&](int i) {
        const auto& c = sail.record.corners[static_cast<std::size_t>(i)];
        return Vec3{c[0], c[1], c[2]};
    };
    const ClothMesh cloth =
        fourCorneredCloth(corner(0), corner(1), corner(2), corner(3), sail.record.depth);
    SailAttachedMesh band;
    band.textureName = "rope.tga";
    for (int j = 0; j < kSailColumns; ++j) {
        const RenderVertex& v = cloth.vertices[static_cast<std::size_t>(2 * kSailColumns + j)];
        for (float dy : {-0.004f, 0.004f}) {
            band.vertices.push_back(ClfVertex{v.x + 0.003f, v.y + dy, v.z, 1, 0, 0, 0xFFFFFFFFu});
        }
    }
    for (int j = 0; j + 1 < kSailColumns; ++j) {
        const auto b = static_cast<std::uint16_t>(2 * j);
        const float u0 = static_cast<float>(j), u1 = static_cast<float>(j + 1);
        ClfTriangle first;
        first.a = b, first.b = static_cast<std::uint16_t>(b + 2), first.c = b + 1;
        first.u[0] = u0, first.v[0] = 0, first.u[1] = u1, first.v[1] = 0;
        first.u[2] = u0, first.v[2] = 1;
        ClfTriangle second;
        second.a = b + 1, second.b = static_cast<std::uint16_t>(b + 2);
        second.c = static_cast<std::uint16_t>(b + 3);
        second.u[0] = u0, second.v[0] = 1, second.u[1] = u1, second.v[1] = 0;
        second.u[2] = u1, second.v[2] = 1;
        band.triangles.push_back(first);
        band.triangles.push_back(second);
    }
    return band;
}

bool put(const std::string& directory, const std::string& name,
         const std::vector<std::uint8_t>& bytes) {
    return writeFileAtomically((std::filesystem::path(directory) / name).string(), bytes);
}

}  // namespace

bool writeDemoShip(const std::string& directory) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec)
        return false;

    const float quarterTurn = kPi / 2;
    // Record positions matter: links and sail entries refer to them.
    std::vector<Record> records = {
        {kModel, 0, "hull.clf", {0, 0, 0}, -1},                             // 0
        {kModel, 220, "mast.cff", {0, 0.10f, 0}, 0},                        // 1 main mast
        {kModel, 221, "mast.cff", {0.30f, 0.10f, 0}, 0},                    // 2 fore mast
        {kModel, 0, "mizzen.cff", {-0.34f, 0.13f, 0}, 0},                   // 3 mizzen mast
        {kModel, 222, "bowsprit.cff", {0.47f, 0.15f, 0}, 0},                // 4
        {kModel, 0, "yard.cff", {0, 0.45f, 0}, 1, {0, quarterTurn, 0}},     // 5 main yard
        {kModel, 0, "topyard.cff", {0, 0.80f, 0}, 1, {0, quarterTurn, 0}},  // 6
        {kModel, 0, "yard.cff", {0, 0.42f, 0}, 2, {0, quarterTurn, 0}},     // 7 fore yard
        {kModel, 0, "topyard.cff", {0, 0.76f, 0}, 2, {0, quarterTurn, 0}},  // 8
        {kSail, 6, kDemoSailFile, {0.012f, 0, 0}, 5},                       // 9 main course
        {kSail, 1, kDemoSailFile, {0.010f, 0, 0}, 6},                       // 10 main topsail
        {kSail, 0, kDemoSailFile, {0.012f, 0, 0}, 7},                       // 11 fore course
        {kSail, 1, kDemoSailFile, {0.010f, 0, 0}, 8},                       // 12 fore topsail
        {kSail, 2, kDemoSailFile, {0, 0, 0}, 2},                            // 13 jib
        {kSail, 4, kDemoSailFile, {0, 0, 0}, 3},                            // 14 mizzen
    };
    // Cannons stand at the gun ports painted on the hull, four a side.
    for (int side = 0; side < 2; ++side) {
        for (int m = 2; m <= 5; ++m) {
            const float t = (16.0f * static_cast<float>(m) + 8) / 128;
            const float phi = side == 0 ? 0.14f * kPi : 0.86f * kPi;
            const Vec3 at = add(Hull::point(t, phi), scaleBy(Hull::outward(t, phi), 0.01f));
            records.push_back({kCannon, side == 0 ? 3 : 1, "cannon.cff", at, 0});
        }
    }
    records.push_back({kPatch, 0, "patch.clf", {0, 0, 0}, 0});
    records.push_back({kFlag, 0, "", {0, 0.9f, 0}, 1});
    records.push_back({kFlag, 1, "", {0, 0.62f, 0}, 3});
    records.push_back({kFlag, 2, "", {0, 0.9f, 0}, 2});

    std::vector<DefRecord> def;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        DefRecord d;
        d.Num = static_cast<std::int32_t>(i);
        d.Class = r.cls;
        d.Type = r.type;
        setDefFileName(d, r.file);
        d.X = r.at.x, d.Y = r.at.y, d.Z = r.at.z;
        d.Ax = r.angles.x, d.Ay = r.angles.y, d.Az = r.angles.z;
        d.Link = r.link;
        def.push_back(d);
    }

    SailEntry mainCourse = fourCornered(9, 0.21f, 0.24f, 0.32f, 0.05f);
    mainCourse.attached = {reefBand(mainCourse)};
    const Vec3 bowspritEnd = add(Vec3{0.47f, 0.15f, 0}, scaleBy(kBowspritAxis, kBowspritLength));
    const std::vector<SailEntry> sails = {
        mainCourse,
        fourCornered(10, 0.14f, 0.20f, 0.33f, 0.04f),
        fourCornered(11, 0.21f, 0.24f, 0.30f, 0.05f),
        fourCornered(12, 0.14f, 0.20f, 0.32f, 0.04f),
        triangular(13, {0.01f, 0.62f, 0}, subtract(bowspritEnd, Vec3{0.31f, 0.10f, 0}),
                   {0.14f, 0.14f, 0}, 0.03f),
        triangular(14, {0.0f, 0.58f, 0}, {0.0f, 0.10f, 0}, {-0.24f, 0.12f, 0}, 0.03f),
    };

    const Vec3 up{0, 1, 0};
    const Vec3 along{1, 0, 0};
    bool ok = writeDefFile((std::filesystem::path(directory) / kDemoDefFile).string(), def);
    ok = put(directory, kDemoSailFile, writeSailFile(sails)) && ok;
    ok = put(directory, "hull.clf", writeClf(hullModel())) && ok;
    ok = put(directory, "patch.clf", writeClf(patchModel())) && ok;
    ok = put(directory, "mast.cff", writeCff(spar({0, 0, 0}, up, 0.9f, 0.011f, 0.006f, "mast"))) &&
         ok;
    ok = put(directory, "mizzen.cff",
             writeCff(spar({0, 0, 0}, up, 0.62f, 0.009f, 0.005f, "mizz"))) &&
         ok;
    ok = put(directory, "bowsprit.cff",
             writeCff(spar({0, 0, 0}, kBowspritAxis, kBowspritLength, 0.009f, 0.005f, "bows"))) &&
         ok;
    ok = put(directory, "yard.cff",
             writeCff(spar({-0.23f, 0, 0}, along, 0.46f, 0.0055f, 0.0055f, "yard"))) &&
         ok;
    ok = put(directory, "topyard.cff",
             writeCff(spar({-0.16f, 0, 0}, along, 0.32f, 0.0045f, 0.0045f, "tyrd"))) &&
         ok;
    ok = put(directory, kDemoRudderFile, writeCff(rudderModel())) && ok;
    ok = put(directory, "Piramid.cff",
             writeCff(toCffModel(pyramid(0.025f, 0.03f), "marker.tga", "pira"))) &&
         ok;

    const struct {
        const char* name;
        Picture picture;
        bool alpha;
    } textures[] = {
        {"hull_planks.tga", hullTexture(), false},
        {"deck.tga", deckTexture(), false},
        {"wood.tga", woodTexture(), false},
        {"rope.tga", ropeTexture(), false},
        {"marker.tga", markerTexture(), false},
        {"patch.tga", patchTexture(), true},
        {"Parusa_english.tga", canvasTexture(true), false},
        {"Parusa_english_prost.tga", canvasTexture(false), false},
        {"Karav_flag.tga", flagTexture(), false},
        {"Karav_vimpel.tga", pennantTexture(), true},
    };
    for (const auto& t : textures)
        ok = put(directory, t.name, encodeTga(t.picture, t.alpha)) && ok;
    return ok;
}

}  // namespace slipway::demo
