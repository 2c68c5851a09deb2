#include <gtest/gtest.h>

#include "TempDir.h"
#include "formats/DefEditing.h"
#include "formats/DefVocabulary.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

using test::DefBuilder;

TEST(DefVocabulary, NamesComeFromTheTableOfTheRecordsClass) {
    const struct {
        std::int32_t cls, type;
        const char* className;
        const char* typeName;
    } cases[] = {
        {200, 220, "Model", "Takelag"},
        {200, 222, "Model", "Bushprit"},
        {200, 0, "Model", ""},
        {201, 1, "Rey", "REY_Y"},
        {201, 220, "Rey", ""},
        {202, 6, "Sail", "SL_G"},
        {202, 7, "Sail", ""},
        {203, 0, "Cannon", "Front_Cannon"},
        {203, 13, "Cannon", "Right_Cannon"},  // cannon types repeat every ten
        {203, 21, "Cannon", "Left_Cannon"},
        {203, 14, "Cannon", ""},
        {203, -13, "Cannon", ""},
        {204, 2, "Flag", "Vimpel"},
        {205, 221, "WaterLine", "Front_Mast"},
        {206, 220, "Patch", "Takelag"},
        {207, 0, "CannonSet", ""},
        {208, 0, "AllCannons", ""},
        {209, 0, "ShipTrace", ""},
        {210, 221, "", "Front_Mast"},  // classes without names take the model table
        {0, 222, "", "Bushprit"},
        {199, 0, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls << "/" << c.type);
        EXPECT_EQ(defClassName(c.cls), c.className);
        EXPECT_EQ(defTypeName(c.cls, c.type), c.typeName);
    }
}

TEST(DefVocabulary, HelpTextsForTheEditedField) {
    DefRecord cannon;
    cannon.Class = 203;
    EXPECT_EQ(defEditHelp(cannon, DefField::Type),
              "1 - CAN_LEFT    2 - CAN_REAR\n3 - CAN_RIGHT     0 - CAN_FRONT");
    EXPECT_EQ(defEditHelp(cannon, DefField::Class),
              "200 - MODEL      201 - REY\n202 - SAIL           203 - CANNON\n204 - FLAG         "
              " 205 - WATERLINE\n206 - PATCH              207 - CANNON_SET\n208 - ALL_CANNONS  "
              "         209 - SHIP_TRACE");
    EXPECT_FALSE(defEditHelp(cannon, DefField::X));
    cannon.Class = 205;
    EXPECT_EQ(defEditHelp(cannon, DefField::Type), "");
    EXPECT_EQ(defTypeHelp(202).substr(0, 22), "0 - SL_T (Usial Sail)\n");
}

DefDocument threeRecordShip() {
    DefBuilder def;
    def.model("hull.clf")
        .add({.cls = 202, .type = 1, .file = "sails.sai", .link = 0, .fileTail = "xyz"})
        .add({.cls = 203, .type = 2, .link = 0});
    auto doc = parseDefDocument(def.bytes());
    return *doc;
}

TEST(DefEditing, TypedValuesAreCheckedAndStored) {
    const struct {
        std::int32_t row;
        DefField field;
        const char* text;
        EditResult result;
    } cases[] = {
        {0, DefField::Class, "abc", EditResult::Stored},  // reads as 0, which is a class
        {0, DefField::Class, "201 and letters", EditResult::Stored},
        {0, DefField::Class, "215", EditResult::Stored},
        {0, DefField::Class, "216", EditResult::Refused},
        {0, DefField::Class, "199", EditResult::Refused},
        {0, DefField::Class, "-200", EditResult::Refused},
        {0, DefField::Type, "-12345", EditResult::Stored},  // MODEL: any type
        {1, DefField::Type, "6", EditResult::Stored},
        {1, DefField::Type, "7", EditResult::Refused},
        {1, DefField::Type, "-1", EditResult::Refused},
        {2, DefField::Type, "3", EditResult::Stored},
        {2, DefField::Type, "13", EditResult::Refused},  // the list names 13, the check does not
        {0, DefField::Link, "-1", EditResult::Stored},
        {0, DefField::Link, "2", EditResult::Stored},
        {0, DefField::Link, "3", EditResult::Refused},  // the record count
        {0, DefField::Link, "-2", EditResult::Refused},
        {0, DefField::X, "garbage", EditResult::Stored},
        {0, DefField::File, "", EditResult::Stored},
        {3, DefField::X, "1", EditResult::Ignored},  // no such record
        {-1, DefField::X, "1", EditResult::Ignored},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        DefDocument doc = threeRecordShip();
        const DefDocument before = doc;
        EXPECT_EQ(applyEdit(doc, c.row, c.field, c.text), c.result);
        if (c.result != EditResult::Stored) {
            EXPECT_EQ(doc.records, before.records);
        }
    }
}

