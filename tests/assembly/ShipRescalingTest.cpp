// Rescaling a whole ship: the DEF positions and each distinct file the records name, once.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "ModelFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/UserPrompt.h"
#include "engine/SearchPaths.h"
#include "engine/ShipRescaling.h"
#include "formats/ClfFile.h"
#include "formats/DefFile.h"
#include "formats/FileRescaling.h"
#include "formats/SailFile.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::DefBuilder;
using test::DefEntry;

DefEntry entry(int cls, const std::string& file, float x = 1) {
    DefEntry e;
    e.cls = cls;
    e.file = file;
    e.x = x, e.y = 2, e.z = 3;
    e.ax = 0.5f;
    return e;
}

Bytes sailFile(float corner) {
    SailEntry e;
    e.record.corners[0] = {corner, corner, corner};
    return writeSailFile(std::vector{e});
}

struct Ship {
    Ship() : paths(dir.path()) {
        files = {
            {"hull.clf", writeClf(test::clfSquare())},
            {"deck.cff", writeCff(test::cffModel({test::cffFan(3)}))},
            {"main.sail", sailFile(1)},
            {"fore.sail", sailFile(5)},
            {"Piramid.cff", writeCff(test::cffModel({test::cffFan(3)}))},
            {"notes.obj", {1, 2, 3}},
        };
        for (const auto& [name, bytes] : files)
            test::writeBytes(dir.file(name), bytes);
    }
    // What `name` holds after rescaling it once by `factor` on its own.
    Bytes once(const std::string& name, float factor) const {
        const Bytes& bytes = files.at(name);
        if (name.ends_with(".clf"))
            return *rescaledClf(bytes, factor);
        if (name.ends_with(".sail"))
            return *rescaledSailFile(bytes, factor);
        return *rescaledCff(bytes, factor);
    }

    test::TempDir dir;
    SearchPaths paths;
    ScriptedPrompt prompt;
    std::map<std::string, Bytes> files;
    std::string defPath = dir.file("ship.def");
};

TEST(ShipRescaling, EveryDistinctFileIsScaledOnce) {
    Ship ship;
    DefBuilder def;
    def.add(entry(200, "hull.clf"))
        .add(entry(206, "HULL.CLF"))  // the same file by another spelling
        .add(entry(200, "./hull.clf"))
        .add(entry(206, "deck.cff"))
        .add(entry(202, "main.sail"))
        .add(entry(202, "main.sail"))
        .add(entry(202, "fore.sail"))  // a second sail file is scaled too
        .add(entry(202, "main.sail"))
        .add(entry(203, "hull.clf"))  // cannons move; the marker and their file stay
        .add(entry(204, ""))
        .add(entry(200, "notes.obj"))
        .add(entry(201, "deck.cff"));  // a yard names nothing the viewers read
    def.write(ship.defPath);
    const Bytes before = test::readBytes(ship.defPath);

    rescaleShip(ship.defPath, 2, ship.paths, ship.prompt);

    EXPECT_TRUE(ship.prompt.texts().empty());
    for (const char* name : {"hull.clf", "deck.cff", "main.sail", "fore.sail"}) {
        EXPECT_EQ(test::readBytes(ship.dir.file(name)), ship.once(name, 2)) << name;
    }
    for (const char* name : {"Piramid.cff", "notes.obj"}) {
        EXPECT_EQ(test::readBytes(ship.dir.file(name)), ship.files.at(name)) << name;
    }
    const auto document = readDefFile(ship.defPath);
    ASSERT_TRUE(document);
    ASSERT_EQ(document->count(), 12);
    for (const DefRecord& r : document->records) {
        EXPECT_EQ(r.X, 2.0f);
        EXPECT_EQ(r.Y, 4.0f);
        EXPECT_EQ(r.Z, 6.0f);
        EXPECT_EQ(r.Ax, 0.5f);
    }
    EXPECT_EQ(test::readBytes(ship.defPath), *rescaledDefPositions(before, 2));
}

TEST(ShipRescaling, MissingFilesAreReportedOnceAndTheRestGoesOn) {
    Ship ship;
    DefBuilder def;
    def.add(entry(200, "absent.clf"))
        .add(entry(206, "absent.clf"))
        .add(entry(202, "absent.sail"))
        .add(entry(200, "hull.clf"))
        .announce(6);  // two of them are not there
    def.write(ship.defPath);
    rescaleShip(ship.defPath, 0.5f, ship.paths, ship.prompt);
    EXPECT_EQ(ship.prompt.texts(), (std::vector<std::string>{"Can't Find Model: absent.clf",
                                                             "Can't Find Model: absent.sail"}));
    EXPECT_EQ(test::readBytes(ship.dir.file("hull.clf")), ship.once("hull.clf", 0.5f));
    EXPECT_EQ(readDefFile(ship.defPath)->records.at(3).X, 0.5f);
}

