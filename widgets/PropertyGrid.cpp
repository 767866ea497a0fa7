#include "widgets/PropertyGrid.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kIdRole = Qt::UserRole;
constexpr int kEditableRole = Qt::UserRole + 1;
constexpr int kDescriptionRole = Qt::UserRole + 2;
constexpr int kChoicesRole = Qt::UserRole + 3;
constexpr int kModifiedRole = Qt::UserRole + 4;
constexpr int kNoteRole = Qt::UserRole + 5;
constexpr int kNoteColourRole = Qt::UserRole + 6;

// A value with choices is edited in an editable drop-down: pick one of the
// choices or type any text.
class ChoiceDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QStringList choices = index.siblingAtColumn(0).data(kChoicesRole).toStringList();
        if (index.column() != 1 || choices.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(choices);
        return box;
    }
    // A row's note goes at the right end of its last column (the name
    // column when it spans the row), on the row's own background.
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QModelIndex first = index.siblingAtColumn(0);
        const QString note = first.data(kNoteRole).toString();
        const bool spanned = !first.data(kEditableRole).toBool();
        if (note.isEmpty() || index.column() != (spanned ? 0 : 1))
            return;
        const QFontMetrics metrics(option.font);
        const int width = metrics.horizontalAdvance(note) + 8;
        const QRect area(option.rect.right() - width, option.rect.top(), width, option.rect.height());
        painter->save();
        if (!(option.state & QStyle::State_Selected)) {
            const QVariant background = index.data(Qt::BackgroundRole);
            painter->fillRect(area,
                              background.isValid() ? background.value<QBrush>() : option.palette.brush(QPalette::Base));
        }
        QFont font = option.font;
        font.setBold(true);
        painter->setFont(font);
        const QColor colour = first.data(kNoteColourRole).value<QColor>();
        painter->setPen(option.state & QStyle::State_Selected ? option.palette.color(QPalette::HighlightedText)
                        : colour.isValid()                    ? colour
                                                              : option.palette.color(QPalette::Text));
        painter->drawText(area.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, note);
        painter->restore();
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            box->setEditText(index.data(Qt::DisplayRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            model->setData(index, box->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};
} // namespace

PropertyGrid::PropertyGrid(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("1000"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_tree = new QTreeWidget(this);
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({QString(), QString()});
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setUniformRowHeights(true);
    m_tree->header()->setStretchLastSection(true);
    m_tree->header()->setSectionsMovable(false);
    m_tree->setColumnWidth(0, 160);
    // In a narrow window the gap of a caption goes before its value does.
    m_tree->setTextElideMode(Qt::ElideMiddle);
    m_tree->viewport()->installEventFilter(this);
    m_tree->setItemDelegate(new ChoiceDelegate(m_tree));
    layout->addWidget(m_tree, 1);

    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("description"));
    area->setAutoFillBackground(true);
    auto *areaLayout = new QVBoxLayout(area);
    areaLayout->setContentsMargins(4, 2, 4, 2);
    areaLayout->setSpacing(1);
    m_descriptionName = new QLabel(area);
    QFont bold = m_descriptionName->font();
    bold.setBold(true);
    m_descriptionName->setFont(bold);
    m_description = new QLabel(area);
    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_description->setTextFormat(Qt::PlainText);
    m_descriptionName->setTextFormat(Qt::PlainText);
    areaLayout->addWidget(m_descriptionName);
    areaLayout->addWidget(m_description, 1);
    area->setFixedHeight(QFontMetrics(font()).lineSpacing() * (kDescriptionRows + 1) + 6);
    layout->addWidget(area);

    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (m_updating || column != 1)
            return;
        emit ValueEdited(item->data(0, kIdRole).toULongLong(), item->text(1));
    });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { ShowDescription(); });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item, int column) {
        if (column == 1 && item->data(0, kEditableRole).toBool())
            m_tree->editItem(item, 1);
    });
    connect(m_tree->header(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (section == 0 && !m_updating)
            emit NameColumnChanged(size);
    });
}

