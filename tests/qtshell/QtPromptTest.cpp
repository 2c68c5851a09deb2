// The prompt's message boxes: caption, text as given (decoded like the paths the programs hand
// to the libraries, never read as markup), the icon and buttons of each kind of box, and the
// answer for every way of closing it.

#include <functional>
#include <memory>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "TestApplication.h"
#include "qtshell/QtPrompt.h"

namespace slipway {
namespace {

// What the open box looked like.
struct Seen {
    QString caption;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* owner = nullptr;
};

class QtPromptTest : public testing::Test {
  protected:
    // Shows the box and, once it is open, notes what it shows and closes it with `close`.
    PromptAnswer answer(std::string_view text, PromptButtons buttons,
                        std::function<void(QMessageBox&)> close) {
        seen = Seen{};
        QTimer::singleShot(0, [this, close] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                ADD_FAILURE() << "no message box open";
                return;
            }
            seen = {box->windowTitle(),     box->text(),        box->textFormat(), box->icon(),
                    box->standardButtons(), box->parentWidget()};
            close(*box);
        });
        return prompt.show(text, buttons);
    }
    static std::function<void(QMessageBox&)> press(QMessageBox::StandardButton button) {
        return [button](QMessageBox& box) { box.button(button)->click(); };
    }

    QApplication& app = test::testApplication();
    QtPrompt prompt{"Riglist"};
    Seen seen;
};

TEST_F(QtPromptTest, EachKindOfBoxHasItsIconButtonsAndAnswers) {
    using B = QMessageBox;
    const auto escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
    const auto closeBox = [](QMessageBox& box) { box.close(); };
    const auto rejectBox = [](QMessageBox& box) { box.reject(); };
    struct Case {
        const char* how;
        PromptButtons buttons;
        std::function<void(QMessageBox&)> close;
        PromptAnswer expected;
    };
    const Case cases[] = {
        {"OK", PromptButtons::Ok, press(B::Ok), PromptAnswer::Ok},
        {"Escape", PromptButtons::Ok, escape, PromptAnswer::Ok},
        {"OK", PromptButtons::OkCancel, press(B::Ok), PromptAnswer::Ok},
        {"Cancel", PromptButtons::OkCancel, press(B::Cancel), PromptAnswer::Cancel},
        {"Escape", PromptButtons::OkCancel, escape, PromptAnswer::Cancel},
        {"close box", PromptButtons::OkCancel, closeBox, PromptAnswer::Cancel},
        {"Yes", PromptButtons::YesNo, press(B::Yes), PromptAnswer::Yes},
        {"No", PromptButtons::YesNo, press(B::No), PromptAnswer::No},
        {"Escape", PromptButtons::YesNo, escape, PromptAnswer::No},
        {"close box", PromptButtons::YesNo, closeBox, PromptAnswer::No},
        // Closed by the program without any button: never taken for a yes.
        {"rejected", PromptButtons::YesNo, rejectBox, PromptAnswer::No},
        {"rejected", PromptButtons::OkCancel, rejectBox, PromptAnswer::Cancel},
    };
    for (const Case& c : cases) {
        const int kind = static_cast<int>(c.buttons);
        EXPECT_EQ(answer("Overwrite file x.tga", c.buttons, c.close), c.expected)
            << c.how << " in box " << kind;
        EXPECT_EQ(seen.caption, "Riglist");
        switch (c.buttons) {
            case PromptButtons::Ok:
                EXPECT_EQ(seen.buttons, B::Ok);
                EXPECT_EQ(seen.icon, B::Warning);
                break;
            case PromptButtons::OkCancel:
                EXPECT_EQ(seen.buttons, B::Ok | B::Cancel);
                EXPECT_EQ(seen.icon, B::Warning);
                break;
            case PromptButtons::YesNo:
                EXPECT_EQ(seen.buttons, B::Yes | B::No);
                EXPECT_EQ(seen.icon, B::Question);
                break;
        }
    }
}

TEST_F(QtPromptTest, TextIsShownAsGiven) {
    // A path the program handed to a library comes back in the message unchanged, line feed,
    // non-ASCII letters, markup-like characters and all.
    const QString path = QString::fromUtf8("/home/ané/<b>Korábl</b> & co/ship.def");
    const std::string text = "Cannot save the DEF file\n" + path.toLocal8Bit().toStdString();
    answer(text, PromptButtons::Ok, press(QMessageBox::Ok));
    EXPECT_EQ(seen.text, "Cannot save the DEF file\n" + path);
    EXPECT_EQ(seen.format, Qt::PlainText);
}

TEST_F(QtPromptTest, BoxesBelongToTheOwnerWhileItLives) {
    answer("Very Many Items", PromptButtons::Ok, press(QMessageBox::Ok));
    EXPECT_EQ(seen.owner, nullptr);

    auto owner = std::make_unique<QWidget>();
    prompt.setOwner(owner.get());
    answer("Very Many Items", PromptButtons::Ok, press(QMessageBox::Ok));
    EXPECT_EQ(seen.owner, owner.get());

    owner.reset();  // the window closed before the program's last message
    EXPECT_EQ(answer("Uncorrect Value", PromptButtons::Ok, press(QMessageBox::Ok)),
              PromptAnswer::Ok);
    EXPECT_EQ(seen.owner, nullptr);
}

}  // namespace
}  // namespace slipway