TEST(ShipRescaling, ModelsBesideTheDefComeBeforeTheSearchPaths) {
    Ship ship;
    std::filesystem::create_directory(ship.dir.file("ship"));
    const Bytes own = writeClf(test::clfSquare("own"));
    test::writeBytes(ship.dir.file("ship/hull.clf"), own);
    const std::string defPath = ship.dir.file("ship/ship.def");
    DefBuilder().add(entry(200, "hull.clf")).write(defPath);
    rescaleShip(defPath, 3, ship.paths, ship.prompt);
    EXPECT_EQ(test::readBytes(ship.dir.file("ship/hull.clf")), *rescaledClf(own, 3));
    EXPECT_EQ(test::readBytes(ship.dir.file("hull.clf")), ship.files.at("hull.clf"));
}

TEST(ShipRescaling, AnUnreadableOrBrokenDefChangesNothing) {
    Ship ship;
    rescaleShip(ship.dir.file("absent.def"), 2, ship.paths, ship.prompt);
    test::writeBytes(ship.defPath, {1, 0});  // not even a whole count
    rescaleShip(ship.defPath, 2, ship.paths, ship.prompt);
    for (const auto& [name, bytes] : ship.files) {
        EXPECT_EQ(test::readBytes(ship.dir.file(name)), bytes) << name;
    }
    EXPECT_EQ(test::readBytes(ship.defPath), (Bytes{1, 0}));

    // A DEF its owner may not write stays as it is, and so does every file it names.
    DefBuilder().add(entry(200, "hull.clf")).write(ship.defPath);
    const Bytes locked = test::readBytes(ship.defPath);
    std::filesystem::permissions(ship.defPath, std::filesystem::perms::owner_read);
    rescaleShip(ship.defPath, 2, ship.paths, ship.prompt);
    EXPECT_EQ(test::readBytes(ship.defPath), locked);
    for (const auto& [name, bytes] : ship.files) {
        EXPECT_EQ(test::readBytes(ship.dir.file(name)), bytes) << name;
    }
    EXPECT_TRUE(ship.prompt.texts().empty());
}

TEST(ShipRescaling, FilesReachedThroughLinksAreScaledOnceWhereTheyLie) {
    Ship ship;
    std::filesystem::create_directory(ship.dir.file("parts"));
    const std::string shared = ship.dir.file("parts/mast.clf");
    test::writeBytes(shared, ship.files.at("hull.clf"));
    std::error_code ec;
    for (const char* name : {"mast.clf", "spare.clf"})
        std::filesystem::create_symlink(shared, ship.dir.file(name), ec);
    if (ec)
        GTEST_SKIP() << "symbolic links cannot be made here";
    DefBuilder().add(entry(200, "mast.clf")).add(entry(206, "spare.clf")).write(ship.defPath);

    rescaleShip(ship.defPath, 2, ship.paths, ship.prompt);

    // Both names still lead to the one file, and it is scaled once.
    for (const char* name : {"mast.clf", "spare.clf"}) {
        EXPECT_TRUE(std::filesystem::is_symlink(ship.dir.file(name))) << name;
        EXPECT_EQ(test::readBytes(ship.dir.file(name)), ship.once("hull.clf", 2)) << name;
    }
    EXPECT_TRUE(ship.prompt.texts().empty());
}

TEST(ShipRescaling, NamesThatDifferOnlyInCaseMayBeTwoFiles) {
    Ship ship;
    const Bytes other = writeClf(test::clfSquare("other"));
    test::writeBytes(ship.dir.file("HULL.clf"), other);
    if (test::readBytes(ship.dir.file("hull.clf")) == other)
        GTEST_SKIP() << "file names here ignore case";
    DefBuilder().add(entry(200, "HULL.clf")).add(entry(200, "hull.clf")).write(ship.defPath);

    rescaleShip(ship.defPath, 2, ship.paths, ship.prompt);

    EXPECT_EQ(test::readBytes(ship.dir.file("HULL.clf")), *rescaledClf(other, 2));
    EXPECT_EQ(test::readBytes(ship.dir.file("hull.clf")), ship.once("hull.clf", 2));
}

}  // namespace
}  // namespace slipway