void PropertyGrid::Apply(QTreeWidgetItem *item, const RowData &row)
{
    const bool wasUpdating = m_updating;
    m_updating = true;
    const QVariant wasModified = item->data(0, kModifiedRole);
    const QVariant wasEditable = item->data(0, kEditableRole);
    item->setData(0, kIdRole, QVariant::fromValue<qulonglong>(row.id));
    item->setData(0, kEditableRole, row.editable);
    item->setData(0, kDescriptionRole, row.description);
    item->setData(0, kChoicesRole, row.choices);
    item->setText(0, row.name);
    item->setText(1, row.value);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (row.editable)
        flags |= Qt::ItemIsEditable;
    // A watched window updates every row many times a second: what did not
    // change is left alone, so the view does not lay its rows out again.
    if (item->flags() != flags)
        item->setFlags(flags);
    item->setData(0, kModifiedRole, row.modified);
    if (item->isExpanded() != row.expanded)
        item->setExpanded(row.expanded);
    // Peripheral and register rows have no value of their own: their
    // caption, with the register value in it, runs across both columns.
    // The span follows the editable state recorded on the item: asking the
    // view for it costs a lookup per row.
    if (!wasEditable.isValid() || wasEditable.toBool() != row.editable)
        item->setFirstColumnSpanned(!row.editable);
    // The marks' fonts depend on the modified state only; they stay otherwise.
    if (!wasModified.isValid() || wasModified.toBool() != row.modified)
        ApplyMarks(item);
    m_updating = wasUpdating;
    if (item == m_tree->currentItem())
        ShowDescription();
}

void PropertyGrid::ApplyMarks(QTreeWidgetItem *item)
{
    const RowMarks marks = m_marks.value(item->data(0, kIdRole).toULongLong());
    // Plain rows take the grid's font as it is now; bold ones a bold copy of it.
    QFont bold = m_tree->font();
    bold.setBold(true);
    item->setData(0, Qt::FontRole, marks.bold ? QVariant(bold) : QVariant());
    item->setData(1, Qt::FontRole, marks.bold || item->data(0, kModifiedRole).toBool() ? QVariant(bold) : QVariant());
    for (int column = 0; column < 2; ++column)
        item->setData(column, Qt::BackgroundRole,
                      marks.background.isValid() ? QVariant(QBrush(marks.background)) : QVariant());
    item->setData(0, kNoteRole, marks.note);
    item->setData(0, kNoteColourRole, marks.noteColour);
}

void PropertyGrid::SetRowMarks(uint64_t id, const RowMarks &marks)
{
    QTreeWidgetItem *item = m_items.value(id);
    if (!item || m_marks.value(id) == marks)
        return;
    if (marks == RowMarks())
        m_marks.remove(id);
    else
        m_marks.insert(id, marks);
    const bool wasUpdating = m_updating;
    m_updating = true;
    ApplyMarks(item);
    m_updating = wasUpdating;
}

PropertyGrid::RowMarks PropertyGrid::Marks(uint64_t id) const
{
    return m_marks.value(id);
}

void PropertyGrid::SetRowHidden(uint64_t id, bool hidden)
{
    if (QTreeWidgetItem *item = m_items.value(id); item && item->isHidden() != hidden)
        item->setHidden(hidden);
}

bool PropertyGrid::IsRowHidden(uint64_t id) const
{
    QTreeWidgetItem *item = m_items.value(id);
    return item && item->isHidden();
}

void PropertyGrid::AddRow(uint64_t parentId, const RowData &row)
{
    QTreeWidgetItem *parent = parentId ? m_items.value(parentId) : nullptr;
    auto *item = new QTreeWidgetItem;
    m_updating = true;
    if (parent)
        parent->addChild(item);
    else
        m_tree->addTopLevelItem(item);
    m_items.insert(row.id, item);
    Apply(item, row);
    m_updating = false;
}

void PropertyGrid::UpdateRow(const RowData &row)
{
    if (QTreeWidgetItem *item = m_items.value(row.id))
        Apply(item, row);
}

