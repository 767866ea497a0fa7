#pragma once

#include <QColor>
#include <QList>
#include <QPalette>
#include <QString>

// The visual looks of the main window, by their menu identifiers 205 to 219.
// Each maps to a Qt style with a palette of its own; any identifier outside
// the list gets the Office 2007 look in its current colour style.
namespace Looks {

inline constexpr int kDefaultLook = 210;
inline constexpr int kOffice2007Blue = 215;
inline constexpr int kWindows7 = 219;

struct MenuEntry
{
    int id;
    const char *text;
};

// 205 to 210, in menu order.
const QList<MenuEntry> &MainEntries();
// 215 to 218, the sub-menu "Office 2007(&7)".
const QList<MenuEntry> &Office2007Entries();

// The palette and the Qt style of a look.
QPalette PaletteOf(int id);
QString StyleOf(int id);
// WCAG contrast ratio of two colours, 1 to 21.
double ContrastRatio(const QColor &a, const QColor &b);

// The text colour of a value edited and not yet written to the chip, on a
// look's palette: it stands out from the look's text on the grid's base and
// on the marks' backgrounds.
QColor PendingEditColour(const QPalette &palette);

// Installs the look on the whole application.
void Install(int id);

} // namespace Looks
