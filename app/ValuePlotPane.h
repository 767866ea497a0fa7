#pragma once

#include "regmap/ValueSeries.h"

#include <QTimer>
#include <QWidget>

#include <vector>

class FileChooser;
class MessagePresenter;
class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QPushButton;
class QValueAxis;

// The small chart under a register window: the values of the rows picked
// with "绘图", one line each, a point after every refresh of the watch.
// Values of very different sizes (a counter and a prescaler) each get an
// axis of their own, or all are drawn normalised to their own range, as the
// user chooses. Pause holds the lines still; the time window keeps the last
// seconds only; the lines can be saved as CSV.
class ValuePlotPane : public QWidget
{
    Q_OBJECT

public:
    // Time windows offered, in seconds; 0 keeps every point.
    static constexpr int kTimeWindows[] = {10, 30, 60, 0};
    enum class Scale { OwnAxes, Normalised };

    ValuePlotPane(MessagePresenter &messages, FileChooser &files, QWidget *parent = nullptr);

    // False for a peripheral row or one already plotted.
    bool Add(const RegisterRow &row, const RegisterRowTree &tree, qint64 ms);
    void Sample(const RegisterRowTree &tree, qint64 ms);
    void Clear();
    const ValueSeries &Series() const { return m_series; }
    QChartView *ChartView() const { return m_view; }
    Scale CurrentScale() const;

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
    QValueAxis *m_normalised = nullptr;  // the one value axis of the normalised view
    std::vector<QValueAxis *> m_ownAxes; // one per line in the other view
    QCheckBox *m_pause = nullptr;
    QComboBox *m_window = nullptr;
    QComboBox *m_scale = nullptr;
    QTimer m_redraw; // new points are drawn a few times a second, not at every refresh
};
