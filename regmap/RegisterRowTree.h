#pragma once

#include "regmap/RegisterRow.h"
#include "regmap/RowTreeListener.h"

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
    RegisterRow *FindById(uint64_t id) const;

    // A new row, not yet in the tree; the value is also its baseline.
    std::unique_ptr<RegisterRow> MakeRow(QString name, QString description, bool editable, QString value = QString());
    RegisterRow *AppendTopRow(std::unique_ptr<RegisterRow> row);
    void RemoveTopRow(RegisterRow *row);
    void Clear();

    // A filled value: shown and taken as the baseline, so not marked.
    void SetFilledValue(RegisterRow *row, const QString &value);
    // A value as the user typed it; the baseline stays.
    void SetEditedValue(RegisterRow *row, const QString &value);
    void SetBaseline(RegisterRow *row, const QString &baseline);
    void SetName(RegisterRow *row, const QString &name);
    void SetDescription(RegisterRow *row, const QString &description);
    void SetExpanded(RegisterRow *row, bool expanded);

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
    static RegisterRow *FindIn(RegisterRow *row, uint64_t id);
    bool Contains(const RegisterRow *top, const RegisterRow *row) const;
    void Changed(const RegisterRow *row);

    std::vector<std::unique_ptr<RegisterRow>> m_rows;
    RowTreeListener *m_listener = nullptr;
    uint64_t m_nextId = 1;
    QString m_leftTitle;
    QString m_rightTitle;
    RegisterRow *m_selected = nullptr;
    int m_nameColumnWidth = kInitialWidth;
    int m_lastWidth = kInitialWidth;
};
