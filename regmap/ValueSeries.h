#pragma once

#include "regmap/RegisterRow.h"
#include "regmap/RegisterRowTree.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <deque>
#include <vector>

// The values of chosen registers and fields over time, as a watch reads
// them, for the plot pane: one series per row, a sample of every series
// after each refresh, nothing while paused, and only the points of the last
// time window kept.
class ValueSeries
{
public:
    struct Point
    {
        qint64 ms = 0;
        uint64_t value = 0;
    };
    struct Series
    {
        uint64_t rowId = 0;
        QString name; // "PERIPHERAL.REGISTER" or "PERIPHERAL.REGISTER.FIELD"
        std::deque<Point> points;
    };

    // A register, value or field row; false for a peripheral or a row
    // already plotted.
    bool Add(const RegisterRow &row);
    void Remove(uint64_t rowId);
    bool Has(uint64_t rowId) const;

    // One point per series from its row's number now; a row no longer in
    // the tree gives none. `wall` is the wall-clock time of the sample.
    void Sample(const RegisterRowTree &tree, qint64 ms, const QDateTime &wall = QDateTime::currentDateTime());
    void SetPaused(bool paused) { m_paused = paused; }
    bool IsPaused() const { return m_paused; }
    // Points older than the newest sample minus this are dropped; 0 keeps all.
    void SetTimeWindow(qint64 ms);
    qint64 TimeWindow() const { return m_windowMs; }

    const std::vector<Series> &AllSeries() const { return m_series; }
    // "time s", "wall clock" and the series names (names from the SVD file,
    // guarded and quoted as the register export's cells), then one line per sample
    // time: seconds since the plot's first sample (three decimals), its local
    // wall-clock time (ISO 8601 with milliseconds), and the values, a cell
    // left empty where a series has no point then.
    QByteArray Csv() const;

private:
    void Trim();

    std::vector<Series> m_series;
    bool m_paused = false;
    qint64 m_windowMs = 0;
    qint64 m_newestMs = 0;
    // Wall-clock time of ms 0, from the first sample.
    QDateTime m_wallOrigin;
    qint64 m_startMs = 0; // the plot's first sample
};
