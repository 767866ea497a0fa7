#pragma once

#include "regmap/SvdPeripheral.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// What the SVD file says of a row beyond its texts.
struct RegisterRowTraits
{
    uint32_t bits = 32;             // register rows: the register's width
    bool readHasSideEffect = false; // register rows: left out of whole-peripheral reads
    uint32_t lastWord = 0;          // register rows: the word last filled in, for the bytes a narrow register leaves
    QList<SvdEnumValue> choices;    // field rows: the enumerated values
};

// One row of a register window's grid. Its kind follows from its place, as
// the grid shows it: no parent is a peripheral, a parent and children is a
// register, otherwise a value row ("VALUE~") or a field row. Rows are owned
// by their parent (top-level rows by the tree); the id stays the same for
// the row's whole life, so a view can keep it as its handle.
class RegisterRow
{
public:
    enum class Kind { Peripheral, Register, Value, Field };

    RegisterRow(uint64_t id, QString name, QString description, bool editable);

    uint64_t Id() const { return m_id; }
    Kind RowKind() const;
    RegisterRow *Parent() const { return m_parent; }
    const std::vector<std::unique_ptr<RegisterRow>> &Children() const { return m_children; }
    RegisterRow *Child(std::size_t index) const { return m_children[index].get(); }
    std::size_t ChildCount() const { return m_children.size(); }
    // Place under the parent (or in the tree for a top-level row).
    int Index() const { return m_index; }

    // Caption of the name column: the name for peripheral, value and field
    // rows, the name with its aligned value for a register row.
    const QString &Name() const { return m_name; }
    const QString &Value() const { return m_value; }
    // The value as last filled by the program; a value that differs from it
    // is the user's own change and is shown in bold.
    const QString &Baseline() const { return m_baseline; }
    bool IsModified() const { return m_value != m_baseline; }
    const QString &Description() const { return m_description; }
    bool IsEditable() const { return m_editable; }
    bool IsExpanded() const { return m_expanded; }
    const RegisterRowTraits &Traits() const { return m_traits; }

    RegisterRow *AddChild(std::unique_ptr<RegisterRow> child);

private:
    friend class RegisterRowTree;
    friend class RegisterWindow; // builds whole peripherals before they enter the tree

    uint64_t m_id;
    QString m_name;
    QString m_value;
    QString m_baseline;
    QString m_description;
    bool m_editable;
    bool m_expanded = false;
    RegisterRowTraits m_traits;
    int m_index = 0;
    RegisterRow *m_parent = nullptr;
    std::vector<std::unique_ptr<RegisterRow>> m_children;
};
