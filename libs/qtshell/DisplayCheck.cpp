#include "qtshell/DisplayCheck.h"

#include <QString>
#include <QtGlobal>
#include <cstdlib>

namespace slipway {

namespace {

bool isSet(const EnvironmentLookup& env, const char* name) {
    const std::optional<std::string> value = env(name);
    return value && !value->empty();
}

// The toolkit takes its own options with one dash or two.
bool isToolkitOption(const std::string& arg, std::string_view name) {
    std::string_view a = arg;
    if (a.substr(0, 2) == "--")
        a.remove_prefix(1);
    return a.size() == name.size() + 1 && a[0] == '-' && a.substr(1) == name;
}

// One entry of a platform list: its name, without the ":options" part.
bool platformReachable(std::string_view platformName, bool displayOption,
                       const EnvironmentLookup& env) {
    const std::string_view name = platformName.substr(0, platformName.find(':'));
#if defined(_WIN32) || defined(__APPLE__)
    (void)name;
    (void)displayOption;
    (void)env;
    return true;
#else
    if (name.empty())
        return displayOption || isSet(env, "DISPLAY") || isSet(env, "WAYLAND_DISPLAY");
    if (name == "xcb")
        return displayOption || isSet(env, "DISPLAY");
    return true;
#endif
}

std::string guardedProgram;
QtMessageHandler previousHandler = nullptr;

void handleStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
        const std::string message = noDisplayMessage(guardedProgram) + "\n";
        std::fputs(message.c_str(), stderr);
        std::fflush(stderr);
        // The toolkit is half made: end here, without running its destructors.
        std::_Exit(kExitNoDisplay);
    }
    if (previousHandler) {
        previousHandler(type, context, text);
    } else {
        std::fputs((qFormatLogMessage(type, context, text) + "\n").toLocal8Bit().constData(),
                   stderr);
    }
}

}  // namespace

std::string noDisplayMessage(std::string_view program) {
    return std::string(program) + ": cannot open a display (set DISPLAY, or run under xvfb-run)";
}

bool displayLooksReachable(const std::vector<std::string>& args, const EnvironmentLookup& env) {
    std::optional<std::string> platform;
    bool displayOption = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (isToolkitOption(args[i], "platform") && i + 1 < args.size()) {
            platform = args[++i];
        } else if (isToolkitOption(args[i], "display") && i + 1 < args.size()) {
            displayOption = true;
            ++i;
        }
    }
    if (!platform) {
        platform = env("QT_QPA_PLATFORM");
    }
    const std::string list = platform.value_or("");
    if (list.empty())
        return platformReachable({}, displayOption, env);
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        if (platformReachable(std::string_view(list).substr(start, end - start), displayOption,
                              env)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

DisplayStartGuard::DisplayStartGuard(std::string program) {
    guardedProgram = std::move(program);
    previousHandler = qInstallMessageHandler(handleStartMessage);
}

DisplayStartGuard::~DisplayStartGuard() {
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;
}

bool requireDisplay(std::string_view program, int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const EnvironmentLookup env = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value)
            return std::nullopt;
        return std::string(value);
    };
    if (displayLooksReachable(args, env))
        return true;
    const std::string message = noDisplayMessage(program) + "\n";
    std::fputs(message.c_str(), stderr);
    return false;
}

}  // namespace slipway
