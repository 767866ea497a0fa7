#include "widgets/PropertyGrid.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A value with choices is edited in an editable drop-down: pick one of the
// choices or type any text. A row's note is drawn at the right end of its
// value when it fits beside it; otherwise only the tooltip carries it, so it
// never hides the value.
class ValueDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const auto choices = index.data(PropertyModel::ChoicesRole).value<QList<PropertyChoice>>();
        if (index.column() != 1 || choices.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        for (const PropertyChoice &choice : choices)
            box->addItem(choice.number + QStringLiteral(" (") + choice.name + u')', QVariant::fromValue(choice));
        return box;
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QString note = index.data(PropertyModel::NoteRole).toString();
        if (note.isEmpty() || index.column() != 1)
            return;
        QFont font = option.font;
        font.setBold(true);
        const QFontMetrics metrics(font);
        const int width = metrics.horizontalAdvance(note) + 8;
        const int valueWidth = metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 12;
        if (valueWidth + width > option.rect.width())
            return;
        const QRect area(option.rect.right() - width, option.rect.top(), width, option.rect.height());
        painter->save();
        if (!(option.state & QStyle::State_Selected)) {
            const QVariant background = index.data(Qt::BackgroundRole);
            painter->fillRect(area,
                              background.isValid() ? background.value<QBrush>() : option.palette.brush(QPalette::Base));
        }
        painter->setFont(font);
        const QColor colour = index.data(PropertyModel::NoteColourRole).value<QColor>();
        painter->setPen(option.state & QStyle::State_Selected ? option.palette.color(QPalette::HighlightedText)
                        : colour.isValid()                    ? colour
                                                              : option.palette.color(QPalette::Text));
        painter->drawText(area.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, note);
        painter->restore();
    }
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        // A value too wide for its column ends in an ellipsis; a name may
        // rather keep its end (the indices of an array element).
        const QVariant elide = index.column() == 0 ? index.data(PropertyModel::ElideRole) : QVariant();
        option->textElideMode = elide.isValid() ? Qt::TextElideMode(elide.toInt()) : Qt::ElideRight;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            box->setEditText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor)) {
            // A choice picked (or its text typed whole) goes as its value;
            // the text it opened with is no edit, any other text is typed.
            const QString text = box->currentText();
            const int at = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (at >= 0 && text != index.data(Qt::EditRole).toString())
                model->setData(index, box->itemData(at), Qt::EditRole);
            else
                model->setData(index, text, Qt::EditRole);
        } else
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};

// The widest value a register or field shows, with room for a short name.
constexpr char kWidestValue[] = "0x00000000 (WWWW)";
// What a value column never gets less room for: a whole word.
constexpr char kWidestNumber[] = "0x00000000";
// What a name column keeps at least while the value needs its room.
constexpr int kNarrowestName = 40;
// What a value column keeps at least: an ellipsis and a digit or two.
constexpr int kNarrowestValue = 24;

} // namespace

PropertyGrid::PropertyGrid(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("1000"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_tree = new QTreeView(this);
    m_tree->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setAllColumnsShowFocus(true);
    // Every row is one line: the view lays out a large peripheral without
    // asking each row for its height.
    m_tree->setUniformRowHeights(true);
    m_tree->header()->setStretchLastSection(true);
    m_tree->header()->setSectionsMovable(false);
    m_tree->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    // A name that does not fit loses its end (an array element its middle);
    // a value keeps the room of the widest value, and where even a word
    // does not fit it ends in an ellipsis, never cut to a shorter number.
    m_tree->setTextElideMode(Qt::ElideRight);
    m_tree->header()->setMinimumSectionSize(kNarrowestValue);
    m_tree->viewport()->installEventFilter(this);
    m_tree->installEventFilter(this);
    m_tree->setItemDelegate(new ValueDelegate(m_tree));
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

    connect(m_tree, &QTreeView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() == 1)
            TryEdit(index);
    });
    connect(m_tree->header(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (section == 0 && !m_updating) {
            m_nameWidth = size;
            m_nameDragged = true;
            emit NameColumnChanged(size);
        }
    });
    for (const bool expanded : {true, false})
        connect(m_tree, expanded ? &QTreeView::expanded : &QTreeView::collapsed, this,
                [this, expanded](const QModelIndex &index) {
                    if (!m_updating && index.data(PropertyModel::ExpandedRole).toBool() != expanded)
                        emit RowExpansionChanged(PropertyModel::IdOf(index), expanded);
                    FitSoon();
                });
    connect(m_tree->header(), &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint &at) { ShowHeaderMenu(at); });
}

