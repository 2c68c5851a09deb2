#include "base/WildcardMask.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestFiles.h"

namespace slipway {
namespace {

TEST(WildcardMask, FollowsTheDirectorySearchRules) {
    struct Case {
        const char* mask;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.*", "README", true},      {"*.*", ".", true},          {"*.*", "..", true},
        {"*", "a.b.c", true},         {"*.clf", "HULL.CLF", true}, {"*.clf", "hull.cff", false},
        {"h?ll.*", "hull.clf", true}, {"h?ll.*", "hll.clf", false}, {"hull.*", "hull", true},
        {"*.tga", "a.tga.bak", false}, {"a*b*c", "aXbYbZc", true},  {"a*b*c", "aXbYbZ", false},
        {"", "x", false},             {"abc", "ABC", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matchesMask(c.mask, c.name), c.match) << c.mask << " / " << c.name;
    }
}

TEST(WildcardMask, ListsMatchesInNameOrderIncludingDotEntries) {
    test::TempDir dir;
    test::writeText(dir.file("b.dat"), "");
    test::writeText(dir.file("a.DAT"), "");
    test::writeText(dir.file("c.txt"), "");
    EXPECT_EQ(listMatches(dir.path(), "*.dat"), (std::vector<std::string>{"a.DAT", "b.dat"}));
    EXPECT_EQ(listMatches(dir.path(), "*.*"),
              (std::vector<std::string>{".", "..", "a.DAT", "b.dat", "c.txt"}));
    EXPECT_TRUE(listMatches(dir.file("missing"), "*.*").empty());
}

}  // namespace
}  // namespace slipway
