#include "app/Looks.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <cmath>

namespace Looks {
namespace {

struct Colours
{
    const char *style;
    QColor window;     // frames, forms, buttons, headers
    QColor windowText; // labels and buttons on them
    QColor base;       // lists, grids, fields
    QColor text;       // their text
    QColor highlight;  // selected rows
};

// The Office 2007 colour style last chosen, used by identifiers outside the list.
int g_office2007Style = kOffice2007Blue;

Colours ColoursOf(int id)
{
    const QColor black = Qt::black;
    const QColor white = Qt::white;
    switch (id) {
    case 205:
        return {"Windows", QColor(212, 208, 200), black, white, black, QColor(10, 36, 106)};
    case 206:
        return {"Fusion", QColor(236, 233, 216), black, white, black, QColor(49, 106, 197)};
    case 207:
        return {"Fusion", QColor(236, 233, 216), black, white, black, QColor(49, 106, 197)};
    case 208:
        return {"Fusion", QColor(196, 218, 250), black, white, black, QColor(255, 193, 111)};
    case 209:
        return {"Fusion", QColor(238, 237, 229), black, white, black, QColor(49, 106, 197)};
    case 210:
        return {"Fusion", QColor(233, 236, 238), black, white, black, QColor(51, 153, 255)};
    case 215:
        return {"Fusion", QColor(191, 219, 255), black, white, black, QColor(255, 213, 140)};
    // The black style darkens the frame; lists and grids stay light like
    // the others, so coloured rows, check boxes and grid lines stay legible.
    case 216:
        return {"Fusion", QColor(83, 83, 83), QColor(235, 235, 235), white, black, QColor(255, 189, 105)};
    case 217:
        return {"Fusion", QColor(208, 212, 221), black, white, black, QColor(255, 213, 140)};
    case 218:
        return {"Fusion", QColor(196, 226, 226), black, white, black, QColor(255, 213, 140)};
    case 219:
        return {"Fusion", QColor(240, 240, 240), black, white, black, QColor(51, 153, 255)};
    default:
        return ColoursOf(g_office2007Style);
    }
}

// Halfway between a text colour and the colour it is drawn on: what
// disabled text looks like in every look.
QColor Faded(const QColor &text, const QColor &background)
{
    return QColor((text.red() + background.red()) / 2, (text.green() + background.green()) / 2,
                  (text.blue() + background.blue()) / 2);
}

} // namespace

const QList<MenuEntry> &MainEntries()
{
    static const QList<MenuEntry> entries{
        {205, "Windows 2000(&2)"}, {206, "Office XP(&X)"},       {207, "Windows XP(&W)"},
        {208, "Office 2003(&3)"},  {209, "Visual Studio 200&5"}, {210, "Visual Studio 200&8"},
    };
    return entries;
}

const QList<MenuEntry> &Office2007Entries()
{
    static const QList<MenuEntry> entries{
        {215, QT_TRANSLATE_NOOP("Corvane", "蓝色样式(&B)")},
        {216, QT_TRANSLATE_NOOP("Corvane", "黑色样式(&L)")},
        {217, QT_TRANSLATE_NOOP("Corvane", "银色样式(&S)")},
        {218, QT_TRANSLATE_NOOP("Corvane", "水绿色样式(&A)")},
    };
    return entries;
}

double ContrastRatio(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &colour) {
        auto channel = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
    };
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QString StyleOf(int id)
{
    return QString::fromLatin1(ColoursOf(id).style);
}

QPalette PaletteOf(int id)
{
    const Colours colours = ColoursOf(id);
    // Black or white, whichever reads better on the selection colour.
    const QColor selectedText =
        ContrastRatio(Qt::black, colours.highlight) >= ContrastRatio(Qt::white, colours.highlight) ? Qt::black
                                                                                                   : Qt::white;
    QPalette palette(colours.window.lighter(104), colours.window);
    // Active and inactive windows look alike; disabled controls keep faded
    // text so that they do not look live.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, colours.base);
        palette.setColor(group, QPalette::AlternateBase, colours.base.darker(104));
        palette.setColor(group, QPalette::Text, colours.text);
        palette.setColor(group, QPalette::WindowText, colours.windowText);
        palette.setColor(group, QPalette::ButtonText, colours.windowText);
        palette.setColor(group, QPalette::Highlight, colours.highlight);
        palette.setColor(group, QPalette::HighlightedText, selectedText);
        // Hints in empty fields (the find box) are drawn on the fields' colour.
        palette.setColor(group, QPalette::PlaceholderText, Faded(colours.text, colours.base));
    }
    palette.setColor(QPalette::Disabled, QPalette::Base, colours.window);
    palette.setColor(QPalette::Disabled, QPalette::Text, Faded(colours.text, colours.base));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, Faded(colours.windowText, colours.window));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, Faded(colours.windowText, colours.window));
    palette.setColor(QPalette::Disabled, QPalette::Highlight, Faded(colours.highlight, colours.base));
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, selectedText);
    return palette;
}

QColor PendingEditColour(const QPalette &palette)
{
    // A deep magenta on light grids, a light one on dark grids: apart from
    // the black or white text, the blue names and the amber and pink marks.
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const QColor deep(150, 0, 150);
    const QColor light(255, 150, 255);
    return ContrastRatio(deep, base) >= ContrastRatio(light, base) ? deep : light;
}

void Install(int id)
{
    if (id >= 215 && id <= 218)
        g_office2007Style = id;
    if (QStyle *style = QStyleFactory::create(StyleOf(id)))
        QApplication::setStyle(style);
    const QPalette palette = PaletteOf(id);
    QApplication::setPalette(palette);
    // Inside lists and grids, branch arrows and check marks are drawn on the
    // light base: they take the text colour, not the frame's.
    QPalette views = palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        views.setColor(group, QPalette::WindowText, palette.color(group, QPalette::Text));
    QApplication::setPalette(views, "QAbstractItemView");
    // Window title bars draw white text on the selection colour: a light
    // selection colour gets a darker shade there.
    QPalette titles = palette;
    QColor title = palette.color(QPalette::Active, QPalette::Highlight);
    while (ContrastRatio(Qt::white, title) < 4.5)
        title = title.darker(115);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        titles.setColor(group, QPalette::Highlight, title);
    QApplication::setPalette(titles, "QMdiSubWindow");
}

} // namespace Looks
