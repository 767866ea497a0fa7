#pragma once

#include <QAbstractItemModel>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>

#include <cstdint>

// One entry of a value's drop-down: the number it sets, that number as the
// grid writes it, and its name. The editor shows "number (name)" and hands
// back the value, never a text to be read again.
struct PropertyChoice
{
    quint64 value = 0;
    QString number;
    QString name;
};
Q_DECLARE_METATYPE(PropertyChoice)

// The rows a PropertyGrid shows: an item model whose rows each carry an id
// (the caller's handle, stable for the row's life) and the roles below. It
// also keeps each row's marks, which the grid's owner sets apart from the
// rows' data (a watch's changes, a comparison's other value). Column 0 is the
// name, column 1 the value; further columns are the subclass's.
class PropertyModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role {
        IdRole = Qt::UserRole, // uint64_t of the row
        EditableRole,          // bool: the value can be edited in place
        DescriptionRole,       // the text of the description area
        ChoicesRole,           // QList<PropertyChoice> the value's editor offers
        ExpandedRole,          // bool: the row's children are shown
        NoteRole,              // the mark's note, drawn at the value's right
        NoteColourRole,
        ToggleRole, // the value text that flips a one-bit value; empty when it has none
        ElideRole,  // Qt::TextElideMode of a name too wide for its column; invalid: at its end
    };

    // How a row is drawn beyond its texts: a background, bold texts, and a
    // note drawn at the right end of the value (another value to set beside
    // the row's own).
    struct RowMarks
    {
        QColor background; // invalid: the grid's own
        bool bold = false;
        QString note;
        QColor noteColour;
        bool operator==(const RowMarks &) const = default;
    };

    using QAbstractItemModel::QAbstractItemModel;

    virtual QModelIndex IndexOf(uint64_t id, int column = 0) const = 0;
    static uint64_t IdOf(const QModelIndex &index) { return index.data(IdRole).toULongLong(); }

    // Marks stay with the row until set again.
    void SetMarks(uint64_t id, const RowMarks &marks);
    RowMarks Marks(uint64_t id) const { return m_marks.value(id); }
    void ForgetMarks() { m_marks.clear(); }
    // Forgets the marks of the rows that are gone.
    template<typename Gone> void ForgetMarksOf(Gone &&gone)
    {
        m_marks.removeIf([&gone](const auto &entry) { return gone(entry.key()); });
    }

    // The two titles over the name and value columns.
    void SetTitles(const QString &left, const QString &right);
    QString Title(int column) const { return column == 0 ? m_left : column == 1 ? m_right : QString(); }

    // The grid's font: marked and modified texts are a bold copy of it.
    void SetFont(const QFont &font) { m_font = font; }

    // An edit of the value column is handed on, not stored: the owner changes
    // the row and the model tells of the change. A PropertyChoice is a value
    // picked from the choices; anything else a text typed.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

signals:
    void ValueEdited(uint64_t id, const QString &text);
    void ValueChosen(uint64_t id, quint64 value);

protected:
    // The marks' share of data(): background, bold font, note.
    QVariant MarkData(uint64_t id, int column, int role, bool modified) const;

private:
    QHash<uint64_t, RowMarks> m_marks;
    QFont m_font;
    QString m_left;
    QString m_right;
};
