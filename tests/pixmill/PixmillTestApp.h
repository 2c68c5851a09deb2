#pragma once
// The one QApplication of Pixmill's widget tests. Settings and the desktop's trash live in a
// temporary home made for the run, so the tests never touch the user's.

#include <functional>
#include <string>

#include <QApplication>
#include <QWidget>

namespace slipway::test {

QApplication& pixmillTestApplication();
// The temporary home's configuration folder (XDG_CONFIG_HOME) and data folder (XDG_DATA_HOME).
std::string testConfigHome();
std::string testDataHome();
// Removes every Pixmill setting.
void clearPixmillSettings();

// Runs the event loop until `done` holds; false after `milliseconds`.
bool waitUntil(const std::function<bool()>& done, int milliseconds = 60000);

// Once a modal widget of type T opens (checked while the event loop runs, also inside nested
// loops), calls `act` with it, once.
template <typename T>
void whenModal(std::function<void(T&)> act);
void whenModalWidget(std::function<bool(QWidget&)> act);

template <typename T>
void whenModal(std::function<void(T&)> act) {
    whenModalWidget([act](QWidget& widget) {
        T* typed = qobject_cast<T*>(&widget);
        if (typed == nullptr)
            return false;
        act(*typed);
        return true;
    });
}

}  // namespace slipway::test
