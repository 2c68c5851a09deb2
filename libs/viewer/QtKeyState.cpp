#include "viewer/QtKeyState.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

namespace slipway {

namespace {

bool tracked(int qtKey, Key& key) {
    switch (qtKey) {
        case Qt::Key_P:
            key = Key::P;
            return true;
        case Qt::Key_C:
            key = Key::C;
            return true;
        case Qt::Key_Escape:
            key = Key::Escape;
            return true;
        default:
            return false;
    }
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

bool QtKeyState::eventFilter(QObject* watched, QEvent* event) {
    // Key events reach the filter once per object along their way; the set makes that harmless.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        Key key{};
        if (tracked(keyEvent->key(), key)) {
            if (event->type() == QEvent::KeyPress) {
                held_.insert(key);
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
