#include "qtshell/QtKeyState.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

namespace slipway {

namespace {

struct TrackedKey {
    int qtKey;
    Key key;
};
constexpr TrackedKey kTracked[] = {
    {Qt::Key_P, Key::P},           {Qt::Key_C, Key::C},
    {Qt::Key_Escape, Key::Escape}, {Qt::Key_Control, Key::Control},
    {Qt::Key_Shift, Key::Shift},
};

bool tracked(int qtKey, Key& key) {
    for (const TrackedKey& t : kTracked) {
        if (t.qtKey == qtKey) {
            key = t.key;
            return true;
        }
    }
    return false;
}

}  // namespace

QtKeyState::QtKeyState() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->installEventFilter(this);
    }
}

QtKeyState::~QtKeyState() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

bool QtKeyState::isDown(Key key) {
    switch (key) {
        case Key::Control:
            return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
        case Key::Shift:
            return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
        default:
            return held_.count(key) != 0;
    }
}

bool QtKeyState::wasPressed(Key key) {
    return pressed_.erase(key) != 0;
}

bool QtKeyState::eventFilter(QObject* watched, QEvent* event) {
    // Key events reach the filter once per object along their way; the sets make that
    // harmless.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        Key key{};
        if (tracked(keyEvent->key(), key)) {
            if (event->type() == QEvent::KeyPress) {
                held_.insert(key);
                if (!keyEvent->isAutoRepeat())
                    pressed_.insert(key);
            } else if (!keyEvent->isAutoRepeat()) {
                held_.erase(key);
            }
        }
    } else if (event->type() == QEvent::ApplicationDeactivate) {
        held_.clear();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace slipway
