#pragma once
// The file panes' icons, drawn by the program at start: a drive, a folder, and for each of the
// pane's extensions a page in that extension's colour and its variant for files that cannot be
// read (greyed, crossed out). Indexed as PaneModel's icon numbers.

#include <string>
#include <vector>

#include <QIcon>

namespace slipway::pixmill {

std::vector<QIcon> paneIcons(const std::vector<std::string>& extensions);

}  // namespace slipway::pixmill
