#pragma once
// The windows were laid out in dialog units; at 100 % scale one unit is 1.5 pixels across and
// 1.625 pixels down, which keeps their arrangement. Pixels are rounded to the nearest whole one.

#include <cmath>

#include <QFont>
#include <QRect>
#include <QSize>

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
inline QSize dialogSize(double width, double height) {
    return QSize(dialogX(width), dialogY(height));
}

// `base` at the size the layout was made for (11-pixel characters, 13-pixel lines, letters
// 6 pixels wide on average, narrowed when the face is wider), so that texts fit their controls.
QFont dialogFont(QFont base);

}  // namespace slipway
