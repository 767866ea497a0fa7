#pragma once

// The floor a window bench prints beside its figure: the same rows (name and
// value texts, the same rows open) in a bare QStandardItemModel shown by a
// plain QTreeView of the same size, built, opened and drawn in the same run.
// A window cannot show its rows faster than this; the ratio says how far off
// it is. For a watch, the floor's refresh sets every value text anew and
// draws.

#include "BenchSupport.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QStandardItemModel>
#include <QTreeView>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

struct FloorRow
{
    QString name;
    QString value;
    bool expanded = false;
    std::vector<FloorRow> children;
};

// The rows a tree view shows: its model's first two columns and which rows it has open.
inline std::vector<FloorRow> RowsShownBy(const QTreeView &view, const QModelIndex &parent = QModelIndex())
{
    const QAbstractItemModel &model = *view.model();
    std::vector<FloorRow> rows;
    const int count = model.rowCount(parent);
    rows.reserve(std::size_t(count));
    for (int r = 0; r < count; ++r) {
        const QModelIndex index = model.index(r, 0, parent);
        FloorRow row{index.data().toString(), model.index(r, 1, parent).data().toString(), view.isExpanded(index), {}};
        if (model.rowCount(index) > 0)
            row.children = RowsShownBy(view, index);
        rows.push_back(std::move(row));
    }
    return rows;
}

inline std::size_t CountRows(const std::vector<FloorRow> &rows)
{
    std::size_t count = rows.size();
    for (const FloorRow &row : rows)
        count += CountRows(row.children);
    return count;
}

class TreeFloor
{
public:
    explicit TreeFloor(QSize size)
    {
        m_view.resize(size);
        m_view.setUniformRowHeights(true);
        m_view.show();
        QApplication::processEvents();
    }

    // A new model of the rows, set on the view, opened and drawn.
    void Draw(const std::vector<FloorRow> &rows)
    {
        auto model = std::make_unique<QStandardItemModel>(0, 2);
        m_values.clear();
        Fill(model->invisibleRootItem(), rows);
        m_view.setModel(model.get());
        m_model = std::move(model);
        Open(rows, QModelIndex());
        QApplication::processEvents();
        m_view.viewport()->repaint();
    }

    // A watch's refresh: every value text set anew (a new text for each row
    // at each step), then drawn.
    void Refresh(std::uint32_t step)
    {
        for (std::size_t i = 0; i < m_values.size(); ++i)
            m_values[i]->setText(QStringLiteral("0x%1").arg(step * 0x9E3779B1u + std::uint32_t(i), 8, 16, QChar(u'0')));
        m_view.viewport()->repaint();
        QApplication::processEvents();
    }

    std::size_t ValueCount() const { return m_values.size(); }
    QTreeView &View() { return m_view; }

private:
    void Fill(QStandardItem *parent, const std::vector<FloorRow> &rows)
    {
        for (const FloorRow &row : rows) {
            auto *name = new QStandardItem(row.name);
            auto *value = new QStandardItem(row.value);
            m_values.push_back(value);
            Fill(name, row.children);
            parent->appendRow({name, value});
        }
    }

    void Open(const std::vector<FloorRow> &rows, const QModelIndex &parent)
    {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (!rows[r].expanded)
                continue;
            const QModelIndex index = m_model->index(int(r), 0, parent);
            m_view.expand(index);
            Open(rows[r].children, index);
        }
    }

    QTreeView m_view;
    std::unique_ptr<QStandardItemModel> m_model;
    std::vector<QStandardItem *> m_values;
};

// Wall and thread processor time of one step.
struct Cost
{
    double wall = 0;
    double cpu = 0;
};

template<typename Step> Cost CostOf(Step &&step)
{
    const double wall = NowMs(Clock::Wall);
    const double cpu = NowMs(Clock::ThreadCpu);
    step();
    return {NowMs(Clock::Wall) - wall, NowMs(Clock::ThreadCpu) - cpu};
}

// Medians of wall and processor times, each on its own.
inline Cost MedianCost(std::vector<Cost> costs)
{
    const auto median = [&costs](double Cost::*part) {
        std::vector<double> values;
        for (const Cost &cost : costs)
            values.push_back(cost.*part);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    return {median(&Cost::wall), median(&Cost::cpu)};
}

// "12.3 ms (CPU 11.9) | floor 4.1 ms (CPU 4.0) | ratio 3.0 (CPU 3.0)"
inline QByteArray CompareText(const Cost &ours, const Cost &floor)
{
    return QString::asprintf("%.1f ms (CPU %.1f) | floor %.1f ms (CPU %.1f) | ratio %.2f (CPU %.2f)", ours.wall,
                             ours.cpu, floor.wall, floor.cpu, ours.wall / floor.wall, ours.cpu / floor.cpu)
        .toUtf8();
}
