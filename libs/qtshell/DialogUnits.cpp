#include "qtshell/DialogUnits.h"

#include <QFontMetricsF>

namespace slipway {

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