void PropertyGrid::SetModel(PropertyModel *model)
{
    m_model = model;
    m_tree->setModel(model);
    model->SetFont(m_tree->font());
    for (int column = 2; column < model->columnCount(); ++column)
        m_tree->setColumnHidden(column, true);
    SetNameColumnWidth(m_nameWidth);
    connect(model, &PropertyModel::ValueEdited, this, &PropertyGrid::ValueEdited);
    connect(model, &PropertyModel::ValueChosen, this, &PropertyGrid::ValueChosen);
    connect(model, &QAbstractItemModel::rowsInserted, this, &PropertyGrid::ExpandInserted);
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { FitSoon(); });
    // A reset (a rebuild) opens the rows the model says are open, as an insertion does.
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        if (const int rows = m_model->rowCount(); rows > 0)
            ExpandInserted(QModelIndex(), 0, rows - 1);
    });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { FitSoon(); });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &first, const QModelIndex &last) { FollowExpansion(first, last); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { ShowDescription(); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { ShowDescription(); });
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { ShowDescription(); });
}

QModelIndex PropertyGrid::Index(uint64_t id, int column) const
{
    return m_model ? m_model->IndexOf(id, column) : QModelIndex();
}

void PropertyGrid::ExpandInserted(const QModelIndex &parent, int first, int last)
{
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = m_model->index(row, 0, parent);
        if (!index.data(PropertyModel::ExpandedRole).toBool())
            continue;
        // A peripheral with every register open is expanded in one pass.
        const int children = m_model->rowCount(index);
        bool allOpen = children > 0;
        for (int child = 0; allOpen && child < children; ++child)
            allOpen = m_model->index(child, 0, index).data(PropertyModel::ExpandedRole).toBool();
        if (allOpen) {
            m_tree->expandRecursively(index, 1);
            continue;
        }
        m_tree->expand(index);
        for (int child = 0; child < children; ++child) {
            const QModelIndex inner = m_model->index(child, 0, index);
            if (inner.data(PropertyModel::ExpandedRole).toBool())
                m_tree->expand(inner);
        }
    }
}

void PropertyGrid::FollowExpansion(const QModelIndex &first, const QModelIndex &last)
{
    if (first.column() != 0)
        return;
    for (int row = first.row(); row <= last.row(); ++row) {
        const QModelIndex index = first.siblingAtRow(row);
        if (m_model->rowCount(index) == 0)
            continue;
        const bool expanded = index.data(PropertyModel::ExpandedRole).toBool();
        if (m_tree->isExpanded(index) != expanded) {
            m_updating = true;
            m_tree->setExpanded(index, expanded);
            m_updating = false;
        }
    }
    if (m_tree->currentIndex().isValid() && m_tree->currentIndex().parent() == first.parent() &&
        m_tree->currentIndex().row() >= first.row() && m_tree->currentIndex().row() <= last.row())
        ShowDescription();
}

void PropertyGrid::SetRowMarks(uint64_t id, const RowMarks &marks)
{
    if (m_model)
        m_model->SetMarks(id, marks);
}

PropertyGrid::RowMarks PropertyGrid::Marks(uint64_t id) const
{
    return m_model ? m_model->Marks(id) : RowMarks();
}

void PropertyGrid::SetRowHidden(uint64_t id, bool hidden)
{
    const QModelIndex index = Index(id);
    if (index.isValid() && m_tree->isRowHidden(index.row(), index.parent()) != hidden)
        m_tree->setRowHidden(index.row(), index.parent(), hidden);
}

