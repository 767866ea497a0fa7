#pragma once

#include "regmap/RegisterRow.h"
#include "regmap/RowTreeListener.h"
#include "regmap/SvdPeripheral.h"

#include <QString>

#include <memory>
#include <vector>

// The grid of one register window without any toolkit: the top-level
// peripheral rows in insertion order, the header titles, the name-column
// widths and the grid's own selection. Every change is announced to the
// listener so a view can follow it.
class RegisterRowTree
{
public:
    static constexpr int kInitialWidth = 160;

    RegisterRowTree() = default;
    RegisterRowTree(const RegisterRowTree &) = delete;
    RegisterRowTree &operator=(const RegisterRowTree &) = delete;

    void SetListener(RowTreeListener *listener) { m_listener = listener; }

    const std::vector<std::unique_ptr<RegisterRow>> &TopRows() const { return m_rows; }
    std::size_t TopRowCount() const { return m_rows.size(); }
    RegisterRow *TopRow(std::size_t index) const { return m_rows[index].get(); }
    // The first top-level row with exactly this name.
    RegisterRow *FindTopRow(const QString &name) const;
    // Any row of the tree. A peripheral's rows are made one after another, so
    // their ids are a run: a search among the top rows, then a flat array.
    RegisterRow *FindById(uint64_t id) const;

    // A new row, not yet in the tree.
    std::unique_ptr<RegisterRow> MakeRow(RegisterRow::Kind kind, QString name, QString description, bool editable,
                                         RegisterRowTraits traits = {});
    RegisterRow *AppendTopRow(std::unique_ptr<RegisterRow> row);

    // How a peripheral's rows are built: every value zero, field values in
    // the window's base, register values at a caption column, rows expanded
    // by the expand level (0: peripheral rows only, 1: registers, 2: all).
    struct BuildOptions
    {
        int expandLevel = 0;
        bool hex = false;
        int captionColumn = 0;
        QString chipModel;
    };
    // Appends the rows of one peripheral of the SVD file.
    RegisterRow *AppendPeripheral(const SvdPeripheral &peripheral, const BuildOptions &options);
    void RemoveTopRow(RegisterRow *row);
    void Clear();

    // Everything changed between the two (rows cleared, added, removed or
    // changed, titles, base, selection) reaches the listener as one new tree
    // at EndReset, instead of row by row: a rebuild costs the view one reset.
    // Resets nest; the outermost one tells.
    void BeginReset();
    void EndReset();
    // Whether the last reset added, removed or cleared rows, or only changed them.
    bool LastResetReshaped() const { return m_lastResetReshaped; }

    // A filled number: shown and taken as the baseline, so not marked.
    void SetFilledValue(RegisterRow *row, uint64_t number, NumberForm form);
    // A register's value in its own width, also the word it lies in (its
    // first word for a register wider than one).
    void SetRegisterValue(RegisterRow *reg, uint64_t value, uint32_t word);
    // A value as the user typed it, and the number it reads as (shown in the
    // form when there is no text); the baseline stays.
    void SetEditedValue(RegisterRow *row, uint64_t number, NumberForm form,
                        const std::optional<QString> &typed = std::nullopt);
    void SetSource(RegisterRow *reg, const ValueSource &source);
    // A read of the register failed: what it shows is kept, marked old.
    void MarkStale(RegisterRow *reg);
    // The shown value becomes the baseline (an accepted field edit keeps its form).
    void AcceptValue(RegisterRow *row);
    // Back to the baseline.
    void RevertValue(RegisterRow *row);
    // Nothing of the row changed, but a view should draw it anew (an edit
    // that was refused while its editor showed another text).
    void Refresh(RegisterRow *row) { Changed(row); }
    void SetCaptionColumn(RegisterRow *reg, int column);
    void SetExpanded(RegisterRow *row, bool expanded);

    // The window's number base: every value a view draws is in it.
    bool HexBase() const { return m_hexBase; }
    void SetHexBase(bool hex);

    const QString &LeftTitle() const { return m_leftTitle; }
    const QString &RightTitle() const { return m_rightTitle; }
    void SetHeaderTitles(const QString &left, const QString &right);

    RegisterRow *Selected() const { return m_selected; }
    void Select(RegisterRow *row);

    // The grid's name column, and the width the captions were last aligned to.
    int NameColumnWidth() const { return m_nameColumnWidth; }
    void SetNameColumnWidth(int width) { m_nameColumnWidth = width; }
    int LastWidth() const { return m_lastWidth; }
    void SetLastWidth(int width) { m_lastWidth = width; }

private:
    bool Contains(const RegisterRow *top, const RegisterRow *row) const;
    void Changed(const RegisterRow *row);
    void IndexRows(RegisterRow *top);
    void UnindexRows(const RegisterRow *top);

    std::vector<std::unique_ptr<RegisterRow>> m_rows;
    RowTreeListener *m_listener = nullptr;
    // The rows of each top row by id - first, in the order of first.
    struct IdRun
    {
        uint64_t first = 0;
        std::vector<RegisterRow *> rows;
    };
    std::vector<IdRun> m_byId;
    int m_resetDepth = 0;
    // Told while resetting: the listener would have been told of these.
    bool m_heldTitles = false;
    bool m_heldSelection = false;
    bool m_reshaped = false;
    bool m_lastResetReshaped = false;
    uint64_t m_nextId = 1;
    bool m_hexBase = false;
    QString m_leftTitle;
    QString m_rightTitle;
    RegisterRow *m_selected = nullptr;
    int m_nameColumnWidth = kInitialWidth;
    int m_lastWidth = kInitialWidth;
};

// BeginReset for the scope's length.
class ResetScope
{
public:
    explicit ResetScope(RegisterRowTree &tree)
        : m_tree(tree)
    {
        m_tree.BeginReset();
    }
    ~ResetScope() { m_tree.EndReset(); }
    ResetScope(const ResetScope &) = delete;
    ResetScope &operator=(const ResetScope &) = delete;

private:
    RegisterRowTree &m_tree;
};
