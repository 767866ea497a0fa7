#pragma once

// A register window's grid as the window tests read it: a row is a model
// index of the grid's view, read through a few calls shaped like a tree
// widget's, so a test says what it looks for and not how the view keeps it.

#include <QAbstractItemModel>
#include <QTreeView>

#include <cstddef>
#include <ostream>

class GridItem
{
public:
    GridItem() = default;
    GridItem(std::nullptr_t) {}
    GridItem(QTreeView *view, const QModelIndex &index)
        : m_view(view)
        , m_index(index.siblingAtColumn(0))
    {}

    const GridItem *operator->() const { return this; }
    explicit operator bool() const { return m_index.isValid(); }
    bool operator==(const GridItem &other) const { return m_index == other.m_index; }
    bool operator==(std::nullptr_t) const { return !m_index.isValid(); }

    QString text(int column) const { return m_index.siblingAtColumn(column).data().toString(); }
    QVariant data(int column, int role) const { return m_index.siblingAtColumn(column).data(role); }
    int childCount() const { return m_index.isValid() ? m_view->model()->rowCount(m_index) : 0; }
    GridItem child(int row) const { return GridItem(m_view, m_view->model()->index(row, 0, m_index)); }
    GridItem parent() const { return GridItem(m_view, m_index.parent()); }
    bool isExpanded() const { return m_view->isExpanded(m_index); }
    bool isHidden() const { return m_view->isRowHidden(m_index.row(), m_index.parent()); }
    QModelIndex Index(int column = 0) const { return m_index.siblingAtColumn(column); }
    QFont font(int column) const { return data(column, Qt::FontRole).value<QFont>(); }
    Qt::ItemFlags flags() const { return m_index.siblingAtColumn(1).flags(); }
    // As the in-place editor commits a text.
    void setText(int column, const QString &text) const
    {
        m_view->model()->setData(m_index.siblingAtColumn(column), text, Qt::EditRole);
    }

private:
    QTreeView *m_view = nullptr;
    QModelIndex m_index;
};

inline std::ostream &operator<<(std::ostream &out, const GridItem &item)
{
    return out << (item ? item.text(0).toStdString() : std::string("(no row)"));
}

class GridView
{
public:
    GridView(QTreeView *view = nullptr)
        : m_view(view)
    {}

    const GridView *operator->() const { return this; }
    QTreeView *View() const { return m_view; }
    operator QTreeView *() const { return m_view; }

    int topLevelItemCount() const { return m_view->model()->rowCount(); }
    GridItem topLevelItem(int row) const { return GridItem(m_view, m_view->model()->index(row, 0)); }
    GridItem currentItem() const { return GridItem(m_view, m_view->currentIndex()); }
    GridItem itemAt(int x, int y) const { return GridItem(m_view, m_view->indexAt(QPoint(x, y))); }
    // The whole row, across its columns, as the view draws it.
    QRect visualItemRect(const GridItem &item) const
    {
        QRect rect = m_view->visualRect(item.Index(0));
        for (int column = 1; column < m_view->model()->columnCount(); ++column)
            if (!m_view->isColumnHidden(column))
                rect = rect.united(m_view->visualRect(item.Index(column)));
        return rect;
    }
    QRect visualRect(const QModelIndex &index) const { return m_view->visualRect(index); }
    QModelIndex indexFromItem(const GridItem &item, int column) const { return item.Index(column); }
    void scrollToItem(const GridItem &item) const { m_view->scrollTo(item.Index()); }
    QWidget *viewport() const { return m_view->viewport(); }
    int columnWidth(int column) const { return m_view->columnWidth(column); }
    QHeaderView *header() const { return m_view->header(); }
    QPalette palette() const { return m_view->palette(); }
    QFont font() const { return m_view->font(); }
    void clearSelection() const { m_view->clearSelection(); }
    int columnViewportPosition(int column) const { return m_view->columnViewportPosition(column); }
    void setColumnWidth(int column, int width) const { m_view->setColumnWidth(column, width); }
    void setFocus() const { m_view->setFocus(); }
    template<typename T> T findChild() const { return m_view->findChild<T>(); }
    QPoint mapTo(const QWidget *parent, const QPoint &at) const { return m_view->mapTo(parent, at); }
    int topLevelItemCountOf() const { return topLevelItemCount(); }

private:
    QTreeView *m_view = nullptr;
};

// The row at a path of names from the top ({"RCC", "CR", "HSION"}), each
// compared with the first column by `same`; nothing when a name is missing.
template<typename Same> GridItem RowWhere(GridView grid, const QStringList &path, Same same)
{
    GridItem item = nullptr;
    for (const QString &name : path) {
        GridItem found = nullptr;
        const int count = item ? item->childCount() : grid->topLevelItemCount();
        for (int i = 0; i < count && !found; ++i) {
            GridItem child = item ? item->child(i) : grid->topLevelItem(i);
            if (same(child->text(0), name))
                found = child;
        }
        item = found;
        if (!item)
            return nullptr;
    }
    return item;
}

// Each name the whole of its row's first column.
inline GridItem Row(GridView grid, const QStringList &path)
{
    return RowWhere(grid, path, [](const QString &shown, const QString &name) { return shown == name; });
}

// Each name the first word of its row's first column (a watched row shows more after it).
inline GridItem RowByFirstWord(GridView grid, const QStringList &path)
{
    return RowWhere(grid, path,
                    [](const QString &shown, const QString &name) { return shown.section(u' ', 0, 0) == name; });
}
