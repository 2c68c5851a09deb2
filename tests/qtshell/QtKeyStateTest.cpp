// The key state port follows presses and releases of P, C and Escape in any window of the
// program, forgets held keys when the program loses the focus, and latches presses until they
// are asked for.

#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "TestApplication.h"
#include "qtshell/QtKeyState.h"

namespace slipway {
namespace {

void send(QWidget& target, QEvent::Type type, int key, bool autoRepeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&target, &event);
}

void click(QWidget& target, int key) {
    send(target, QEvent::KeyPress, key);
    send(target, QEvent::KeyRelease, key);
}

void deactivate() {
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(&test::testApplication(), &deactivate);
}

class QtKeyStateTest : public testing::Test {
  protected:
    QApplication& app = test::testApplication();
    QtKeyState keys;
    QWidget window;
    // Key events the field ignores travel on to the window: the filter sees them twice.
    QWidget* field = new QWidget(&window);
};

TEST_F(QtKeyStateTest, FollowsPressesAndReleasesInAnyWidget) {
    QWidget other;
    send(*field, QEvent::KeyPress, Qt::Key_P);
    send(other, QEvent::KeyPress, Qt::Key_C);
    send(other, QEvent::KeyPress, Qt::Key_X);
    EXPECT_TRUE(keys.isDown(Key::P));
    EXPECT_TRUE(keys.isDown(Key::C));
    EXPECT_FALSE(keys.isDown(Key::Escape));

    // A repeated release while the key is held keeps it down.
    send(*field, QEvent::KeyRelease, Qt::Key_P, true);
    EXPECT_TRUE(keys.isDown(Key::P));
    send(*field, QEvent::KeyRelease, Qt::Key_P);
    EXPECT_FALSE(keys.isDown(Key::P));
    EXPECT_TRUE(keys.isDown(Key::C));

    deactivate();
    EXPECT_FALSE(keys.isDown(Key::C));
}

TEST_F(QtKeyStateTest, APressLetGoBetweenTwoChecksCountsOnce) {
    EXPECT_FALSE(keys.wasPressed(Key::Escape));  // nothing pressed yet

    click(*field, Qt::Key_Escape);
    EXPECT_FALSE(keys.isDown(Key::Escape));  // the held state alone misses it
    EXPECT_TRUE(keys.wasPressed(Key::Escape));
    EXPECT_FALSE(keys.wasPressed(Key::Escape));  // asking cleared it

    // Two presses between checks are one; asking for one key leaves the others latched.
    click(*field, Qt::Key_P);
    click(window, Qt::Key_P);
    click(*field, Qt::Key_C);
    EXPECT_TRUE(keys.wasPressed(Key::P));
    EXPECT_FALSE(keys.wasPressed(Key::P));
    EXPECT_TRUE(keys.wasPressed(Key::C));
    EXPECT_FALSE(keys.wasPressed(Key::Escape));
}

TEST_F(QtKeyStateTest, AutoRepeatIsNoNewPressAndLosingTheFocusKeepsAPress) {
    send(*field, QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_TRUE(keys.wasPressed(Key::Escape));
    send(*field, QEvent::KeyPress, Qt::Key_Escape, true);
    EXPECT_TRUE(keys.isDown(Key::Escape));
    EXPECT_FALSE(keys.wasPressed(Key::Escape));

    // The press happened while the program had the focus; it still counts after losing it.
    click(*field, Qt::Key_C);
    deactivate();
    EXPECT_FALSE(keys.isDown(Key::Escape));
    EXPECT_TRUE(keys.wasPressed(Key::C));

    // Ctrl and Shift are held according to the modifiers, but their presses latch too.
    click(*field, Qt::Key_Control);
    click(*field, Qt::Key_Shift);
    EXPECT_TRUE(keys.wasPressed(Key::Control));
    EXPECT_TRUE(keys.wasPressed(Key::Shift));
    EXPECT_FALSE(keys.wasPressed(Key::Control));
}

}  // namespace
}  // namespace slipway
