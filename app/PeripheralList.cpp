#include "app/PeripheralList.h"

#include "link/Tr.h"

#include "app/PanelControlIds.h"
#include "app/RegisterWindowView.h"
#include "app/RegisterWindows.h"
#include "app/Workspace.h"
#include "regmap/RegisterWindow.h"
#include "regmap/CorePeripherals.h"
#include "regmap/SvdDeviceModel.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Draws each cell, then its right and bottom edge in the look's grid colour.
class GridLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const QRect cell = option.rect;
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->restore();
    }
};

} // namespace

PeripheralList::PeripheralList(Workspace &workspace, RegisterWindows &windows, QWidget *parent)
    : QTreeWidget(parent)
    , m_workspace(workspace)
    , m_windows(windows)
{
    setObjectName(PanelObjectName(PanelControlId::PeripheralList));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    // The name column, then one column per register window slot.
    QStringList titles{Tr(QT_TRANSLATE_NOOP("Corvane", "IP list"))};
    for (int slot = 0; slot < RegisterWindowTable::kSlots; ++slot)
        titles << QString::number(slot);
    setColumnCount(int(titles.size()));
    setHeaderLabels(titles);
}

void PeripheralList::SetUp()
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    // Grid lines drawn by a delegate: a style sheet would freeze the list's
    // palette, and with it the selection colours of the look at that time.
    setItemDelegate(new GridLineDelegate(this));
    header()->setStretchLastSection(false);
    SetColumnWidths();
}

void PeripheralList::SetColumnWidths()
{
    setColumnWidth(0, m_workspace.Scaled(160));
    for (int column = 1; column <= RegisterWindowTable::kSlots; ++column)
        setColumnWidth(column, m_workspace.Scaled(40));
}

QString PeripheralList::Chip() const
{
    return m_workspace.Chip();
}

WindowMask PeripheralList::Mask(const QString &name) const
{
    return WindowMask(m_workspace.Config().ReadInt(Chip(), name, 0));
}

bool PeripheralList::WriteMask(const QString &name, WindowMask mask)
{
    if (mask.IsEmpty())
        return m_workspace.Config().WriteText(Chip(), name, QString());
    return m_workspace.Config().WriteInt(Chip(), name, mask.Bits());
}

bool PeripheralList::ClearMark(QTreeWidgetItem *item, int slot)
{
    const QString name = item->text(0);
    const WindowMask mask = Mask(name).Without(slot);
    if (!WriteMask(name, mask))
        return false;
    item->setText(slot + 1, QString());
    if (mask.IsEmpty())
        SetTicked(item, false);
    return true;
}

QTreeWidgetItem *PeripheralList::FindRow(const QString &name) const
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->text(0) == name)
            return topLevelItem(i);
    return nullptr;
}

void PeripheralList::Fill()
{
    clear();
    const QString chip = Chip();
    const QString path = SvdDeviceModel::SvdFilePath(m_workspace.ExeDir(), chip);
    QStringList names = SvdDeviceModel::ReadPeripheralNames(path);
    names += CorePeripherals::Missing(
        names, SvdDeviceModel::ReadPeripheralNames(CorePeripherals::FilePath(m_workspace.ExeDir())));
    QStringList sorted;
    for (const QString &name : names) {
        // Ascending by UTF-16 code units; an equal name goes after the others.
        const auto place = std::upper_bound(sorted.begin(), sorted.end(), name);
        const int row = int(place - sorted.begin());
        sorted.insert(row, name);
        auto *item = new QTreeWidgetItem({name});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        SetTicked(item, false);
        insertTopLevelItem(row, item);
        const WindowMask mask(m_workspace.Config().ReadInt(chip, name, 0));
        if (mask.Bits() > 0) {
            SetTicked(item, true);
            for (int k = 0; k < RegisterWindowTable::kSlots; ++k)
                if (mask.Has(k))
                    item->setText(k + 1, QString::fromUtf8(kMark));
        }
    }
}

void PeripheralList::CheckBoxClicked(QTreeWidgetItem *item)
{
    BusyScope busy(m_workspace.Context().busy);
    const QString name = item->text(0);
    if (Ticked(item)) {
        const WindowMask mask = Mask(name);
        if (!WriteMask(name, WindowMask()))
            return;
        for (int k = 0; k < RegisterWindowTable::kSlots; ++k) {
            if (!mask.Has(k))
                continue;
            item->setText(k + 1, QString());
            if (RegisterWindowView *window = m_windows.Window(k))
                window->RemovePeripheralRows(name);
        }
        SetTicked(item, false);
        return;
    }
    const int slot = m_windows.ActiveSlot();
    if (slot < 0 || slot >= RegisterWindowTable::kSlots)
        return; // no active register window: the row stays clear
    if (!WriteMask(name, WindowMask().With(slot)))
        return;
    item->setText(slot + 1, QString::fromUtf8(kMark));
    if (RegisterWindowView *window = m_windows.Window(slot))
        window->AddPeripheralRows(name);
    SetTicked(item, true);
}

void PeripheralList::CellDoubleClicked(QTreeWidgetItem *item, int column)
{
    if (column < 1 || column > RegisterWindowTable::kSlots)
        return;
    const int slot = column - 1;
    RegisterWindowView *window = m_windows.Window(slot);
    if (!window)
        return;
    BusyScope busy(m_workspace.Context().busy);
    const QString name = item->text(0);
    const WindowMask mask = Mask(name);
    if (mask.Has(slot)) {
        if (ClearMark(item, slot))
            window->RemovePeripheralRows(name);
    } else {
        AddMark(item, slot);
    }
}

bool PeripheralList::AddMark(QTreeWidgetItem *item, int slot)
{
    RegisterWindowView *window = m_windows.Window(slot);
    const QString name = item->text(0);
    const WindowMask mask = Mask(name);
    if (!window || (!mask.Has(slot) && !WriteMask(name, mask.With(slot))))
        return false;
    item->setText(slot + 1, QString::fromUtf8(kMark));
    SetTicked(item, true);
    window->AddPeripheralRows(name);
    return true;
}

bool PeripheralList::ShowInWindow(const QString &name, int slot)
{
    QTreeWidgetItem *item = FindRow(name);
    const RegisterWindowView *window = m_windows.Window(slot);
    if (!item || !window)
        return false;
    if (window->Logic()->Tree().FindTopRow(name))
        return true;
    BusyScope busy(m_workspace.Context().busy);
    return AddMark(item, slot);
}

void PeripheralList::RemoveSlot(int slot)
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = topLevelItem(i);
        // After one failed write the rest would fail alike: one message.
        if (Ticked(item) && Mask(item->text(0)).Has(slot) && !ClearMark(item, slot))
            return;
    }
}

bool PeripheralList::OnCheckBox(QTreeWidgetItem *item, const QPoint &position)
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = indexFromItem(item, 0);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    option.checkState = item->checkState(0);
    const QRect box = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    return box.contains(position);
}

void PeripheralList::mousePressEvent(QMouseEvent *event)
{
    QTreeWidgetItem *item = itemAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && item && OnCheckBox(item, event->position().toPoint())) {
        CheckBoxClicked(item);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void PeripheralList::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    QTreeWidgetItem *item = itemAt(position);
    if (event->button() == Qt::LeftButton && item && !OnCheckBox(item, position)) {
        const int column = columnAt(position.x());
        if (column >= 1 && column <= RegisterWindowTable::kSlots) {
            CellDoubleClicked(item, column);
            event->accept();
            return;
        }
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}
