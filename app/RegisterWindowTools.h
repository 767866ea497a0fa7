#pragma once

#include "regmap/RowComparison.h"
#include "regmap/WindowWatch.h"

#include <QColor>
#include <QElapsedTimer>
#include <QHash>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class PropertyGrid;
class QAction;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QPalette;
class QPushButton;
class QTimer;
class RegisterWindow;
class ValuePlotPane;
class Workspace;

// The pieces of its register window the tool row works on, as the window
// hands them over.
struct RegisterWindowParts
{
    QWidget *window; // the tool row's parent
    RegisterWindow *logic;
    PropertyGrid *grid;
    std::function<void()> showPlot;
    // Shows a menu at a point and gives the entry picked, as the window does.
    std::function<QAction *(QMenu &, const QPoint &)> showMenu;

    RegisterWindow *Logic() const { return logic; }
    PropertyGrid *Grid() const { return grid; }
    void ShowPlot() const { showPlot(); }
    QAction *ShowMenu(QMenu &menu, const QPoint &at) const { return showMenu(menu, at); }
};

// The tool row at the top of a register window: the watch and its rate, the
// find box, "changes only", comparison and export. It also draws what they
// mean on the window's grid: changed rows highlighted and fading, compared
// rows with the other value beside them, rows the find box or "changes
// only" leaves out hidden, and a point on every plotted line per refresh.
class RegisterWindowTools : public QWidget
{
    Q_OBJECT

public:
    RegisterWindowTools(Workspace &workspace, RegisterWindowParts window, ValuePlotPane &plot);
    ~RegisterWindowTools() override;

    WindowWatch &Watch() { return m_watch; }
    int Rate() const;
    // The rows changed shape: peripherals added, removed or rebuilt.
    void RowsReshaped();
    // Marks and hidden rows drawn anew.
    void Redraw();
    // Values of the rows changed (a load, a read, an edit): a comparison is
    // drawn anew once the event loop turns.
    void RowsChanged();
    // A register, value or field row goes into the plot pane.
    void Plot(uint64_t rowId);
    // A read of the peripheral ended: the watch's older images of it go.
    void ForgetWatchImagesOf(const QString &peripheral) { m_watch.ForgetPending(peripheral); }
    // Ctrl+F.
    void FocusFind();
    // Lays the controls out for `width` (one line, or two when one would cut
    // a control) and gives the height they then take.
    int HeightFor(int width);

    // How a changed row is drawn when its mark has `strength` (1 at the last
    // read, fading to 0) and how a differing row is drawn, on a palette.
    static QColor ChangedBackground(const QPalette &palette, double strength);
    static QColor ComparedBackground(const QPalette &palette);
    static QColor OtherValueColour();

    // Other windows' values, or the saved snapshot files of these peripherals.
    void CompareWithSnapshots(const QString &folder);
    void CompareWithWindow(int slot);
    void EndComparison();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum class Source { None, Snapshots, Window };

    void StartOrStopWatch(bool on);
    void ShowCompareMenu();
    void ShowExportMenu();
    void Export(bool json);
    void Refreshed();
    std::map<QString, RowComparison> Comparisons() const;

    Workspace &m_workspace;
    RegisterWindowParts m_view;
    ValuePlotPane &m_plot;
    WindowWatch m_watch;
    QElapsedTimer m_clock;
    QHBoxLayout *m_top = nullptr;
    QHBoxLayout *m_third = nullptr;
    QHBoxLayout *m_bottom = nullptr;
    int m_lines = 0; // 0 until laid out
    QCheckBox *m_watchBox = nullptr;
    QComboBox *m_rate = nullptr;
    QLineEdit *m_find = nullptr;
    QCheckBox *m_changesOnly = nullptr;
    QPushButton *m_compare = nullptr;
    QPushButton *m_export = nullptr;
    Source m_source = Source::None;
    int m_otherSlot = -1;
    std::map<QString, QByteArray> m_snapshots; // peripheral name: image
    QTimer *m_fade = nullptr;                  // a stopped watch's marks fade step by step
    bool m_restarting = false;
    bool m_redrawPosted = false;
};
