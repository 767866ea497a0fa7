#pragma once

#include "regmap/ValueSeries.h"

#include <QTimer>
#include <QWidget>

class FileChooser;
class MessagePresenter;
class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QPushButton;
class QValueAxis;

// The small chart under a register window: the values of the rows picked
// with "plot", one line each, a point after every refresh of the watch.
// Pause holds the lines still; the time window keeps the last seconds only;
// the lines can be saved as CSV.
class ValuePlotPane : public QWidget
{
    Q_OBJECT

public:
    // Time windows offered, in seconds; 0 keeps every point.
    static constexpr int kTimeWindows[] = {10, 30, 60, 0};

    ValuePlotPane(MessagePresenter &messages, FileChooser &files, QWidget *parent = nullptr);

    // False for a peripheral row or one already plotted.
    bool Add(const RegisterRow &row, const RegisterRowTree &tree, qint64 ms);
    void Sample(const RegisterRowTree &tree, qint64 ms);
    void Clear();
    const ValueSeries &Series() const { return m_series; }
    QChartView *ChartView() const { return m_view; }

signals:
    void Emptied();

private:
    void Redraw();
    void SaveCsv();

    MessagePresenter &m_messages;
    FileChooser &m_files;
    ValueSeries m_series;
    QChart *m_chart = nullptr;
    QChartView *m_view = nullptr;
    QValueAxis *m_time = nullptr;
    QValueAxis *m_values = nullptr;
    QCheckBox *m_pause = nullptr;
    QComboBox *m_window = nullptr;
    QTimer m_redraw; // new points are drawn a few times a second, not at every refresh
};
