#pragma once
// `shipview --screenshot FILE OUT.png [--size WxH] [--keys PC]`: reads FILE as the open command
// would, fits the camera, renders one frame in an OpenGL context without a window (P and C
// held as --keys says) and writes it as PNG. Needs a QGuiApplication with OpenGL.

#include <ostream>
#include <string>
#include <vector>

#include <QSize>


namespace slipway {

// The size of the main window's render area.
QSize renderAreaSize();

int runScreenshot(const std::vector<std::string>& args, const std::string& baseDirectory,
                  std::ostream& err);

}  // namespace slipway
