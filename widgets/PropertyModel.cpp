#include "widgets/PropertyModel.h"

#include <QBrush>
#include <QFont>

void PropertyModel::SetMarks(uint64_t id, const RowMarks &marks)
{
    if (m_marks.value(id) == marks)
        return;
    if (marks == RowMarks())
        m_marks.remove(id);
    else
        m_marks.insert(id, marks);
    const QModelIndex first = IndexOf(id, 0);
    if (first.isValid())
        emit dataChanged(first, first.siblingAtColumn(columnCount(first.parent()) - 1));
}

void PropertyModel::SetTitles(const QString &left, const QString &right)
{
    if (left == m_left && right == m_right)
        return;
    m_left = left;
    m_right = right;
    emit headerDataChanged(Qt::Horizontal, 0, 1);
}

bool PropertyModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != 1 || !index.data(EditableRole).toBool())
        return false;
    if (value.metaType() == QMetaType::fromType<PropertyChoice>()) {
        emit ValueChosen(IdOf(index), value.value<PropertyChoice>().value);
        return true;
    }
    // An editor left as it opened (a click in and out, focus moving on) is
    // no edit: nothing must reach the target for it.
    const QString text = value.toString();
    if (text.trimmed().isEmpty() || text == index.data(Qt::EditRole).toString())
        return false;
    emit ValueEdited(IdOf(index), text);
    return true;
}

QVariant PropertyModel::MarkData(uint64_t id, int column, int role, bool modified) const
{
    const auto found = m_marks.constFind(id);
    const RowMarks marks = found == m_marks.constEnd() ? RowMarks() : *found;
    switch (role) {
    case Qt::BackgroundRole:
        return marks.background.isValid() ? QVariant(QBrush(marks.background)) : QVariant();
    case Qt::FontRole:
        if (marks.bold || (modified && column == 1)) {
            QFont bold = m_font;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    case NoteRole:
        return marks.note;
    case NoteColourRole:
        return marks.noteColour;
    default:
        return QVariant();
    }
}
