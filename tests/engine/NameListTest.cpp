#include <gtest/gtest.h>

#include "engine/NameList.h"

namespace slipway {
namespace {

TEST(NameList, KeepsAtMost32CharactersAndRefusesWhenFull) {
    NameList list(2);
    const std::string exact(32, 'a');
    const std::string longer = std::string(32, 'b') + "overflow";
    EXPECT_TRUE(list.append(exact));
    EXPECT_TRUE(list.append(longer));
    EXPECT_FALSE(list.append("third"));
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(list.nameAt(0), exact);
    EXPECT_EQ(list.nameAt(1), std::string(32, 'b'));
    EXPECT_EQ(list.nameAt(7), "");
}

TEST(NameList, UniqueFormKeepsEachNameOnceIgnoringCase) {
    NameList list(3, true);
    EXPECT_TRUE(list.append("Deck"));
    EXPECT_TRUE(list.append("hull"));
    EXPECT_TRUE(list.append("DECK"));  // already there: success, nothing stored
    EXPECT_TRUE(list.append("sail"));
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(list.nameAt(2), "sail");
    EXPECT_EQ(list.indexOf("HULL"), 1u);
    EXPECT_EQ(list.indexOf("mast"), 0u);
    EXPECT_TRUE(list.append("Sail"));  // full, but already there
    EXPECT_FALSE(list.append("mast"));
}

}  // namespace
}  // namespace slipway
