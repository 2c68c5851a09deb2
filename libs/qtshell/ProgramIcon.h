#pragma once
// The program's own icon for its windows. The build compiles the PNG sizes of the program's
// icon into every window program under :/slipway/icon/ (slipway_install_program); a program
// sets it once, after creating its QApplication:
//     QApplication::setWindowIcon(slipway::programIcon());

#include <QIcon>

namespace slipway {

// Every size compiled into the program; a null icon when there are none.
QIcon programIcon();

}  // namespace slipway
