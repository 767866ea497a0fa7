#include "app/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap Draw(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    // Pins on all four sides.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(160, 168, 176));
    for (int i = 0; i < 4; ++i) {
        const qreal along = (3.5 + i * 3) * unit;
        painter.drawRect(QRectF(along, 0.5 * unit, unit, 2 * unit));
        painter.drawRect(QRectF(along, 13.5 * unit, unit, 2 * unit));
        painter.drawRect(QRectF(0.5 * unit, along, 2 * unit, unit));
        painter.drawRect(QRectF(13.5 * unit, along, 2 * unit, unit));
    }
    // The package.
    painter.setBrush(QColor(28, 66, 120));
    painter.drawRoundedRect(QRectF(2 * unit, 2 * unit, 12 * unit, 12 * unit), unit, unit);
    // A register: bits, some set.
    const bool bits[] = {true, false, true, true, false, true};
    for (int i = 0; i < 6; ++i) {
        painter.setBrush(bits[i] ? QColor(255, 196, 60) : QColor(90, 130, 185));
        painter.drawRect(QRectF((3.5 + i * 1.5) * unit, 7 * unit, 1.2 * unit, 2 * unit));
    }
    return pixmap;
}

} // namespace

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Draw(size));
    return icon;
}
