#include "riglist/DialogUnits.h"

#include <cmath>

namespace slipway {

namespace {
int px(int units) {
    return static_cast<int>(std::lround(units * 1.5));
}
int py(int units) {
    return static_cast<int>(std::lround(units * 1.625));
}
}  // namespace

QRect dialogRect(int x, int y, int width, int height) {
    return QRect(px(x), py(y), px(width), py(height));
}

QSize dialogSize(int width, int height) {
    return QSize(px(width), py(height));
}

QFont dialogFont(QFont base) {
    base.setPixelSize(11);
    return base;
}

}  // namespace slipway
