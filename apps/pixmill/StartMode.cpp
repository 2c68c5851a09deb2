#include "pixmill/StartMode.h"

#include "base/Paths.h"

namespace slipway::pixmill {
namespace {

bool isConsoleCommand(const std::string& arg) {
    for (const char* command :
         {"convert", "export", "info", "thumbnail", "--help", "-h", "--version"}) {
        if (arg == command)
            return true;
    }
    return false;
}

bool isResetSwitch(const std::string& arg) {
    if (arg.size() < 2 || (arg[0] != '-' && arg[0] != '/'))
        return false;
    bool resetLetter = false;
    for (std::size_t i = 1; i < arg.size(); ++i) {
        const char c = arg[i];
        if (c == '/' || c == '\\' || c == '.')
            return false;
        resetLetter = resetLetter || c == 'u' || c == 'U' || c == 'r' || c == 'R';
    }
    return resetLetter;
}

}  // namespace

StartMode chooseStartMode(const std::vector<std::string>& args) {
    if (args.empty())
        return {StartMode::Window, {}};
    if (isConsoleCommand(args[0]))
        return {StartMode::Command, {}};
    if (args.size() == 1 && (fileExists(args[0]) || directoryExists(args[0])))
        return {StartMode::WindowOnPath, args[0]};
    for (const std::string& arg : args) {
        if (isResetSwitch(arg) && !fileExists(arg) && !directoryExists(arg))
            return {StartMode::ResetSettings, {}};
    }
    return {StartMode::Command, {}};
}

}  // namespace slipway::pixmill
