// The plot pane: lines of very different sizes each drawn over the chart's
// height, on axes of their own or normalised, as the user switches.
#include "app/ValuePlotPane.h"
#include "support/FakeUser.h"
#include "support/RegwinRig.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QLineSeries>
#include <QPushButton>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>
#include "support/QtTestChecks.h"

namespace {

// The drawn height of a line, as a share of the plot area.
double DrawnHeight(QChart *chart, QLineSeries *line)
{
    double top = 1e9;
    double bottom = -1e9;
    for (const QPointF &point : line->points()) {
        const double y = chart->mapToPosition(point, line).y();
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    return (bottom - top) / chart->plotArea().height();
}

TEST(ValuePlotTest, ACounterAndAPrescalerBothFillTheChartInEitherScale)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    FakeUser user;
    ValuePlotPane pane(user, user);
    pane.resize(600, 300);
    pane.show();
    RegisterRow *data = Register(window, "TIMER", "DATA"); // the counter
    RegisterRow *cr = Register(window, "TIMER", "CR");     // the prescaler
    for (int i = 0; i < 10; ++i) {
        QByteArray image = Words({uint32_t(41000 + (i % 3)), 0}) + QByteArray(0x100, '\0');
        image.replace(0x24, 4, Words({uint32_t(234000000 + 900000 * i)}));
        window.FillPeripheral("TIMER", image.left(0x100));
        if (i == 0) {
            ASSERT_TRUE(pane.Add(*data, window.Tree(), 0));
            ASSERT_TRUE(pane.Add(*cr, window.Tree(), 0));
        } else {
            pane.Sample(window.Tree(), i * 100);
        }
    }
    auto *scale = pane.findChild<QComboBox *>("scale");
    ASSERT_NE(scale, nullptr);
    for (int entry : {0, 1}) {
        scale->setCurrentIndex(entry);
        QTRY_VERIFY(pane.ChartView()->chart()->series().size() == 2);
        QTest::qWait(300); // the pane redraws a few times a second
        QApplication::processEvents();
        QChart *chart = pane.ChartView()->chart();
        for (QAbstractSeries *series : chart->series()) {
            auto *line = static_cast<QLineSeries *>(series);
            SCOPED_TRACE(line->name().toStdString() + (entry ? " normalised" : " own axes"));
            EXPECT_GT(DrawnHeight(chart, line), 0.4) << "a line drawn flat says nothing";
        }
        // The legend names both lines whole.
        EXPECT_EQ(chart->series()[0]->name(), "TIMER.DATA");
        EXPECT_EQ(chart->series()[1]->name(), "TIMER.CR");
    }
    EXPECT_EQ(pane.CurrentScale(), ValuePlotPane::Scale::Normalised);
}

// Names come from the SVD file: "保存 CSV" writes them as "导出" does, a
// formula's start after a ' and a comma inside quotes, so a spreadsheet
// neither runs a cell nor splits a column.
TEST(ValuePlotTest, SavedCsvGuardsAndQuotesSeriesNamesAsTheExportDoes)
{
    RegwinRig rig;
    rig.PutSvd("VX21A", R"(<?xml version="1.0" encoding="utf-8"?>
<device><name>VX21A</name><peripherals>
  <peripheral><name>=HYPERLINK("http://x")</name><baseAddress>0x20001000</baseAddress>
    <registers><register><name>R</name><addressOffset>0x0</addressOffset></register></registers></peripheral>
  <peripheral><name>P</name><baseAddress>0x20002000</baseAddress>
    <registers><register><name>B,C</name><addressOffset>0x0</addressOffset></register></registers></peripheral>
</peripherals></device>
)");
    RegisterWindow &window = rig.WindowWith({"=HYPERLINK(\"http://x\")", "P"});
    RegisterRow *formula = Register(window, "=HYPERLINK(\"http://x\")", "R");
    RegisterRow *comma = Register(window, "P", "B,C");
    ASSERT_TRUE(formula && comma);
    FakeUser user;
    user.chosenFile = rig.home.filePath("series.csv");
    ValuePlotPane pane(user, user);
    pane.resize(600, 300);
    pane.show();
    ASSERT_TRUE(pane.Add(*formula, window.Tree(), 0));
    ASSERT_TRUE(pane.Add(*comma, window.Tree(), 0));
    pane.Sample(window.Tree(), 100);
    QPushButton *save = nullptr;
    for (QPushButton *button : pane.findChildren<QPushButton *>())
        if (button->text() == QString::fromUtf8("保存 CSV"))
            save = button;
    ASSERT_NE(save, nullptr);
    QTest::mouseClick(save, Qt::LeftButton);
    QFile file(user.chosenFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.readLine();
    EXPECT_EQ(header, "time s,wall clock,\"'=HYPERLINK(\"\"http://x\"\").R\",\"P.B,C\"\n");
    EXPECT_TRUE(user.messages.isEmpty()) << user.messages.join("; ").toStdString();
}

} // namespace