bool PropertyGrid::IsRowHidden(uint64_t id) const
{
    const QModelIndex index = Index(id);
    return index.isValid() && m_tree->isRowHidden(index.row(), index.parent());
}

void PropertyGrid::SetHeaderTitles(const QString &left, const QString &right)
{
    if (m_model)
        m_model->SetTitles(left, right);
}

QString PropertyGrid::LeftTitle() const
{
    return m_model ? m_model->Title(0) : QString();
}

QString PropertyGrid::RightTitle() const
{
    return m_model ? m_model->Title(1) : QString();
}

QList<int> PropertyGrid::ShownExtraColumns() const
{
    QList<int> shown;
    for (int column = 2; m_model && column < m_model->columnCount(); ++column)
        if (!m_tree->isColumnHidden(column))
            shown << column;
    return shown;
}

void PropertyGrid::SetShownExtraColumns(const QList<int> &columns)
{
    for (int column = 2; m_model && column < m_model->columnCount(); ++column)
        m_tree->setColumnHidden(column, !columns.contains(column));
    FitValueColumn();
}

void PropertyGrid::ShowHeaderMenu(const QPoint &at)
{
    if (!m_model)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("columns"));
    for (int column = 2; column < m_model->columnCount(); ++column) {
        QAction *action = menu.addAction(m_model->headerData(column, Qt::Horizontal).toString());
        action->setCheckable(true);
        action->setChecked(!m_tree->isColumnHidden(column));
        action->setData(column);
    }
    QAction *chosen = menu.exec(m_tree->header()->viewport()->mapToGlobal(at));
    if (!chosen)
        return;
    m_tree->setColumnHidden(chosen->data().toInt(), !chosen->isChecked());
    FitValueColumn();
    emit ColumnsChosen();
}

void PropertyGrid::FitValueColumn()
{
    // The value column keeps room for the widest value; the name column
    // takes what the values leave: the width the user dragged, else as much
    // as the names shown need, never less than asked. With further columns
    // shown, the value column stops stretching and the extra ones fit their
    // contents. In a window too narrow for that, the name gives way first,
    // down to its narrowest; the value then keeps what is left inside the
    // view, where a shortened one ends in an ellipsis.
    const QFontMetrics metrics(m_tree->font());
    const int valueWidth = metrics.horizontalAdvance(QLatin1String(kWidestValue)) + 16;
    const int numberWidth = metrics.horizontalAdvance(QLatin1String(kWidestNumber)) + 16;
    const bool extras = !ShownExtraColumns().isEmpty();
    const int viewport = m_tree->viewport()->width();
    int width = m_nameWidth;
    if (!m_nameDragged) {
        width = std::max(width, std::min(static_cast<const QAbstractItemView *>(m_tree)->sizeHintForColumn(0) + 8,
                                         viewport - valueWidth));
    }
    if (!extras && width + valueWidth > viewport) {
        // Too narrow for names and the widest value: the value keeps its
        // room while the names keep their narrowest, else a whole word.
        const int wanted =
            m_nameDragged ? width
                          : std::max(width, static_cast<const QAbstractItemView *>(m_tree)->sizeHintForColumn(0) + 8);
        width = viewport - valueWidth;
        if (width < kNarrowestName)
            width = std::min(wanted, viewport - numberWidth);
    } else if (width + numberWidth > viewport) {
        width = viewport - numberWidth;
    }
    width = std::max(width, kNarrowestName);
    // A stretched last column never narrows below the width it had before it
    // stretched: that width stays the narrowest, so it never runs past the view.
    if (extras) {
        m_tree->setColumnWidth(1, std::clamp(viewport - width, kNarrowestValue, valueWidth));
        m_valueFloor = 0;
    } else if (m_valueFloor != kNarrowestValue) {
        m_valueFloor = kNarrowestValue;
        m_tree->header()->setStretchLastSection(false);
        m_tree->setColumnWidth(1, kNarrowestValue);
        m_tree->header()->setStretchLastSection(true);
    }
    if (m_tree->columnWidth(0) != width) {
        m_updating = true;
        m_tree->setColumnWidth(0, width);
        m_updating = false;
    }
}

