// The key state port follows presses and releases of P, C and Escape in any window of the
// program and forgets them when the program loses the focus.

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "viewer/QtKeyState.h"

namespace slipway {
namespace {

void send(QWidget& target, QEvent::Type type, int key, bool autoRepeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&target, &event);
}

TEST(QtKeyStateTest, FollowsPressesAndReleasesInAnyWidget) {
    static int argc = 1;
    static char name[] = "viewer_tests";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QtKeyState keys;
    QWidget first, second;

    send(first, QEvent::KeyPress, Qt::Key_P);
    send(second, QEvent::KeyPress, Qt::Key_C);
    send(second, QEvent::KeyPress, Qt::Key_X);
    EXPECT_TRUE(keys.isDown(Key::P));
    EXPECT_TRUE(keys.isDown(Key::C));
    EXPECT_FALSE(keys.isDown(Key::Escape));

    // A repeated release while the key is held keeps it down.
    send(first, QEvent::KeyRelease, Qt::Key_P, true);
    EXPECT_TRUE(keys.isDown(Key::P));
    send(first, QEvent::KeyRelease, Qt::Key_P);
    EXPECT_FALSE(keys.isDown(Key::P));
    EXPECT_TRUE(keys.isDown(Key::C));

    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(&app, &deactivate);
    EXPECT_FALSE(keys.isDown(Key::C));
}

}  // namespace
}  // namespace slipway
