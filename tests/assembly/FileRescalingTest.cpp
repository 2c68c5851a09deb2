// Rescaling CLF, CFF, sail and DEF files: exactly the stored positions change, by the factor;
// a file that does not parse to its end is never touched.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "TempDir.h"
#include "TestFiles.h"
#include "formats/CffFile.h"
#include "formats/ClfFile.h"
#include "formats/FileRescaling.h"
#include "formats/SailFile.h"

namespace slipway {
namespace {

using Bytes = std::vector<std::uint8_t>;

ClfObject clfObject(const std::string& name, int vertices, float base) {
    ClfObject o;
    o.name = name;
    o.textureNameIndex = 1;
    for (int i = 0; i < vertices; ++i) {
        const float f = base + static_cast<float>(i);
        o.vertices.push_back(ClfVertex{f, -f, f * 0.5f, 0.25f, 0.5f, 0.75f, 0xFFFFFFFFu});
    }
    for (int i = 0; i + 2 < vertices; ++i) {
        ClfTriangle t;
        t.a = static_cast<std::uint16_t>(i);
        t.b = static_cast<std::uint16_t>(i + 1);
        t.c = static_cast<std::uint16_t>(i + 2);
        t.textureIndex = 1;
        t.u[0] = 0.1f, t.v[0] = 0.2f, t.u[1] = 1.5f, t.v[2] = -3.0f;
        o.triangles.push_back(t);
    }
    return o;
}

// Two levels, two texture names, normals and texture coordinates that must not change; with
// `keyed`, two key records after every object.
ClfModel clfModel(std::uint32_t version, bool keyed) {
    ClfModel m;
    m.version = version;
    m.textureNames = {"hull.tga", "deck.tga"};
    m.levels = {{clfObject("hull", 5, 1), clfObject("deck", 4, 10)}, {clfObject("lod", 3, 20)}};
    if (keyed) {
        m.keysPerObject = 2;
        for (auto& level : m.levels) {
            for (ClfObject& o : level) {
                o.keys = {KeyRecord{1, 2, 3, 0.1f, 0.2f, 0.3f, 7}, KeyRecord{4, 5, 6, 0, 0, 0, 8}};
            }
        }
    }
    return m;
}

ClfModel scaledClf(ClfModel m, float f) {
    for (auto& level : m.levels) {
        for (ClfObject& o : level) {
            for (ClfVertex& v : o.vertices) {
                v.x *= f;
                v.y *= f;
                v.z *= f;
            }
        }
    }
    return m;
}

CffObject cffObject(int vertices) {
    CffObject o;
    o.header.center[0] = 1, o.header.center[1] = 2, o.header.center[2] = 3;
    o.header.uvScale = 256;
    o.header.radius = 4;
    o.header.shortName = {'m', 'a', 's', 't'};
    for (int i = 0; i < vertices; ++i) {
        const auto s = static_cast<std::int16_t>(i * 100);
        o.vertices.push_back(CffVertex{s, static_cast<std::int16_t>(-s), 7, 1, 2, 127, 0, -127});
    }
    for (int i = 0; i + 2 < vertices; ++i) {
        o.triangles.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1),
                               static_cast<std::uint16_t>(i + 2)});
    }
    return o;
}

// Two levels; one object wide enough for 16-bit indices, one with key records, a texture
// record with extra entries.
CffModel cffModel() {
    CffModel m;
    m.header.origin[0] = 10, m.header.origin[1] = -2, m.header.origin[2] = 0.5f;
    m.header.scale[0] = 2, m.header.scale[1] = 4, m.header.scale[2] = 8;
    m.header.reserved1 = 0x11111111;
    m.header.reserved2 = 0x22222222;
    m.header.extent = 6;
    m.textureNames = {"wood.tga", "rope.tga"};
    CffTextureRecord record;
    record.bytes.fill(0x5A);
    record.extra.resize(2);
    record.extra[1].fill(0x33);
    m.textureRecords = {record};
    CffObject keyed = cffObject(4);
    keyed.keys = {KeyRecord{1, 1, 1, 0, 0, 0, 9}, KeyRecord{}, KeyRecord{}};
    m.levels = {CffLevel{0xABCD, {cffObject(300), keyed}}, CffLevel{0, {cffObject(3)}}};
    return m;
}

CffModel scaledCff(CffModel m, float f) {
    for (float& v : m.header.origin)
        v *= f;
    for (float& v : m.header.scale)
        v *= f;
    m.header.extent *= f;
    m.header.reserved2 = 0;
    for (CffLevel& level : m.levels) {
        for (CffObject& o : level.objects) {
            for (float& v : o.header.center)
                v *= f;
            o.header.radius *= f;
        }
    }
    return m;
}

