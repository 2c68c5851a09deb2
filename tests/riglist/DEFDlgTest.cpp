#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "TempDir.h"
#include "TestFiles.h"
#include "base/UserPrompt.h"
#include "formats/DefVocabulary.h"
#include "riglist/DEFDlg.h"
#include "riglist/MyList.h"
#include "riglist/SettingsDlg.h"
#include "support/DefBuilder.h"

// The font configuration library keeps caches for the life of the process; the leak checker
// is told so, and still reports everything else.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace slipway {
namespace {

using test::DefBuilder;

void ensureApplication() {
    static int argc = 1;
    static char name[] = "riglist_dialog_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

class DEFDlgTest : public testing::Test {
  protected:
    void SetUp() override {
        DefBuilder def;
        def.model("hull.clf")
            .add({.cls = 202, .type = 1, .file = "sails.sai", .y = 16.0f, .link = 0})
            .add({.cls = 203, .type = 13, .link = 0})
            .add({.cls = 204, .type = 2, .link = 1})
            .add({.cls = 201, .type = 0, .file = "yard.cff", .link = 0});
        def.write(dir.file("ship.def"));
        original = test::readBytes(dir.file("ship.def"));
        dialog.show();
    }

    void open(const QString& path) {
        dialog.setFileChooser([path] { return path; });
        dialog.button("openFile")->click();
    }
    QString cell(int row, int column) const {
        const QTableWidgetItem* item = dialog.list()->item(row, column);
        return item ? item->text() : QString("<none>");
    }
    QStringList titles() const {
        QStringList out;
        for (int c = 0; c < dialog.list()->columnCount(); ++c) {
            out << dialog.list()->horizontalHeaderItem(c)->text();
        }
        return out;
    }
    QPoint centreOf(int row, int column) const {
        return dialog.list()->visualRect(dialog.list()->model()->index(row, column)).center();
    }
    void doubleClick(int row, int column) {
        QTest::mouseDClick(dialog.list()->viewport(), Qt::LeftButton, {}, centreOf(row, column));
    }
    void click(int row) {
        QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {}, centreOf(row, 0));
    }
    bool editing() const {
        return dialog.editBox()->isEnabled() && dialog.applyButton()->isEnabled();
    }
    void type(const QString& text) {
        dialog.editBox()->setText(text);
        dialog.applyButton()->click();
    }

    bool appReady = (ensureApplication(), true);  // before any widget
    test::TempDir dir;
    std::vector<std::uint8_t> original;
    ScriptedPrompt prompt;
    DEFDlg dialog{prompt};
};

TEST_F(DEFDlgTest, BeforeAnyFileOnlyTheHeadersShow) {
    EXPECT_EQ(dialog.windowTitle(), "Riglist");
    EXPECT_EQ(titles(), QStringList({"Num", "Class", "Class Name", "Type", "Type Name", "Link"}));
    EXPECT_EQ(dialog.list()->rowCount(), 0);
    EXPECT_EQ(dialog.countText()->text(), "");
    for (const char* name : {"newRecord", "deleteRecord", "saveFile"}) {
        EXPECT_FALSE(dialog.button(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(dialog.editBox()->isEnabled());
    EXPECT_FALSE(dialog.applyButton()->isEnabled());
    EXPECT_TRUE(dialog.applyButton()->isDefault());
    // OK with nothing open writes nothing and closes.
    dialog.button("ok")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(DEFDlgTest, OpeningShowsTheRecords) {
    open(dir.file("ship.def").c_str());
    EXPECT_EQ(dialog.windowTitle(), "Riglist - ship.def");
    EXPECT_EQ(dialog.countText()->text(), "5");
    EXPECT_EQ(dialog.document().path, dir.file("ship.def"));
    for (const char* name : {"newRecord", "deleteRecord", "saveFile"}) {
        EXPECT_TRUE(dialog.button(name)->isEnabled()) << name;
    }
    ASSERT_EQ(dialog.list()->rowCount(), 5);
    EXPECT_EQ(cell(1, 2), "Sail");
    EXPECT_EQ(cell(1, 4), "SL_S");
    EXPECT_EQ(cell(2, 3), "13");
    EXPECT_EQ(cell(2, 4), "Right_Cannon");
    EXPECT_EQ(cell(3, 5), "1");
}

TEST_F(DEFDlgTest, ACancelledOrRefusedOpenKeepsTheFileThatIsWritten) {
    open(dir.file("ship.def").c_str());
    DefBuilder().model("a.clf").announce(201).write(dir.file("big.def"));
    const auto bigBytes = test::readBytes(dir.file("big.def"));

    open("");  // the open-file dialog cancelled
    open(dir.file("big.def").c_str());
    open(dir.file("missing.def").c_str());
    EXPECT_EQ(dialog.windowTitle(), "Riglist - ship.def");
    EXPECT_EQ(dialog.document().path, dir.file("ship.def"));
    EXPECT_EQ(dialog.list()->rowCount(), 5);
    EXPECT_TRUE(dialog.button("saveFile")->isEnabled());

    dialog.button("newRecord")->click();
    dialog.button("saveFile")->click();
    EXPECT_EQ(test::readBytes(dir.file("big.def")), bigBytes);
    EXPECT_EQ(test::readBytes(dir.file("ship.def")).size(), 4u + 6 * 296);
    EXPECT_TRUE(prompt.texts().empty());
}

TEST_F(DEFDlgTest, ADoubleClickedCellIsCheckedAndStoredOnApply) {
    open(dir.file("ship.def").c_str());
    doubleClick(0, 1);
    ASSERT_TRUE(editing());
    EXPECT_EQ(dialog.editBox()->text(), "200");
    EXPECT_EQ(dialog.helpText()->text().toStdString(), defClassHelp());

    type("202 sail now");
    EXPECT_FALSE(editing());
    EXPECT_EQ(dialog.document().records[0].Class, 202);
    EXPECT_EQ(cell(0, 1), "202 sail now");  // as typed until the list is rebuilt
    EXPECT_EQ(cell(0, 2), "Sail");
    EXPECT_EQ(cell(0, 4), "SL_T");

    doubleClick(1, 3);  // the type of a sail
    ASSERT_TRUE(editing());
    EXPECT_EQ(dialog.helpText()->text().toStdString(), defTypeHelp(202));
    type("7");
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Uncorrect Value"});
    EXPECT_EQ(dialog.document().records[1].Type, 1);
    EXPECT_EQ(cell(1, 3), "1");
    EXPECT_FALSE(editing());

    doubleClick(1, 3);
    type("6");
    EXPECT_EQ(dialog.document().records[1].Type, 6);
    EXPECT_EQ(cell(1, 4), "SL_G");

    doubleClick(4, 5);  // link
    type("5");          // the record count
    EXPECT_EQ(prompt.texts().size(), 2u);
    doubleClick(4, 5);
    type("-1");
    EXPECT_EQ(dialog.document().records[4].Link, -1);
}

TEST_F(DEFDlgTest, NumAndNameCellsEnableNothing) {
    open(dir.file("ship.def").c_str());
    for (int column : {0, 2, 4}) {
        doubleClick(1, column);
        EXPECT_FALSE(editing()) << column;
    }
    // An earlier edit does not carry over to such a cell.
    doubleClick(1, 1);
    ASSERT_TRUE(editing());
    doubleClick(1, 2);
    EXPECT_FALSE(editing());
    dialog.applyEdit();
    EXPECT_EQ(dialog.document().records[1].Class, 202);
    EXPECT_TRUE(prompt.texts().empty());
}

TEST_F(DEFDlgTest, OnlyALeftDoubleClickBeginsAnEdit) {
    open(dir.file("ship.def").c_str());
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseDClick(dialog.list()->viewport(), button, {}, centreOf(1, 1));
        EXPECT_FALSE(editing()) << button;
    }
    QTest::mouseDClick(dialog.list()->viewport(), Qt::LeftButton, {}, centreOf(1, 1));
    EXPECT_TRUE(editing());
}

TEST_F(DEFDlgTest, EditingFollowsTheSelectedRow) {
    open(dir.file("ship.def").c_str());
    doubleClick(2, 1);
    ASSERT_TRUE(editing());
    click(3);
    EXPECT_FALSE(editing());
    click(2);
    EXPECT_TRUE(editing());
    type("201");
    click(3);
    click(2);
    EXPECT_FALSE(editing());  // until the next double-click
    EXPECT_EQ(dialog.document().records[2].Class, 201);
}

TEST_F(DEFDlgTest, NewAndDeletedRecords) {
    open(dir.file("ship.def").c_str());
    for (int i = 0; i < 5; ++i)
        dialog.button("newRecord")->click();
    EXPECT_TRUE(prompt.texts().empty());
    EXPECT_EQ(dialog.countText()->text(), "10");
    EXPECT_EQ(cell(5, 0), "5");
    EXPECT_EQ(cell(5, 1), "200");
    EXPECT_EQ(cell(5, 2), "Model");
    EXPECT_EQ(cell(5, 3), "0");
    EXPECT_EQ(cell(5, 5), "1");
    dialog.button("newRecord")->click();
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Very Many Items"});
    EXPECT_EQ(dialog.list()->rowCount(), 10);

    dialog.button("deleteRecord")->click();  // no row selected
    EXPECT_EQ(dialog.document().count(), 10);
    click(2);
    dialog.button("deleteRecord")->click();
    EXPECT_EQ(dialog.countText()->text(), "9");
    EXPECT_EQ(cell(0, 0) + cell(1, 0) + cell(2, 0) + cell(3, 0), "0134");

    dialog.button("newRecord")->click();  // the deletion made room for one
    EXPECT_EQ(prompt.texts().size(), 1u);
    EXPECT_EQ(cell(9, 0), "9");
}

TEST_F(DEFDlgTest, DeletingTheEditedRowEndsTheEdit) {
    open(dir.file("ship.def").c_str());
    const DefRecord next = dialog.document().records[3];
    doubleClick(2, 5);
    ASSERT_TRUE(editing());
    dialog.button("deleteRecord")->click();
    EXPECT_FALSE(editing());
    dialog.editBox()->setText("-1");
    dialog.applyEdit();
    EXPECT_EQ(dialog.document().records[2], next);  // the record that moved up is untouched
}

TEST_F(DEFDlgTest, TheSettingsRebuildTheColumns) {
    open(dir.file("ship.def").c_str());
    auto answer = [](bool confirm) {
        QTimer::singleShot(0, [confirm] {
            auto* settings = qobject_cast<SettingsDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(settings, nullptr);
            EXPECT_EQ(settings->windowTitle(), "Settings");
            settings->checkBox(DefField::Class)->setChecked(false);
            settings->checkBox(DefField::Type)->setChecked(false);
            settings->findChild<QPushButton*>(confirm ? "ok" : "cancel")->click();
        });
    };
    answer(false);
    dialog.button("settings")->click();
    EXPECT_EQ(titles().size(), 6);

    answer(true);
    dialog.button("settings")->click();
    EXPECT_EQ(titles(), QStringList({"Num", "Link"}));
    EXPECT_EQ(dialog.currentColumnMap()[DefField::Link], 1);
    doubleClick(4, 1);
    type("2");
    EXPECT_EQ(dialog.document().records[4].Link, 2);
}

// The controls whose text does not fit them, as "text (needed > available)". Labels are
// checked line by line and for their height as well.
std::string clippedTexts(const QWidget& window) {
    QStringList out;
    auto check = [&out](const QString& text, int needed, int available) {
        if (needed > available)
            out << QString("%1 (%2 > %3)").arg(text).arg(needed).arg(available);
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                          -label->margin(), -label->margin());
        const QStringList lines = label->text().split('\n');
        for (const QString& line : lines)
            check(line, label->fontMetrics().horizontalAdvance(line), room.width());
        check(label->text(), int(lines.size()) * label->fontMetrics().height(), room.height());
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        check(button->text(), button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin,
              button->width());
    }
    for (const QCheckBox* box : window.findChildren<QCheckBox*>())
        check(box->text(), box->sizeHint().width(), box->width());
    return out.join("; ").toStdString();
}

TEST_F(DEFDlgTest, EveryTextFitsItsControl) {
    open(dir.file("ship.def").c_str());
    EXPECT_EQ(clippedTexts(dialog), "");
    // The help box holds the longest help texts.
    for (const std::string_view help : {defClassHelp(), defTypeHelp(202), defTypeHelp(203)}) {
        dialog.helpText()->setText(QString::fromLatin1(help.data(), qsizetype(help.size())));
        EXPECT_EQ(clippedTexts(dialog), "");
    }
    ensureApplication();
    SettingsDlg settings{ColumnSettings{}};
    EXPECT_EQ(clippedTexts(settings), "");
}

TEST(SettingsDlg, CheckBoxesInTheirOrder) {
    ensureApplication();
    ColumnSettings settings;
    settings[DefField::Az] = true;
    SettingsDlg dialog(settings);
    const auto boxes = dialog.findChildren<QCheckBox*>();
    QStringList texts;
    for (const QCheckBox* box : boxes)
        texts << box->text();
    EXPECT_EQ(texts,
              QStringList({"Class", "Type", "File", "X", "Y", "Z", "Ax", "Ay", "Az", "Link"}));
    for (int i = 1; i < boxes.size(); ++i)
        EXPECT_GT(boxes[i]->y(), boxes[i - 1]->y());
    EXPECT_EQ(dialog.settings(), settings);
    EXPECT_NE(dialog.findChild<QLabel*>(), nullptr);
    EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Select columns what you like to see");
}

TEST_F(DEFDlgTest, OkWritesAndCancelDoesNot) {
    open(dir.file("ship.def").c_str());
    doubleClick(0, 3);
    type("221");
    dialog.button("cancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(test::readBytes(dir.file("ship.def")), original);

    DEFDlg second(prompt);
    second.show();
    second.openFile(dir.file("ship.def").c_str());
    auto* list = second.list();
    list->setCurrentCell(0, 3);
    emit list->cellHit(0, 3);
    second.editBox()->setText("221");
    second.applyEdit();
    second.button("ok")->click();
    EXPECT_EQ(second.result(), QDialog::Accepted);
    const auto saved = readDefFile(dir.file("ship.def"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->records[0].Type, 221);
}

TEST_F(DEFDlgTest, AFailedSaveIsToldAndOkStaysOpen) {
    open(dir.file("ship.def").c_str());
    // The file's place taken by a directory: the rename over it fails.
    std::filesystem::remove(dir.file("ship.def"));
    std::filesystem::create_directory(dir.file("ship.def"));
    dialog.button("saveFile")->click();
    ASSERT_EQ(prompt.texts().size(), 1u);
    EXPECT_EQ(prompt.texts()[0], "Cannot save the DEF file\n" + dir.file("ship.def"));
    dialog.button("ok")->click();
    EXPECT_EQ(prompt.texts().size(), 2u);
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace slipway
