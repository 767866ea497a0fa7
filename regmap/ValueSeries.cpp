#include "regmap/ValueSeries.h"

#include "regmap/RowExport.h"

#include <QStringList>

#include <algorithm>
#include <map>

namespace {

QString SeriesName(const RegisterRow &row)
{
    QStringList parts;
    for (const RegisterRow *at = &row; at; at = at->Parent())
        parts.prepend(at->BareName());
    return parts.join(u'.');
}

} // namespace

bool ValueSeries::Add(const RegisterRow &row)
{
    if (row.RowKind() == RegisterRow::Kind::Peripheral || Has(row.Id()))
        return false;
    m_series.push_back({row.Id(), SeriesName(row), {}});
    return true;
}

void ValueSeries::Remove(uint64_t rowId)
{
    m_series.erase(
        std::remove_if(m_series.begin(), m_series.end(), [&](const Series &series) { return series.rowId == rowId; }),
        m_series.end());
}

bool ValueSeries::Has(uint64_t rowId) const
{
    return std::any_of(m_series.begin(), m_series.end(), [&](const Series &series) { return series.rowId == rowId; });
}

void ValueSeries::Sample(const RegisterRowTree &tree, qint64 ms, const QDateTime &wall)
{
    if (m_paused)
        return;
    if (!m_wallOrigin.isValid()) {
        m_wallOrigin = wall.addMSecs(-ms);
        m_startMs = ms;
    }
    for (Series &series : m_series)
        if (const RegisterRow *row = tree.FindById(series.rowId))
            series.points.push_back({ms, row->Number()});
    m_newestMs = std::max(m_newestMs, ms);
    Trim();
}

void ValueSeries::SetTimeWindow(qint64 ms)
{
    m_windowMs = std::max<qint64>(0, ms);
    Trim();
}

void ValueSeries::Trim()
{
    if (m_windowMs == 0)
        return;
    for (Series &series : m_series)
        while (!series.points.empty() && series.points.front().ms < m_newestMs - m_windowMs)
            series.points.pop_front();
}

QByteArray ValueSeries::Csv() const
{
    std::map<qint64, std::vector<QString>> lines;
    for (std::size_t i = 0; i < m_series.size(); ++i)
        for (const Point &point : m_series[i].points) {
            std::vector<QString> &cells = lines[point.ms];
            cells.resize(m_series.size());
            cells[i] = QString::number(point.value);
        }
    QStringList header{QStringLiteral("time s"), QStringLiteral("wall clock")};
    for (const Series &series : m_series)
        header << RowExport::CsvField(series.name);
    QString text = header.join(u',') + u'\n';
    for (const auto &[ms, cells] : lines) {
        text += QString::number(double(ms - m_startMs) / 1000.0, 'f', 3) + u',' +
                m_wallOrigin.addMSecs(ms).toString(Qt::ISODateWithMs);
        for (std::size_t i = 0; i < m_series.size(); ++i)
            text += u',' + (i < cells.size() ? cells[i] : QString());
        text += u'\n';
    }
    return text.toUtf8();
}