std::vector<SailEntry> sailEntries() {
    SailEntry plain;
    plain.record.sailIndex = 4;
    plain.record.depth = 0.3f;
    for (int c = 0; c < 4; ++c)
        plain.record.corners[c] = {1.0f * c, 2.0f, -1.0f * c};
    SailEntry rigged = plain;
    rigged.record.sailIndex = 6;
    rigged.record.shape = kTriangularSailShape;
    SailAttachedMesh rope;
    rope.textureName = "rope.tga";
    rope.vertices = {ClfVertex{1, 2, 3, 0, 0, 1, 0xFFFFFFFFu}, ClfVertex{4, 5, 6, 0, 1, 0, 5}};
    ClfTriangle t;
    t.u[0] = 0.5f;
    rope.triangles = {t};
    rigged.attached = {rope, rope};
    return {plain, rigged};
}

std::vector<SailEntry> scaledSails(std::vector<SailEntry> entries, float f) {
    for (SailEntry& e : entries) {
        e.record.depth *= f;
        for (auto& corner : e.record.corners) {
            for (float& v : corner)
                v *= f;
        }
        for (SailAttachedMesh& mesh : e.attached) {
            for (ClfVertex& v : mesh.vertices) {
                v.x *= f;
                v.y *= f;
                v.z *= f;
            }
        }
    }
    return entries;
}

Bytes withTail(Bytes bytes) {
    for (std::uint8_t b : {0x41, 0x00, 0xFF, 0x42, 0x43, 0x00, 0x7F, 0x80, 0x3F, 0x01})
        bytes.push_back(b);
    return bytes;
}

TEST(FileRescaling, ChangesExactlyThePositionsOfEachFormat) {
    struct Case {
        const char* what;
        Bytes original;
        float factor;
        Bytes expected;
        std::optional<Bytes> (*rescale)(std::span<const std::uint8_t>, float);
    };
    const Case cases[] = {
        {"CLF by 2", writeClf(clfModel(0, false)), 2, writeClf(scaledClf(clfModel(0, false), 2)),
         &rescaledClf},
        {"edited CLF: key records skipped", writeClf(clfModel(kClfEditedVersion, true)), 3,
         writeClf(scaledClf(clfModel(kClfEditedVersion, true), 3)), &rescaledClf},
        // The readers step over key records whatever the version, and so must the rescaler.
        {"CLF of another version with key records", writeClf(clfModel(1, true)), 2,
         writeClf(scaledClf(clfModel(1, true), 2)), &rescaledClf},
        {"CFF by 0.5", writeCff(cffModel()), 0.5f, writeCff(scaledCff(cffModel(), 0.5f)),
         &rescaledCff},
        {"sail file by 1.5", writeSailFile(sailEntries()), 1.5f,
         writeSailFile(scaledSails(sailEntries(), 1.5f)), &rescaledSailFile},
        // Fewer bytes than a record after the last entry: the sail reader passes over them.
        {"sail file with trailing bytes", withTail(writeSailFile(sailEntries())), 2,
         withTail(writeSailFile(scaledSails(sailEntries(), 2))), &rescaledSailFile},
    };
    for (const Case& c : cases) {
        const auto scaled = c.rescale(c.original, c.factor);
        ASSERT_TRUE(scaled) << c.what;
        EXPECT_EQ(*scaled, c.expected) << c.what;
    }
}

TEST(FileRescaling, CffDecodesToScaledPositions) {
    const auto scaled = rescaledCff(writeCff(cffModel()), 0.5f);
    ASSERT_TRUE(scaled);
    const auto model = parseCff(*scaled);
    ASSERT_TRUE(model);
    // Decoding: p × 2 × scale / 65536 + origin, for vertex 1 of the first object (px = 100).
    const float before = 100.0f * 2 * 2 / 65536 + 10;
    const float after = 100.0f * 2 * model->header.scale[0] / 65536 + model->header.origin[0];
    EXPECT_FLOAT_EQ(after, before * 0.5f);
}

TEST(FileRescaling, EveryTruncatedFileIsRefusedUnlessItsReaderReadsItWhole) {
    const std::pair<Bytes, std::optional<Bytes> (*)(std::span<const std::uint8_t>, float)> files[] =
        {
            {writeClf(clfModel(0, false)), &rescaledClf},
            {writeClf(clfModel(kClfEditedVersion, true)), &rescaledClf},
            {writeCff(cffModel()), &rescaledCff},
            {writeSailFile(sailEntries()), &rescaledSailFile},
        };
    const std::size_t firstSailEntry = 64;
    for (const auto& [bytes, rescale] : files) {
        for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
            const auto prefix = std::span(bytes).first(cut);
            // A sail file cut after its first entry, or before it, has only whole entries and
            // then fewer bytes than a record, which the sail reader passes over.
            const bool whole = rescale == &rescaledSailFile && cut < firstSailEntry + 64;
            EXPECT_EQ(rescale(prefix, 2).has_value(), whole) << "cut at " << cut;
        }
    }
}

