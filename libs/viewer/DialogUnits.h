#pragma once
// The windows were laid out in dialog units; at 100 % scale one unit is 1.5 pixels across and
// 1.625 pixels down, which keeps their arrangement.

#include <cmath>

#include <QRect>

namespace slipway {

inline int dialogX(double units) {
    return static_cast<int>(std::lround(units * 1.5));
}
inline int dialogY(double units) {
    return static_cast<int>(std::lround(units * 1.625));
}
inline QRect dialogRect(double x, double y, double width, double height) {
    return QRect(dialogX(x), dialogY(y), dialogX(width), dialogY(height));
}

}  // namespace slipway
