#pragma once

#include "memview/ChipAddressMap.h"
#include "memview/MemoryUnits.h"
#include "memview/MemoryView.h"

#include <QAbstractScrollArea>

#include <memory>
#include <optional>
#include <map>
#include <vector>

// The rows of a memory window: a header of offsets, then per row the
// address, the units, the ASCII column and the names of the registers that
// begin in the row. It draws its MemoryView and turns the user's keys and
// clicks into moves of the view's cursor and into the window's requests
// (a unit typed over, undo, a peripheral to open); it never reaches the
// target itself.
class MemoryHexArea : public QAbstractScrollArea
{
    Q_OBJECT

public:
    MemoryHexArea(MemoryView &view, QWidget *parent = nullptr);

    void SetAddressMap(std::shared_ptr<const ChipAddressMap> map);
    // A unit whose write is on its way: the value written is drawn as on
    // its way until the result is in (nothing: the write has ended).
    void SetPending(uint32_t unitAddress, std::optional<uint32_t> value);
    // The bytes of a find's match, drawn selected.
    void SetMatch(std::optional<AddressRun> match);
    // The view changed (scrolled, new values, a new unit or row width).
    void ViewChanged();
    const std::optional<MemoryUnits::UnitEdit> &Edit() const { return m_edit; }
    void CancelEdit();

    // Where things are drawn, in the viewport's coordinates.
    int RowHeight() const { return m_rowHeight; }
    int HeaderHeight() const { return RowHeight(); }
    QRect UnitRect(uint32_t unitAddress) const;
    QRect AsciiRect(uint32_t address) const;
    // The register name of the margin, where it is drawn and its text;
    // empty when it is not drawn.
    QRect MarginNameRect(uint32_t registerAddress) const;
    QString MarginText(uint32_t registerAddress) const;

    // Colours of the marks, for a palette.
    static QColor MarkColour(const QPalette &palette);
    static QColor PendingColour(const QPalette &palette);

signals:
    void Scrolled();
    void CursorMoved();
    void WriteRequested(uint32_t address, int size, uint32_t before, uint32_t after);
    void UndoRequested();
    void RefreshRequested();
    void PeripheralRequested(const QString &peripheral);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct MarginEntry
    {
        QRectF rect;
        const ChipAddressMap::Register *reg;
        QString text;
    };

    double CharWidth() const { return m_charWidth; }
    void UpdateMetrics();
    double ColumnX(int column) const;
    int UnitColumn(int unitIndex) const;
    int AsciiColumn() const;
    int MarginColumn() const;
    int RowOf(uint32_t address) const; // -1 when not shown
    std::vector<MarginEntry> MarginEntries(int row) const;
    // The unit or ASCII byte under a point, or the register named there.
    std::optional<uint32_t> AddressAt(const QPoint &point) const;
    const ChipAddressMap::Register *RegisterNamedAt(const QPoint &point) const;
    void UpdateScrollBar();
    void Moved();
    void Commit();
    QString ToolTipAt(const QPoint &point) const;

    MemoryView &m_view;
    std::shared_ptr<const ChipAddressMap> m_map;
    std::map<uint32_t, uint32_t> m_pending; // unit address: value on its way
    std::optional<AddressRun> m_match;
    std::optional<MemoryUnits::UnitEdit> m_edit;
    bool m_settingScrollBar = false;
    double m_charWidth = 8;
    int m_rowHeight = 16;
};
