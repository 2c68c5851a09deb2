#include "riglist/DialogUnits.h"

#include <QFontMetricsF>
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
    // A horizontal unit is a quarter of the average letter, so the layout expects letters of
    // 6 pixels on average; a wider face is narrowed until its texts fit their controls.
    constexpr double kAverageLetter = 6.0;
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    auto averageLetter = [&letters](const QFont& font) {
        return QFontMetricsF(font).horizontalAdvance(letters) / letters.size();
    };
    if (averageLetter(base) <= kAverageLetter)
        return base;
    for (int stretch = 99; stretch >= 75; --stretch) {
        QFont narrower = base;
        narrower.setStretch(stretch);
        if (averageLetter(narrower) <= kAverageLetter)
            return narrower;
    }
    return base;  // no narrower face to be had
}

}  // namespace slipway
