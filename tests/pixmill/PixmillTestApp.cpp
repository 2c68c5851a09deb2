#include "PixmillTestApp.h"

#include <cstdlib>
#include <filesystem>

#include <QSettings>
#include <QTest>
#include <QTimer>

#include "pixmill/PixmillSettings.h"

// The font configuration library keeps caches for the life of the process; the leak checker
// is told so, and still reports everything else.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace slipway::test {
namespace {

std::string& home() {
    static std::string path = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "pixmill-tests-XXXXXX").string();
        const char* made = ::mkdtemp(pattern.data());
        return std::string(made != nullptr ? made : "/tmp");
    }();
    return path;
}

}  // namespace

std::string testConfigHome() {
    return home() + "/config";
}

std::string testDataHome() {
    return home() + "/data";
}

QApplication& pixmillTestApplication() {
    static QApplication* app = [] {
        std::filesystem::create_directories(testConfigHome());
        std::filesystem::create_directories(testDataHome());
        ::setenv("XDG_CONFIG_HOME", testConfigHome().c_str(), 1);
        ::setenv("XDG_DATA_HOME", testDataHome().c_str(), 1);
        static int argc = 1;
        static char name[] = "pixmill_tests";
        static char* argv[] = {name, nullptr};
        std::atexit([] { std::filesystem::remove_all(home()); });
        auto* application = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return application;
    }();
    return *app;
}

void clearPixmillSettings() {
    QSettings settings(pixmill::kSettingsOrganization, pixmill::kSettingsApplication);
    settings.clear();
    settings.sync();
}

bool waitUntil(const std::function<bool()>& done, int milliseconds) {
    return QTest::qWaitFor(done, milliseconds);
}

void whenModalWidget(std::function<bool(QWidget&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible() && act(*modal)) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

}  // namespace slipway::test