TEST(DefEditing, StoredValuesLandInTheirFieldsOnly) {
    DefDocument doc = threeRecordShip();
    ASSERT_EQ(applyEdit(doc, 0, DefField::Class, "201abc"), EditResult::Stored);
    EXPECT_EQ(doc.records[0].Class, 201);
    ASSERT_EQ(applyEdit(doc, 0, DefField::Class, "abc"), EditResult::Stored);
    EXPECT_EQ(doc.records[0].Class, 0);
    EXPECT_EQ(defClassName(doc.records[0].Class), "");

    // A class without type codes keeps any type typed for it.
    ASSERT_EQ(applyEdit(doc, 0, DefField::Class, "210"), EditResult::Stored);
    ASSERT_EQ(applyEdit(doc, 0, DefField::Type, "99"), EditResult::Stored);
    EXPECT_EQ(doc.records[0].Type, 99);

    ASSERT_EQ(applyEdit(doc, 2, DefField::Y, " -1.25e1m"), EditResult::Stored);
    ASSERT_EQ(applyEdit(doc, 2, DefField::Az, "0.5"), EditResult::Stored);
    EXPECT_EQ(doc.records[2].Y, -12.5f);
    EXPECT_EQ(doc.records[2].Az, 0.5f);
    EXPECT_EQ(doc.records[2].X, 0.0f);

    // A new name keeps what follows its terminator; the text is cut to 63 characters.
    ASSERT_EQ(applyEdit(doc, 1, DefField::File, "s.sai"), EditResult::Stored);
    EXPECT_EQ(defFileName(doc.records[1]), "s.sai");
    EXPECT_EQ(std::string(doc.records[1].File.data() + 6, 7), std::string("sai\0xyz", 7));
    ASSERT_EQ(applyEdit(doc, 1, DefField::File, std::string(70, 'q')), EditResult::Stored);
    EXPECT_EQ(defFileName(doc.records[1]), std::string(63, 'q'));

    EXPECT_EQ(applyEdit(doc, 1, std::nullopt, "5"), EditResult::Ignored);
}

TEST(DefEditing, NewRecordsFillTheRoomLeftAtOpening) {
    DefBuilder ten;
    for (int i = 0; i < 10; ++i)
        ten.model("m.clf");
    DefDocument doc = *parseDefDocument(ten.bytes());
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(addDefRecord(doc)) << i;
    EXPECT_FALSE(addDefRecord(doc));
    EXPECT_EQ(doc.count(), 15);
    ASSERT_TRUE(deleteDefRecord(doc, 0));
    EXPECT_TRUE(addDefRecord(doc));
    EXPECT_FALSE(addDefRecord(doc));

    DefDocument none;  // before any file: no room at all
    EXPECT_FALSE(addDefRecord(none));
}

TEST(DefEditing, ANewRecordSavedUnchangedReadsBack) {
    test::TempDir dir;
    DefDocument doc = threeRecordShip();
    ASSERT_TRUE(addDefRecord(doc));
    doc.path = dir.file("ship.def");
    ASSERT_TRUE(writeDefFile(doc));
    const auto back = readDefFile(doc.path);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->count(), 4);
    DefRecord expected;  // all zero but for these
    expected.Num = 3;
    expected.Class = 200;
    expected.Link = 1;
    EXPECT_EQ(back->records[3], expected);
    EXPECT_EQ(back->capacity, 9);
}