void PropertyGrid::FitSoon()
{
    if (m_fitPosted)
        return;
    m_fitPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_fitPosted = false;
            FitValueColumn();
        },
        Qt::QueuedConnection);
}

int PropertyGrid::NameColumnWidth() const
{
    return m_nameWidth;
}

void PropertyGrid::SetNameColumnWidth(int width)
{
    m_nameWidth = width;
    FitValueColumn();
}

void PropertyGrid::SetNameColumnDragged(bool dragged)
{
    m_nameDragged = dragged;
    FitValueColumn();
}

void PropertyGrid::SetCaptionFont(const QFont &font)
{
    m_tree->setFont(font);
    if (m_model) {
        m_model->SetFont(font);
        if (m_model->rowCount() > 0)
            emit m_model->layoutChanged();
    }
    FitValueColumn();
}

uint64_t PropertyGrid::SelectedId() const
{
    const QModelIndex current = m_tree->currentIndex();
    return current.isValid() && m_tree->selectionModel()->isSelected(current) ? PropertyModel::IdOf(current) : 0;
}

void PropertyGrid::Select(uint64_t id)
{
    const QModelIndex index = Index(id);
    if (!index.isValid()) {
        m_tree->clearSelection();
        m_tree->setCurrentIndex(QModelIndex());
        return;
    }
    m_tree->setCurrentIndex(index);
}

bool PropertyGrid::EditValue(uint64_t id)
{
    const QModelIndex index = Index(id, 1);
    if (!index.isValid() || !index.data(PropertyModel::EditableRole).toBool())
        return false;
    m_tree->setCurrentIndex(index.siblingAtColumn(0));
    m_tree->edit(index);
    return true;
}

bool PropertyGrid::TryEdit(const QModelIndex &index)
{
    if (!index.isValid())
        return false;
    const uint64_t id = PropertyModel::IdOf(index);
    if (EditValue(id))
        return true;
    // A row without a value (a peripheral) has nothing to refuse.
    if (!index.siblingAtColumn(1).data().toString().isEmpty())
        emit EditRefused(id);
    return false;
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
    const QModelIndex current = m_tree->currentIndex();
    m_descriptionName->setText(current.isValid() ? current.siblingAtColumn(0).data().toString() : QString());
    m_description->setText(current.isValid() ? current.data(PropertyModel::DescriptionRole).toString() : QString());
}

bool PropertyGrid::eventFilter(QObject *watched, QEvent *event)
{
    // Keys reach the view itself only while no editor is open.
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Enter opens the selected row's value for editing, as F2 does.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            if (TryEdit(m_tree->currentIndex()))
                return true;
        }
        // Space flips a one-bit value as a click on a check box would.
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            const QModelIndex value = m_tree->currentIndex().siblingAtColumn(1);
            const QString flipped = value.data(PropertyModel::ToggleRole).toString();
            if (value.isValid() && !flipped.isEmpty()) {
                m_tree->model()->setData(value, flipped, Qt::EditRole);
                return true;
            }
            if (value.isValid() && !value.data(PropertyModel::EditableRole).toBool() &&
                !value.data().toString().isEmpty()) {
                emit EditRefused(PropertyModel::IdOf(value));
                return true;
            }
        }
        if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier) {
            TryEdit(m_tree->currentIndex());
            return true;
        }
    }
    if (watched == m_tree->viewport() && event->type() == QEvent::ContextMenu) {
        auto *request = static_cast<QContextMenuEvent *>(event);
        QPoint at = request->pos();
        if (request->reason() == QContextMenuEvent::Mouse) {
            if (const QModelIndex index = m_tree->indexAt(at); index.isValid())
                m_tree->setCurrentIndex(index.siblingAtColumn(0));
        } else if (const QModelIndex current = m_tree->currentIndex(); current.isValid()) {
            at = m_tree->visualRect(current).center();
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
    if (watched == m_tree->viewport() && event->type() == QEvent::Resize)
        FitValueColumn();
    return QWidget::eventFilter(watched, event);
}

void PropertyGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit GridWidthChanged(width());
}