void PropertyGrid::RemoveRow(uint64_t id)
{
    QTreeWidgetItem *item = m_items.value(id);
    if (!item)
        return;
    QList<QTreeWidgetItem *> pending{item};
    while (!pending.isEmpty()) {
        QTreeWidgetItem *next = pending.takeLast();
        m_items.remove(next->data(0, kIdRole).toULongLong());
        m_marks.remove(next->data(0, kIdRole).toULongLong());
        for (int i = 0; i < next->childCount(); ++i)
            pending << next->child(i);
    }
    m_updating = true;
    delete item;
    m_updating = false;
    ShowDescription();
}

void PropertyGrid::Clear()
{
    m_updating = true;
    m_tree->clear();
    m_items.clear();
    m_marks.clear();
    m_updating = false;
    ShowDescription();
}

void PropertyGrid::SetHeaderTitles(const QString &left, const QString &right)
{
    m_tree->setHeaderLabels({left, right});
}

QString PropertyGrid::LeftTitle() const
{
    return m_tree->headerItem()->text(0);
}

QString PropertyGrid::RightTitle() const
{
    return m_tree->headerItem()->text(1);
}

int PropertyGrid::NameColumnWidth() const
{
    return m_tree->columnWidth(0);
}

void PropertyGrid::SetNameColumnWidth(int width)
{
    if (m_tree->columnWidth(0) == width)
        return;
    m_updating = true;
    m_tree->setColumnWidth(0, width);
    m_updating = false;
}

void PropertyGrid::SetCaptionFont(const QFont &font)
{
    m_tree->setFont(font);
    m_updating = true;
    for (QTreeWidgetItem *item : std::as_const(m_items))
        ApplyMarks(item);
    m_updating = false;
}

uint64_t PropertyGrid::SelectedId() const
{
    QTreeWidgetItem *item = m_tree->currentItem();
    return item && item->isSelected() ? item->data(0, kIdRole).toULongLong() : 0;
}

void PropertyGrid::Select(uint64_t id)
{
    QTreeWidgetItem *item = m_items.value(id);
    if (!item) {
        m_tree->clearSelection();
        m_tree->setCurrentItem(nullptr);
        return;
    }
    m_tree->setCurrentItem(item);
    item->setSelected(true);
}

bool PropertyGrid::EditValue(uint64_t id)
{
    QTreeWidgetItem *item = m_items.value(id);
    if (!item || !item->data(0, kEditableRole).toBool())
        return false;
    m_tree->setCurrentItem(item);
    m_tree->editItem(item, 1);
    return true;
}

void PropertyGrid::EndEdit()
{
    if (QWidget *editor = m_tree->focusWidget(); editor && editor != m_tree && m_tree->isAncestorOf(editor)) {
        // Committing through the delegate keeps what was typed.
        QMetaObject::invokeMethod(m_tree, "commitData", Q_ARG(QWidget *, editor));
        QMetaObject::invokeMethod(m_tree, "closeEditor", Q_ARG(QWidget *, editor),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
}

QString PropertyGrid::DescriptionText() const
{
    return m_description->text();
}

void PropertyGrid::ShowDescription()
{
    QTreeWidgetItem *item = m_tree->currentItem();
    m_descriptionName->setText(item ? item->text(0) : QString());
    m_description->setText(item ? item->data(0, kDescriptionRole).toString() : QString());
}

bool PropertyGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree->viewport() && event->type() == QEvent::ContextMenu) {
        auto *request = static_cast<QContextMenuEvent *>(event);
        QPoint at = request->pos();
        if (request->reason() == QContextMenuEvent::Mouse) {
            if (QTreeWidgetItem *item = m_tree->itemAt(at)) {
                m_tree->setCurrentItem(item);
                item->setSelected(true);
            }
        } else if (QTreeWidgetItem *item = m_tree->currentItem()) {
            at = m_tree->visualItemRect(item).center();
        }
        emit ContextMenuRequested(m_tree->viewport()->mapTo(this, at));
        // Handled here: the windows around the grid must not open their own.
        request->accept();
        return true;
    }
    if (watched == m_tree->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint position = m_tree->viewport()->mapTo(this, mouse->position().toPoint());
        emit ButtonReleased(mouse->button(), position);
    }
    return QWidget::eventFilter(watched, event);
}

void PropertyGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit GridWidthChanged(width());
}
