// What the command-line checks say about DEF files the viewers read silently.

#include <random>

#include <gtest/gtest.h>

#include "formats/DefDiagnosis.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

using test::DefBuilder;

TEST(DefDiagnosis, SaysWhatIsWrongWithTheFileAsAWhole) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> noise(1000);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    const auto ship = [] { return DefBuilder().model("hull.clf").model("mast.clf", 0, 1, 0, 0); };
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::optional<std::string> problem;
    };
    const Case cases[] = {
        {"sound", ship().bytes(), std::nullopt},
        {"empty", {}, "not a DEF file (0 bytes)"},
        {"three bytes", {1, 0, 0}, "not a DEF file (3 bytes)"},
        {"negative count", DefBuilder().model("a.clf").announce(-2).bytes(),
         "not a DEF file (300 bytes)"},
        {"random bytes", noise, "not a DEF file (1000 bytes)"},
        {"unknown classes only", DefBuilder().add({.cls = 7}).add({.cls = 300}).bytes(),
         "not a DEF file (596 bytes)"},
        {"no records", DefBuilder().bytes(), "announces no records"},
        {"cut short", ship().announce(27).bytes(), "announces 27 records, holds 2"},
        {"cut in a record", ship().trailing(std::vector<std::uint8_t>(100)).announce(3).bytes(),
         "announces 3 records, holds 2"},
        {"more records than announced", ship().announce(1).bytes(), std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(defFileProblem(c.bytes), c.problem) << c.what;
    }
}

}  // namespace
}  // namespace slipway