TEST(FileRescaling, RefusesHostileCountsAndUselessFactors) {
    Bytes cff = writeCff(cffModel());
    const std::int32_t negative = -1;
    std::memcpy(cff.data() + 24, &negative, 4);  // textureNameCount
    EXPECT_FALSE(rescaledCff(cff, 2));

    Bytes clf = writeClf(clfModel(0, false));
    const std::uint32_t huge = 0xFFFFFFFF;
    std::memcpy(clf.data() + 16, &huge, 4);  // levelCount
    EXPECT_FALSE(rescaledClf(clf, 2));

    const Bytes good = writeClf(clfModel(0, false));
    for (float f :
         {0.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_FALSE(rescaledClf(good, f)) << f;
        EXPECT_FALSE(rescaledDefPositions(Bytes{0, 0, 0, 0}, f)) << f;
    }
}

Bytes defFile(std::int32_t count, int records) {
    Bytes out(4);
    std::memcpy(out.data(), &count, 4);
    for (int i = 0; i < records; ++i) {
        Bytes record(296, 0);
        const float values[6] = {1.0f + i, 2, 3, 0.5f, 0.25f, 0.125f};
        std::memcpy(record.data() + 268, values, sizeof values);
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

TEST(FileRescaling, DefScalesThePositionsOfTheRecordsPresent) {
    // The count says 5, three are there, and a partial fourth stays as it is.
    Bytes original = defFile(5, 3);
    original.insert(original.end(), 100, 0x77);
    const auto scaled = rescaledDefPositions(original, 2);
    ASSERT_TRUE(scaled);
    ASSERT_EQ(scaled->size(), original.size());
    for (int i = 0; i < 3; ++i) {
        float values[6];
        std::memcpy(values, scaled->data() + 4 + 296 * i + 268, sizeof values);
        EXPECT_EQ(values[0], 2.0f * (1 + i));
        EXPECT_EQ(values[1], 4.0f);
        EXPECT_EQ(values[2], 6.0f);
        EXPECT_EQ(values[3], 0.5f);  // angles stay
        EXPECT_EQ(values[5], 0.125f);
    }
    EXPECT_TRUE(std::equal(original.end() - 100, original.end(), scaled->end() - 100));

    EXPECT_EQ(*rescaledDefPositions(defFile(-3, 2), 2), defFile(-3, 2));
    // Records beyond the count are not the ship's.
    Bytes countOne = defFile(1, 2);
    const float first[3] = {2, 4, 6};
    std::memcpy(countOne.data() + 4 + 268, first, sizeof first);
    EXPECT_EQ(*rescaledDefPositions(defFile(1, 2), 2), countOne);
    EXPECT_FALSE(rescaledDefPositions(Bytes{1, 0}, 2));
}

TEST(FileRescaling, FilesAreRewrittenOrLeftByteForByte) {
    test::TempDir dir;
    const Bytes good = writeClf(clfModel(0, false));
    const std::string goodPath = dir.file("good.clf");
    test::writeBytes(goodPath, good);
    EXPECT_TRUE(rescaleClf(goodPath, 2));
    EXPECT_EQ(test::readBytes(goodPath), writeClf(scaledClf(clfModel(0, false), 2)));

    const Bytes cut(good.begin(), good.end() - 10);
    const std::string cutPath = dir.file("cut.clf");
    test::writeBytes(cutPath, cut);
    EXPECT_FALSE(rescaleClf(cutPath, 2));
    EXPECT_EQ(test::readBytes(cutPath), cut);

    // A file its owner may not write is left alone (as opening it for writing would fail).
    const std::string lockedPath = dir.file("locked.sail");
    const Bytes sails = writeSailFile(sailEntries());
    test::writeBytes(lockedPath, sails);
    std::filesystem::permissions(
        lockedPath, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_FALSE(rescaleSailFile(lockedPath, 2));
    EXPECT_EQ(test::readBytes(lockedPath), sails);

    EXPECT_FALSE(rescaleCff(dir.file("missing.cff"), 2));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.cff")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

TEST(FileRescaling, ALinkedFileIsRescaledWhereItLies) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("parts"));
    const std::string target = dir.file("parts/mast.clf");
    const Bytes original = writeClf(clfModel(0, false));
    test::writeBytes(target, original);
    const std::string link = dir.file("mast.clf");
    std::error_code ec;
    std::filesystem::create_symlink(target, link, ec);
    if (ec)
        GTEST_SKIP() << "symbolic links cannot be made here";

    EXPECT_TRUE(rescaleClf(link, 2));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::readBytes(target), writeClf(scaledClf(clfModel(0, false), 2)));
}

#ifndef _WIN32
TEST(FileRescaling, AFileTheUserMayNotOpenForWritingIsLeftAlone) {
    // Only root can hand a file to another user; the rescaling then runs as that other user,
    // in a directory everyone may write to, so replacing the file would be possible.
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as a second user";
    test::TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    const std::string path = dir.file("shared.clf");
    const Bytes original = writeClf(clfModel(0, false));
    test::writeBytes(path, original);
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        ::_exit(rescaleClf(path, 2) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "no second user to switch to here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "reported as rescaled";
    EXPECT_EQ(test::readBytes(path), original);
}
#endif

}  // namespace
}  // namespace slipway
