#include "app/ValuePlotPane.h"

#include "app/AppMessages.h"

#include "link/UserInterfaces.h"
#include "link/Tr.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QSaveFile>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

// What the pane shows and asks.
namespace Text {
const char kPause[] = QT_TRANSLATE_NOOP("Corvane", "暂停");
const char kTimeWindow[] = QT_TRANSLATE_NOOP("Corvane", "%1 秒");
const char kWholeTime[] = QT_TRANSLATE_NOOP("Corvane", "全部");
const char kSave[] = QT_TRANSLATE_NOOP("Corvane", "保存 CSV");
const char kClear[] = QT_TRANSLATE_NOOP("Corvane", "清除");
const char kTime[] = "s";
const char kSaveTitle[] = QT_TRANSLATE_NOOP("Corvane", "保存曲线");
const char kOwnAxes[] = QT_TRANSLATE_NOOP("Corvane", "各自坐标轴");
const char kNormalised[] = QT_TRANSLATE_NOOP("Corvane", "归一化");
const char kNormalisedTitle[] = QT_TRANSLATE_NOOP("Corvane", "归一化 (0–1)");
const char kCsvFilter[] = QT_TRANSLATE_NOOP("Corvane", "CSV Files(*.csv)");
} // namespace Text

} // namespace

ValuePlotPane::ValuePlotPane(MessagePresenter &messages, FileChooser &files, QWidget *parent)
    : QWidget(parent)
    , m_messages(messages)
    , m_files(files)
{
    setObjectName(QStringLiteral("plot"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    auto *controls = new QHBoxLayout;
    m_pause = new QCheckBox(Tr(Text::kPause), this);
    m_pause->setObjectName(QStringLiteral("pause"));
    m_window = new QComboBox(this);
    m_window->setObjectName(QStringLiteral("timeWindow"));
    for (int seconds : kTimeWindows)
        m_window->addItem(seconds ? Tr(Text::kTimeWindow).arg(seconds) : Tr(Text::kWholeTime), seconds);
    auto *save = new QPushButton(Tr(Text::kSave), this);
    save->setObjectName(QStringLiteral("saveSeries"));
    auto *clear = new QPushButton(Tr(Text::kClear), this);
    clear->setObjectName(QStringLiteral("clearSeries"));
    m_scale = new QComboBox(this);
    m_scale->setObjectName(QStringLiteral("scale"));
    m_scale->addItem(Tr(Text::kOwnAxes), int(Scale::OwnAxes));
    m_scale->addItem(Tr(Text::kNormalised), int(Scale::Normalised));
    controls->addWidget(m_pause);
    controls->addWidget(m_window);
    controls->addWidget(m_scale);
    controls->addStretch(1);
    controls->addWidget(save);
    controls->addWidget(clear);
    layout->addLayout(controls);

    m_chart = new QChart;
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    // Below the lines the legend has the pane's whole width for the names.
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_time = new QValueAxis(m_chart);
    m_time->setTitleText(Tr(Text::kTime));
    m_time->setLabelFormat(QStringLiteral("%.1f"));
    m_normalised = new QValueAxis(m_chart);
    m_normalised->setLabelFormat(QStringLiteral("%.1f"));
    m_normalised->setTitleText(Tr(Text::kNormalisedTitle));
    m_chart->addAxis(m_time, Qt::AlignBottom);
    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("chart"));
    m_view->setMinimumHeight(140);
    layout->addWidget(m_view, 1);

    m_series.SetTimeWindow(qint64(kTimeWindows[0]) * 1000);
    m_redraw.setSingleShot(true);
    m_redraw.setInterval(200);
    connect(&m_redraw, &QTimer::timeout, this, [this] { Redraw(); });
    connect(m_pause, &QCheckBox::toggled, this, [this](bool paused) { m_series.SetPaused(paused); });
    connect(m_window, &QComboBox::currentIndexChanged, this, [this] {
        m_series.SetTimeWindow(qint64(m_window->currentData().toInt()) * 1000);
        Redraw();
    });
    connect(m_scale, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
    connect(save, &QPushButton::clicked, this, [this] { SaveCsv(); });
    connect(clear, &QPushButton::clicked, this, [this] { Clear(); });
}

bool ValuePlotPane::Add(const RegisterRow &row, const RegisterRowTree &tree, qint64 ms)
{
    if (!m_series.Add(row))
        return false;
    // A first point at once, so a line shows before the next refresh.
    const bool paused = m_series.IsPaused();
    m_series.SetPaused(false);
    m_series.Sample(tree, ms);
    m_series.SetPaused(paused);
    Redraw();
    return true;
}

void ValuePlotPane::Sample(const RegisterRowTree &tree, qint64 ms)
{
    if (m_series.IsPaused() || m_series.AllSeries().empty())
        return;
    m_series.Sample(tree, ms);
    if (!m_redraw.isActive())
        m_redraw.start();
}

void ValuePlotPane::Clear()
{
    // A fresh plot starts running: a pause ends with what it held.
    m_pause->setChecked(false);
    m_series = ValueSeries();
    m_series.SetTimeWindow(qint64(m_window->currentData().toInt()) * 1000);
    Redraw();
    emit Emptied();
}

ValuePlotPane::Scale ValuePlotPane::CurrentScale() const
{
    return Scale(m_scale->currentData().toInt());
}

void ValuePlotPane::Redraw()
{
    const auto &all = m_series.AllSeries();
    // Lines are kept in the order of the series, one each, with an axis each.
    while (m_chart->series().size() > qsizetype(all.size())) {
        QAbstractSeries *line = m_chart->series().last();
        m_chart->removeSeries(line); // gives the line back to us
        delete line;
        m_chart->removeAxis(m_ownAxes.back());
        delete m_ownAxes.back();
        m_ownAxes.pop_back();
    }
    while (m_chart->series().size() < qsizetype(all.size())) {
        auto *line = new QLineSeries(m_chart);
        m_chart->addSeries(line);
        line->attachAxis(m_time);
        auto *axis = new QValueAxis(m_chart);
        axis->setLabelFormat(QStringLiteral("%.0f"));
        axis->setLabelsColor(line->color());
        axis->setLinePenColor(line->color());
        m_chart->addAxis(axis, m_ownAxes.size() % 2 == 0 ? Qt::AlignLeft : Qt::AlignRight);
        m_ownAxes.push_back(axis);
    }
    const bool normalised = CurrentScale() == Scale::Normalised;
    qint64 first = std::numeric_limits<qint64>::max();
    qint64 last = std::numeric_limits<qint64>::min();
    for (const ValueSeries::Series &series : all)
        for (const ValueSeries::Point &point : series.points) {
            first = std::min(first, point.ms);
            last = std::max(last, point.ms);
        }
    const bool shown = m_chart->axes().contains(m_normalised);
    if (normalised && !shown)
        m_chart->addAxis(m_normalised, Qt::AlignLeft);
    if (!normalised && shown)
        m_chart->removeAxis(m_normalised);
    for (std::size_t i = 0; i < all.size(); ++i) {
        auto *line = static_cast<QLineSeries *>(m_chart->series()[qsizetype(i)]);
        QValueAxis *own = m_ownAxes[i];
        if (line->name() != all[i].name)
            line->setName(all[i].name); // the legend lays itself out again on every name
        double low = std::numeric_limits<double>::max();
        double high = std::numeric_limits<double>::lowest();
        for (const ValueSeries::Point &point : all[i].points) {
            low = std::min(low, double(point.value));
            high = std::max(high, double(point.value));
        }
        // Normalised: each line over its own range, a flat line in the middle.
        const double span = high > low ? high - low : 0.0;
        QList<QPointF> points;
        points.reserve(qsizetype(all[i].points.size()));
        for (const ValueSeries::Point &point : all[i].points) {
            const double value = !normalised ? double(point.value)
                                 : span > 0  ? (double(point.value) - low) / span
                                             : 0.5;
            points.append(QPointF(double(point.ms - first) / 1000.0, value));
        }
        line->replace(points);
        for (QAbstractAxis *axis : line->attachedAxes())
            if (axis != m_time)
                line->detachAxis(axis);
        line->attachAxis(normalised ? m_normalised : own);
        own->setVisible(!normalised);
        if (low <= high) {
            const double margin = std::max(1.0, (high - low) / 10.0);
            own->setRange(low - margin, high + margin);
            own->applyNiceNumbers();
        }
    }
    m_normalised->setRange(-0.05, 1.05);
    if (last < first) {
        m_time->setRange(0, 1);
        return;
    }
    m_time->setRange(0, std::max(1.0, double(last - first) / 1000.0));
    // Round ticks: whole seconds.
    m_time->applyNiceNumbers();
}

void ValuePlotPane::SaveCsv()
{
    FileRequest request;
    request.kind = FileRequest::Kind::Save;
    request.title = Tr(Text::kSaveTitle);
    request.filters = {{Tr(Text::kCsvFilter), QStringLiteral("*.csv")}};
    request.defaultName = QStringLiteral("series.csv");
    request.overwritePrompt = true;
    request.purpose = QStringLiteral("plot-csv");
    const QString path = m_files.ChooseFile(request);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_series.Csv()) < 0 || !file.commit())
        m_messages.ShowFailure(Tr(AppMessages::kFileCreate).arg(path));
}
