#pragma once

#include "regmap/SvdPeripheral.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// What the SVD file says of a row, taken when the rows are built. Each kind
// of row uses its own part: a peripheral its base and span, a register its
// address and the rest of its block, a field its bits and choices.
struct RegisterRowTraits
{
    // Peripheral rows.
    uint32_t base = 0;
    uint32_t span = 0;
    QString chipModel; // the chip whose address rules the rows follow
    // Register rows.
    uint32_t address = 0;
    uint32_t offset = 0;
    uint32_t bits = 32;
    QString access;
    std::optional<uint32_t> resetValue;
    std::optional<uint32_t> resetMask;
    QString readAction;
    bool readHasSideEffect = false; // left out of whole-peripheral reads
    // Field rows.
    uint32_t low = 0;
    uint32_t width = 1;
    QList<SvdEnumValue> choices; // the enumerated values
};

// Where a register's value came from, so a view can tell a value never read
// from one read from the chip, loaded from a file or typed by the user.
struct ValueSource
{
    enum class Kind { NotRead, Chip, File, Edited };
    Kind kind = Kind::NotRead;
    QString file;       // File: the snapshot file
    QDateTime time;     // Chip: when it was read; File: the file's time
    bool stale = false; // a later read failed: the value is an old one
    // Edited: the register's bits the user set since it was last filled (in
    // its own width), and whether its other bits are the chip's as last read.
    uint64_t editedBits = 0;
    bool chipBelow = false;

    static ValueSource FromChip()
    {
        ValueSource source;
        source.kind = Kind::Chip;
        source.time = QDateTime::currentDateTime();
        return source;
    }
    static ValueSource FromFile(const QString &path, const QDateTime &time)
    {
        ValueSource source;
        source.kind = Kind::File;
        source.file = path;
        source.time = time;
        return source;
    }
    // Whether the register's bits the user did not set are the chip's.
    bool ChipKnown() const { return kind == Kind::Chip ? !stale : kind == Kind::Edited && chipBelow; }
};

// How a value or field row writes its number: "0x%08X" in the register's
// width (a field of 32 bits or more in its own), "0x%X", or "%u".
enum class NumberForm { Word, Hex, Decimal };

// One row of a register window's grid: a peripheral, a register under it, and
// under each register its value row ("VALUE~") and one row per field. A row
// holds its facts and numbers; its texts are rendered from them. Rows are
// owned by their parent (top-level rows by the tree); the id stays the same
// for the row's whole life, so a view can keep it as its handle.
class RegisterRow
{
public:
    enum class Kind { Peripheral, Register, Value, Field };

    RegisterRow(uint64_t id, Kind kind, QString name, QString description, bool editable);

    uint64_t Id() const { return m_id; }
    Kind RowKind() const { return m_kind; }
    RegisterRow *Parent() const { return m_parent; }
    const std::vector<std::unique_ptr<RegisterRow>> &Children() const { return m_children; }
    RegisterRow *Child(std::size_t index) const { return m_children[index].get(); }
    std::size_t ChildCount() const { return m_children.size(); }
    // Place under the parent (or in the tree for a top-level row).
    int Index() const { return m_index; }

    // The name as the SVD file gives it ("VALUE~" for a value row).
    const QString &BareName() const { return m_name; }
    // The SVD description, without the numbers the window shows before it.
    const QString &SvdDescription() const { return m_description; }
    const RegisterRowTraits &Traits() const { return m_traits; }

    // The number the row shows: a register's value in its own width, a value
    // row's register value, a field's value.
    uint64_t Number() const { return m_shown.number; }
    NumberForm Form() const { return m_shown.form; }
    // Register rows: the word last filled in, for the bytes a narrow register
    // leaves when it is saved or written.
    uint32_t LastWord() const { return m_lastWord; }
    // Where the register's value came from; a value or field row answers for
    // its register, a peripheral row for nothing (never read).
    const ValueSource &Source() const;

    // Caption of the name column: the name for peripheral, value and field
    // rows, the name with its aligned value for a register row.
    QString Name() const;
    // The value text: the number in the row's form, a field's enumerated name
    // after it; the text the user typed while it stands.
    QString Value() const;
    // The number alone in the row's form.
    QString NumberText() const;
    // Name() and Value() as a window shows them: "—" for the number of a
    // value never read, nor loaded nor typed.
    QString ShownName() const;
    QString ShownValue() const;
    bool IsNeverRead() const;
    // The value as last filled by the program; an edited value differs from
    // it and is shown in bold.
    QString Baseline() const;
    // The number differs from the one last filled: "5", "0x5" and a name of
    // the value 5 typed over a 5 change nothing.
    bool IsModified() const;
    // Peripheral: "0x%08X 0x%08X" of base and span; register: address and
    // offset, then the SVD description; field: its bits, then the description.
    QString Description() const;
    // "[low]" or "[low-high]" of a field row.
    QString FieldBitsText() const;
    // The enumerated name of the field's value, empty when none matches.
    QString ChoiceName() const;
    bool IsEditable() const { return m_editable; }
    // The row an edit of this row's value goes to: a register's value row
    // (a register shows its word and is edited through it), else the row.
    RegisterRow *EditedRow();
    const RegisterRow *EditedRow() const { return const_cast<RegisterRow *>(this)->EditedRow(); }
    bool IsExpanded() const { return m_expanded; }

    // The peripheral row above this row (itself for a peripheral).
    const RegisterRow &Peripheral() const;

    RegisterRow *AddChild(std::unique_ptr<RegisterRow> child);

private:
    friend class RegisterRowTree;

    // What a value or field row shows: its number in a form, or the text the
    // user typed (the number is what it reads as) until the next fill.
    struct Shown
    {
        uint64_t number = 0;
        NumberForm form = NumberForm::Hex;
        std::optional<QString> typed;
    };
    QString Render(const Shown &shown) const;
    QString FormText(uint64_t number, NumberForm form) const;

    uint64_t m_id;
    Kind m_kind;
    QString m_name;
    QString m_description;
    bool m_editable;
    bool m_expanded = false;
    Shown m_shown;
    Shown m_baseline;
    uint32_t m_lastWord = 0;
    ValueSource m_source;
    int m_captionColumn = 0;
    RegisterRowTraits m_traits;
    int m_index = 0;
    RegisterRow *m_parent = nullptr;
    std::vector<std::unique_ptr<RegisterRow>> m_children;
};
