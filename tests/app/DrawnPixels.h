#pragma once

// Reading what a window drew: the colours of a band of a grabbed image.

#include "app/Looks.h"
#include "support/DrawnColours.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <map>

// The most common colour of a band: what its text is drawn on.
inline QColor Background(const QImage &image, const QRect &band)
{
    std::map<QRgb, int> counts;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb best = 0;
    int most = -1;
    for (const auto &[colour, count] : counts)
        if (count > most) {
            best = colour;
            most = count;
        }
    return QColor::fromRgb(best);
}

// The colour of a band that stands out most from its background: the text's
// strongest pixel, which antialiasing may keep short of its pen colour (see
// DrawnIn for comparing it with one).
inline QColor TextColour(const QImage &image, const QRect &band)
{
    const QColor background = Background(image, band);
    QColor best = background;
    double ratio = 1.0;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x) {
            const QColor colour = QColor::fromRgb(image.pixel(x, y));
            if (const double r = Looks::ContrastRatio(colour, background); r > ratio) {
                ratio = r;
                best = colour;
            }
        }
    return best;
}
