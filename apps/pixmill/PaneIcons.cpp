#include "pixmill/PaneIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace slipway::pixmill {
namespace {

using Draw = void (*)(QPainter&, const QColor&, bool unreadable);

void drawDrive(QPainter& p, const QColor&, bool) {
    p.setPen(QColor(70, 70, 70));
    QLinearGradient body(0, 5, 0, 12);
    body.setColorAt(0, QColor(225, 225, 225));
    body.setColorAt(1, QColor(150, 150, 150));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 190, 60));
    p.drawEllipse(QRectF(11, 8, 2, 2));
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(3.5, 8.5, 5, 1));
}

void drawFolder(QPainter& p, const QColor&, bool) {
    p.setPen(QColor(150, 110, 20));
    p.setBrush(QColor(235, 190, 70));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 215, 110));
    p.drawRect(QRectF(1.5, 6.5, 13, 7));
}

void drawPage(QPainter& p, const QColor& colour, bool unreadable) {
    const QColor ink = unreadable ? QColor(150, 150, 150) : QColor(60, 60, 60);
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10, 1.5);
    page.lineTo(13.5, 5);
    page.lineTo(13.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(ink);
    p.setBrush(unreadable ? QColor(235, 235, 235) : Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 5));
    p.drawLine(QPointF(10, 5), QPointF(13.5, 5));
    // The extension's colour band.
    p.setPen(Qt::NoPen);
    p.setBrush(unreadable ? QColor(180, 180, 180) : colour);
    p.drawRect(QRectF(4, 8, 9, 5));
    if (unreadable) {
        QPen cross(QColor(210, 30, 30));
        cross.setWidthF(1.6);
        p.setPen(cross);
        p.drawLine(QPointF(6.5, 6.5), QPointF(14.5, 14.5));
        p.drawLine(QPointF(14.5, 6.5), QPointF(6.5, 14.5));
    }
}

QIcon makeIcon(Draw draw, const QColor& colour, bool unreadable) {
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        draw(painter, colour, unreadable);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QColor colourOf(const std::string& extension) {
    if (extension == "tga")
        return QColor(40, 110, 220);
    if (extension == "bmp")
        return QColor(40, 160, 70);
    if (extension == "tf")
        return QColor(230, 120, 20);
    return QColor(120, 120, 120);
}

}  // namespace

std::vector<QIcon> paneIcons(const std::vector<std::string>& extensions) {
    std::vector<QIcon> icons;
    icons.push_back(makeIcon(drawDrive, {}, false));
    icons.push_back(makeIcon(drawFolder, {}, false));
    for (const std::string& extension : extensions) {
        icons.push_back(makeIcon(drawPage, colourOf(extension), false));
        icons.push_back(makeIcon(drawPage, colourOf(extension), true));
    }
    return icons;
}

}  // namespace slipway::pixmill
