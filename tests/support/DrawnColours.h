#pragma once

// Colours of what a window drew, compared as antialiased text allows: a
// glyph's edge pixels lie between its pen colour and the background, and a
// thin stroke may never reach the pen colour itself (a grey "--" of one font
// stops short of it by nine steps). So a band is drawn in a colour when its
// glyph pixels lie on the way from the background to that colour and the
// strongest of them comes most of the way, never past it.

#include <QColor>
#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

namespace DrawnColours {

// Channel by channel within `tolerance`.
inline bool Near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The most common colour of a band: what its text is drawn on.
inline QColor Dominant(const QImage &image, const QRect &band)
{
    std::map<QRgb, int> counts;
    const QRect area = band.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    QRgb best = 0;
    int most = -1;
    for (const auto &[colour, count] : counts)
        if (count > most) {
            best = colour;
            most = count;
        }
    return QColor::fromRgb(best);
}

inline std::string Name(const QColor &colour)
{
    return colour.name().toStdString();
}

// Whether the text of `band` is drawn in `pen` on the band's background.
inline ::testing::AssertionResult DrawnIn(const QImage &image, const QRect &band, const QColor &pen)
{
    const QColor background = Dominant(image, band);
    const double dr = pen.red() - background.red();
    const double dg = pen.green() - background.green();
    const double db = pen.blue() - background.blue();
    const double span = dr * dr + dg * dg + db * db;
    if (span < 40.0 * 40.0)
        return ::testing::AssertionFailure() << "the pen " << Name(pen) << " is too close to the background "
                                             << Name(background) << " to be told apart";
    int glyph = 0;
    int onTheWay = 0;
    double reach = 0.0;
    QColor strongest = background;
    const QRect area = band.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor seen = QColor::fromRgb(image.pixel(x, y));
            const double r = seen.red() - background.red();
            const double g = seen.green() - background.green();
            const double b = seen.blue() - background.blue();
            if (std::abs(r) + std::abs(g) + std::abs(b) < 24)
                continue; // the background, or a faint fringe
            ++glyph;
            const double share = (r * dr + g * dg + b * db) / span;
            const double er = r - share * dr;
            const double eg = g - share * dg;
            const double eb = b - share * db;
            if (std::sqrt(er * er + eg * eg + eb * eb) > 48.0 || share < 0.0)
                continue;
            ++onTheWay;
            if (share > reach) {
                reach = share;
                strongest = seen;
            }
        }
    std::ostringstream seen;
    seen << glyph << " glyph pixels, " << onTheWay << " on the way from " << Name(background) << " to " << Name(pen)
         << ", the strongest " << Name(strongest) << " at " << reach;
    if (glyph < 3)
        return ::testing::AssertionFailure() << "nothing drawn: " << seen.str();
    if (onTheWay * 10 < glyph * 8)
        return ::testing::AssertionFailure() << "drawn in other colours: " << seen.str();
    if (reach < 0.6 || reach > 1.15)
        return ::testing::AssertionFailure() << "drawn lighter or darker than the pen: " << seen.str();
    return ::testing::AssertionSuccess() << seen.str();
}

} // namespace DrawnColours

using DrawnColours::DrawnIn;
