#pragma once
// `meshview --screenshot FILE OUT.png [--size WxH] [--select MESH]`: reads FILE as the open
// command would, places the camera, renders one frame in an OpenGL context without a window
// and writes it as PNG. With --select the frame is the one select mode shows after a click on
// mesh MESH (0-based) of the model: the model in its fill colours, that mesh red. Needs a
// QGuiApplication with OpenGL. Exit code 0 when written, 1 when nothing was read or the picture
// could not be made, 2 for bad usage or a mesh the model does not have.

#include <ostream>
#include <string>
#include <vector>

#include <QSize>

namespace slipway::meshview {

// The size of Meshview's render area.
QSize renderAreaSize();

int runScreenshot(const std::vector<std::string>& args, const std::string& baseDirectory,
                  std::ostream& err);

}  // namespace slipway::meshview
