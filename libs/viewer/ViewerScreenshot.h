#pragma once
// One frame of a file, as a viewer's window would show it, rendered without a window and
// written as a PNG: what both viewers' --screenshot share. Needs a QGuiApplication with OpenGL.

#include <functional>
#include <ostream>
#include <string>

#include <QSize>

#include "base/KeyState.h"
#include "engine/ViewerSession.h"

namespace slipway {

// "WIDTHxHEIGHT", each side 1 to 8192.
bool parsePictureSize(const std::string& text, QSize& size);

struct ScreenshotRequest {
    const char* program;  // for messages: "PROGRAM: ..."
    const ViewerRules& rules;
    std::string file;  // the model or ship, its kind known by its extension
    std::string out;   // the PNG
    QSize size;
    KeyState& keys;  // held for the frame
};

// Opens the file through a session (Dialog.ini's recent list untouched), lets `afterOpen`
// prepare the scene (it returns 0, or an exit code that ends the run with nothing written),
// renders one frame and replaces `out` atomically. A file that loads nothing gives no picture.
// Returns the exit code: 0 written, 1 no device, nothing read or the PNG not written.
int takeScreenshot(const ScreenshotRequest& request, const std::string& baseDirectory,
                   const std::function<int(ViewerSession&)>& afterOpen, std::ostream& err);

}  // namespace slipway