TEST(DefEditing, DeletingMovesLaterRecordsUpUnchanged) {
    DefBuilder five;
    for (int i = 0; i < 5; ++i)
        five.model("m.clf", 0, 0, 0, i - 1);
    DefDocument doc = *parseDefDocument(five.bytes());
    ASSERT_TRUE(deleteDefRecord(doc, 2));
    ASSERT_EQ(doc.count(), 4);
    const int nums[] = {0, 1, 3, 4};
    const int links[] = {-1, 0, 2, 3};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(doc.records[i].Num, nums[i]);
        EXPECT_EQ(doc.records[i].Link, links[i]);
    }
    EXPECT_FALSE(deleteDefRecord(doc, 4));
    EXPECT_FALSE(deleteDefRecord(doc, -1));
    EXPECT_EQ(doc.capacity, 10);
}

TEST(DefColumns, TheSwitchesDecideColumnsAndMap) {
    auto titles = [](const ColumnSettings& s, bool atStart = false) {
        std::string out;
        for (const DefColumn& c : defListColumns(s, atStart))
            out += std::string(c.title) + "|";
        return out;
    };
    const ColumnSettings defaults;
    EXPECT_EQ(titles(defaults), "Num|Class|Class Name|Type|Type Name|Link|");
    const ColumnMap map = columnMap(defaults);
    EXPECT_EQ(map[DefField::Class], 1);
    EXPECT_EQ(map[DefField::Type], 3);
    EXPECT_EQ(map[DefField::Link], 5);
    EXPECT_EQ(map[DefField::File], -1);
    EXPECT_EQ(fieldAtColumn(map, 0), std::nullopt);  // Num
    EXPECT_EQ(fieldAtColumn(map, 2), std::nullopt);  // Class Name
    EXPECT_EQ(fieldAtColumn(map, 4), std::nullopt);  // Type Name
    EXPECT_EQ(fieldAtColumn(map, 3), DefField::Type);
    EXPECT_EQ(fieldAtColumn(map, 6), std::nullopt);

    ColumnSettings numAndLink = defaults;
    numAndLink[DefField::Class] = numAndLink[DefField::Type] = false;
    EXPECT_EQ(titles(numAndLink), "Num|Link|");
    EXPECT_EQ(columnMap(numAndLink)[DefField::Link], 1);

    ColumnSettings all;
    all.shown.fill(true);
    EXPECT_EQ(titles(all), "Num|Class|Class Name|Type|Type Name|File|X|Y|Z|Ax|Ay|Az|Link|");
    EXPECT_EQ(columnMap(all)[DefField::Az], 11);
    EXPECT_EQ(fieldAtColumn(columnMap(all), 6), DefField::X);

    const auto file = defListColumns(all)[5];
    EXPECT_EQ(file.align, ColumnAlign::Left);
    EXPECT_EQ(file.width, 80);
    const auto fileAtStart = defListColumns(all, true)[5];
    EXPECT_EQ(fileAtStart.align, ColumnAlign::Center);
    EXPECT_EQ(fileAtStart.width, 70);

    EXPECT_EQ(defFieldFromName("ax"), DefField::Ax);
    EXPECT_EQ(defFieldFromName("Num"), std::nullopt);
}

TEST(DefColumns, CellTexts) {
    DefRecord r;
    r.Num = 7;
    r.Class = 203;
    r.Type = 13;
    setDefFileName(r, "gun.cff");
    r.X = -0.0f;
    r.Y = 123456.0f;
    r.Link = -1;
    EXPECT_EQ(defCellText(r, DefColumnKind::Num), "7");
    EXPECT_EQ(defCellText(r, DefColumnKind::ClassName), "Cannon");
    EXPECT_EQ(defCellText(r, DefColumnKind::TypeName), "Right_Cannon");
    EXPECT_EQ(defCellText(r, DefColumnKind::File), "gun.cff");
    EXPECT_EQ(defCellText(r, DefColumnKind::X), "-0");
    EXPECT_EQ(defCellText(r, DefColumnKind::Y), "1.2346e+05");
    EXPECT_EQ(defCellText(r, DefColumnKind::Link), "-1");
}

}  // namespace
}  // namespace slipway
