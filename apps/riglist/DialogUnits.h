#pragma once
// The dialogs are laid out in dialog units, as designed: x·1.5 and y·1.625 pixels at 100 %.

#include <QFont>
#include <QRect>

namespace slipway {

QRect dialogRect(int x, int y, int width, int height);
QSize dialogSize(int width, int height);
// `base` at the size the layout was made for (11-pixel characters, 13-pixel lines, letters
// 6 pixels wide on average, narrowed when the face is wider), so that texts fit their controls
// and the list's columns.
QFont dialogFont(QFont base);

}  // namespace slipway
