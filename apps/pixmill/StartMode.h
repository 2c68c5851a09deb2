#pragma once
// What a Pixmill command line asks for, decided before any window system is touched: a console
// command, the window (on a file or folder, or where it was left), or removing the settings.

#include <string>
#include <vector>

namespace slipway::pixmill {

struct StartMode {
    enum Kind {
        Command,        // the console commands, and every command line they refuse
        Window,         // no arguments: the window with its stored folders
        WindowOnPath,   // one existing file or folder: the panes on it, a file previewed
        ResetSettings,  // a switch such as /u or -r: remove the settings, open no window
    };
    Kind kind = Command;
    std::string path;  // WindowOnPath: the path as given
};

// The window keeps no settings once the user has asked for them to be removed with a switch
// holding the letter u or r in either case (/u, -r, --reset). A switch here starts with '-' or
// '/' and holds no further separator or dot, so that a path to open is never taken for one:
// an existing path opens the window, and any other command line is left to the commands.
StartMode chooseStartMode(const std::vector<std::string>& args);

}  // namespace slipway::pixmill
