#include "app/Looks.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace Looks {
namespace {

struct Colours
{
    const char *style;
    QColor window;
    QColor base;
    QColor text;
    QColor highlight;
};

// The Office 2007 colour style last chosen, used by identifiers outside the list.
int g_office2007Style = kOffice2007Blue;

Colours ColoursOf(int id)
{
    switch (id) {
    case 205: return {"Windows", QColor(212, 208, 200), Qt::white, Qt::black, QColor(10, 36, 106)};
    case 206: return {"Fusion", QColor(236, 233, 216), Qt::white, Qt::black, QColor(49, 106, 197)};
    case 207: return {"Fusion", QColor(236, 233, 216), Qt::white, Qt::black, QColor(49, 106, 197)};
    case 208: return {"Fusion", QColor(196, 218, 250), Qt::white, Qt::black, QColor(255, 193, 111)};
    case 209: return {"Fusion", QColor(238, 237, 229), Qt::white, Qt::black, QColor(49, 106, 197)};
    case 210: return {"Fusion", QColor(233, 236, 238), Qt::white, Qt::black, QColor(51, 153, 255)};
    case 215: return {"Fusion", QColor(191, 219, 255), Qt::white, Qt::black, QColor(255, 213, 140)};
    case 216: return {"Fusion", QColor(83, 83, 83), QColor(60, 60, 60), QColor(235, 235, 235), QColor(255, 189, 105)};
    case 217: return {"Fusion", QColor(208, 212, 221), Qt::white, Qt::black, QColor(255, 213, 140)};
    case 218: return {"Fusion", QColor(196, 226, 226), Qt::white, Qt::black, QColor(255, 213, 140)};
    case 219: return {"Fusion", QColor(240, 240, 240), Qt::white, Qt::black, QColor(51, 153, 255)};
    default: return ColoursOf(g_office2007Style);
    }
}

} // namespace

const QList<MenuEntry> &MainEntries()
{
    static const QList<MenuEntry> entries{
        {205, "Windows 2000(&2)"},    {206, "Office XP(&X)"},       {207, "Windows XP(&W)"},
        {208, "Office 2003(&3)"},     {209, "Visual Studio 200&5"}, {210, "Visual Studio 200&8"},
    };
    return entries;
}

const QList<MenuEntry> &Office2007Entries()
{
    static const QList<MenuEntry> entries{
        {215, "蓝色样式(&B)"}, {216, "黑色样式(&L)"}, {217, "银色样式(&S)"}, {218, "水绿色样式(&A)"},
    };
    return entries;
}

void Install(int id)
{
    if (id >= 215 && id <= 218)
        g_office2007Style = id;
    const Colours colours = ColoursOf(id);
    if (QStyle *style = QStyleFactory::create(QString::fromLatin1(colours.style)))
        QApplication::setStyle(style);
    QPalette palette(colours.window.lighter(104), colours.window);
    palette.setColor(QPalette::Base, colours.base);
    palette.setColor(QPalette::AlternateBase, colours.window.lighter(110));
    palette.setColor(QPalette::Text, colours.text);
    palette.setColor(QPalette::WindowText, colours.text);
    palette.setColor(QPalette::ButtonText, colours.text);
    palette.setColor(QPalette::Highlight, colours.highlight);
    palette.setColor(QPalette::HighlightedText, colours.highlight.lightness() > 160 ? Qt::black : Qt::white);
    QApplication::setPalette(palette);
}

} // namespace Looks
