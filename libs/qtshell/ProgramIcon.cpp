#include "qtshell/ProgramIcon.h"

#include <QDir>

namespace slipway {

QIcon programIcon() {
    QIcon icon;
    const QDir sizes(QStringLiteral(":/slipway/icon"));
    for (const QString& name : sizes.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        const int side = name.chopped(4).toInt();
        icon.addFile(sizes.filePath(name), QSize(side, side));
    }
    return icon;
}

}  // namespace slipway
