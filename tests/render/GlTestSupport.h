#pragma once
// Helpers for tests that draw with the display device: a GUI application and an off-screen
// OpenGL context (run under an X server such as Xvfb), and colour checks with the small
// tolerance 16-bit textures need.

#include <QColor>
#include <QImage>

#include "render/OffscreenContext.h"

namespace slipway::test {

// Creates the application object on first use and a current 3.3 core context; false (and the
// test should fail) when the platform has no OpenGL.
bool makeGlContext(OffscreenContext& context);

// True when each channel differs by at most `tolerance`.
bool sameColour(QColor a, QColor b, int tolerance = 8);

// Pixel of the image that a clip-space point lands on (x to the right, y down).
QPoint pixelOf(const std::array<float, 4>& clip, int width, int height);

}  // namespace slipway::test
