#include "support/AnalyzerFixture.h"
#include "ipcheck/ui/IpCheckWindow.h"
#include "ipcheck/ui/LogList.h"
#include "ipcheck/IpCheckSelections.h"
#include "link/ConfigFile.h"
#include "widgets/EditableListCtrl.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

namespace {

class FakeSelections : public IpCheckSelections
{
public:
    QString ChipModel() const override { return chip; }
    QString UartPortText() const override { return "/dev/ttyUSB0"; }
    QString UartSpeedText() const override { return "1000000"; }
    QString chip = "VX21A";
};

// An installation with an analyzer folder "ana" for VX21A whose script
// prints "ran IP"; its interpreter runs the script with sh.
class CheckipWndTest : public testing::Test
{
protected:
    CheckipWndTest()
    {
        m_fixture.WriteFile("python/python", "#!/bin/sh\nexec /bin/sh \"$@\"\n", true);
        m_fixture.WriteFile("ana/reg_analyzer.py", "echo \"ran $2 $4\"\n");
        m_fixture.WriteFile("ana/vx21a/VX21a.svd", SvdOfNames({"USART1", "GPADC", "I2C1", "CRC"}));
        m_fixture.WriteFile("ana/vx21a/analyzer_db.py", "from usart import *\nfrom i2c import *\n");
        m_config.WriteText("COMMON", "CHECKIP_PATH", "ana");
    }
    ~CheckipWndTest() override
    {
        m_window.reset();
        QDir::setCurrent(m_startDir);
    }

    IpCheckWindow &Window(int dpi = 96)
    {
        m_window = std::make_unique<IpCheckWindow>(m_config, m_panel, m_fixture.ExeDir(), dpi);
        m_window->show();
        return *m_window;
    }

    QStringList IpRows() const
    {
        QStringList rows;
        EditableListCtrl *list = m_window->IpList();
        for (int row = 0; row < list->rowCount(); ++row)
            rows << QString("%1%2%3")
                        .arg(list->IsRowEnabled(row) ? '+' : '-')
                        .arg(list->GetCheckState(row, 0) == EditableListCtrl::kChecked ? "x " : "  ")
                        .arg(list->CellText(row, 1));
        return rows;
    }

    QStringList OutputRows() const
    {
        QStringList rows;
        for (int row = 0; row < m_window->OutputList()->RowCount(); ++row)
            rows << m_window->OutputList()->RowText(row);
        return rows;
    }

    // Runs a request and waits for the worker's cycle to end.
    bool Run(const std::function<void()> &request)
    {
        QSignalSpy ended(m_window.get(), &IpCheckWindow::RunCycleEnded);
        request();
        return ended.wait(30000);
    }

    QPoint RowPoint(int row, int x = 60) const
    {
        return QPoint(x, m_window->IpList()->visualItemRect(m_window->IpList()->item(row, 1)).center().y());
    }

    QString m_startDir = QDir::currentPath();
    AnalyzerFixture m_fixture;
    ConfigFile m_config{m_fixture.Path("Corvane.ini")};
    FakeSelections m_panel;
    std::unique_ptr<IpCheckWindow> m_window;
};

TEST_F(CheckipWndTest, SetUpBuildsTheIpListFromTheConfiguredFolder)
{
    IpCheckWindow &window = Window();
    EXPECT_EQ(IpRows(), (QStringList{"-  CRC", "-  GPADC", "+  I2C1", "+  USART1"}));
    EditableListCtrl *list = window.IpList();
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), "sel");
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), "IP list");
    EXPECT_EQ(list->columnWidth(0), 40);
    EXPECT_EQ(list->columnWidth(1), 300);
    EXPECT_EQ(list->CellTextColor(2, 1), QColor(0, 35, 245));
    EXPECT_EQ(list->CellBackgroundColor(2, 1), QColor(Qt::white));
    EXPECT_FALSE(list->CellTextColor(0, 1).isValid()) << "unknown blocks keep the defaults";
    EXPECT_EQ(list->item(0, 1)->foreground().color(), list->palette().color(QPalette::Disabled, QPalette::Text));
    EXPECT_FALSE(list->item(0, 0)->flags() & Qt::ItemIsUserCheckable) << "grey rows ignore their check box";
    EXPECT_TRUE(list->item(2, 0)->flags() & Qt::ItemIsUserCheckable);

    EXPECT_TRUE(window.PathField()->isHidden());
    EXPECT_EQ(window.PathField()->text(), "ana");
    EXPECT_FALSE(window.ProgressLabel()->isEnabled());
    EXPECT_EQ(window.AnalyzeButton()->text(), "IP分析");
    EXPECT_EQ(window.ClearButton()->text(), "清空");
    EXPECT_EQ(window.SaveButton()->text(), "保存");
    EXPECT_EQ(window.findChild<QWidget *>("1039"), window.OutputList());

    // A new folder text rebuilds the list; a chip without files empties it.
    m_fixture.WriteFile("ana2/vx21a/VX21a.svd", SvdOfNames({"SPI1"}));
    m_fixture.WriteFile("ana2/vx21a/analyzer_db.py", "");
    window.PathField()->setText(m_fixture.Path("ana2"));
    EXPECT_EQ(IpRows(), QStringList{"-  SPI1"});
    m_panel.chip = "VX21D";
    window.BuildIpList();
    EXPECT_TRUE(IpRows().isEmpty());
}

TEST_F(CheckipWndTest, HeaderClickChecksOrClearsEveryEnabledRow)
{
    IpCheckWindow &window = Window();
    QHeaderView *header = window.IpList()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(1) + 20, 5));
    EXPECT_EQ(IpRows(), (QStringList{"-  CRC", "-  GPADC", "+x I2C1", "+x USART1"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(0) + 5, 5));
    EXPECT_EQ(IpRows(), (QStringList{"-  CRC", "-  GPADC", "+  I2C1", "+  USART1"}));

    // One checked row is enough to clear them all.
    window.IpList()->SetCheckState(3, 0, EditableListCtrl::CheckState::Checked);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(1) + 20, 5));
    EXPECT_EQ(IpRows(), (QStringList{"-  CRC", "-  GPADC", "+  I2C1", "+  USART1"}));
}

TEST_F(CheckipWndTest, CheckBoxClicksToggleOnlyEnabledRows)
{
    IpCheckWindow &window = Window();
    QSignalSpy clicked(window.IpList(), &EditableListCtrl::CheckBoxClicked);
    QWidget *viewport = window.IpList()->viewport();
    const QRect cell = window.IpList()->visualItemRect(window.IpList()->item(2, 0));
    // The indicator sits at the cell's left; find it by clicking across.
    for (int x = cell.left() + 2; x < cell.right() && clicked.isEmpty(); x += 3)
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(x, cell.center().y()));
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked[0], (QVariantList{2, 0}));
    EXPECT_EQ(IpRows()[2], "+x I2C1");

    const QRect grey = window.IpList()->visualItemRect(window.IpList()->item(0, 0));
    for (int x = grey.left() + 2; x < grey.right(); x += 3)
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(x, grey.center().y()));
    EXPECT_EQ(IpRows()[0], "-  CRC");
    EXPECT_EQ(clicked.size(), 1);
}

TEST_F(CheckipWndTest, RunsFromTheButtonAndDoubleClicks)
{
    IpCheckWindow &window = Window();
    QWidget *viewport = window.IpList()->viewport();

    // No row checked: the worker wakes, runs nothing, the label stays.
    ASSERT_TRUE(Run([&] { QTest::mouseClick(window.AnalyzeButton(), Qt::LeftButton); }));
    EXPECT_TRUE(OutputRows().isEmpty());
    EXPECT_EQ(window.ProgressLabel()->text(), "");

    window.IpList()->SetCheckState(2, 0, EditableListCtrl::CheckState::Checked);
    window.IpList()->SetCheckState(3, 0, EditableListCtrl::CheckState::Checked);
    ASSERT_TRUE(Run([&] { QTest::mouseClick(window.AnalyzeButton(), Qt::LeftButton); }));
    QTest::qWait(50);
    EXPECT_EQ(OutputRows(), (QStringList{"  ", "ran I2C1 --baudrate=1000000", "  ", "ran USART1 --baudrate=1000000"}));
    EXPECT_EQ(window.ProgressLabel()->text(), "2/2  USART1");

    // A grey row: nothing. An unchecked enabled row: that row alone.
    window.IpList()->SetCheckState(2, 0, EditableListCtrl::CheckState::Unchecked);
    QTest::mouseClick(window.ClearButton(), Qt::LeftButton);
    EXPECT_TRUE(OutputRows().isEmpty());
    ASSERT_TRUE(Run([&] { QTest::mouseDClick(viewport, Qt::LeftButton, {}, RowPoint(1)); }));
    ASSERT_TRUE(Run([&] { QTest::mouseDClick(viewport, Qt::LeftButton, {}, RowPoint(2)); }));
    QTest::qWait(50);
    EXPECT_EQ(OutputRows(), (QStringList{"  ", "ran I2C1 --baudrate=1000000"}));
    EXPECT_EQ(window.ProgressLabel()->text(), "1/1  I2C1");

    // Below the last row: every checked row.
    ASSERT_TRUE(Run([&] { QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(60, viewport->height() - 5)); }));
    QTest::qWait(50);
    EXPECT_EQ(OutputRows().mid(2), (QStringList{"  ", "ran USART1 --baudrate=1000000"}));
    EXPECT_EQ(QDir::currentPath(), QDir(m_fixture.ExeDir()).canonicalPath());
}

TEST_F(CheckipWndTest, RebuildDuringARunKeepsTheRequestedRows)
{
    m_fixture.WriteFile("ana/reg_analyzer.py",
                        "echo \"start $2\"; while [ ! -e ../release ]; do sleep 0.02; done; echo \"end $2\"\n");
    IpCheckWindow &window = Window();
    QSignalSpy ended(&window, &IpCheckWindow::RunCycleEnded);
    window.IpList()->SetCheckState(2, 0, EditableListCtrl::CheckState::Checked);
    window.IpList()->SetCheckState(3, 0, EditableListCtrl::CheckState::Checked);
    window.RequestRun(-1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return OutputRows().contains("start I2C1"); }, 30000));
    m_panel.chip = "VX21D";
    window.BuildIpList();
    m_fixture.WriteFile("release", "");
    ASSERT_TRUE(ended.wait(30000));
    QTest::qWait(50);
    EXPECT_EQ(OutputRows(), (QStringList{"  ", "start I2C1", "end I2C1", "  ", "start USART1", "end USART1"}));
}

TEST_F(CheckipWndTest, OutputListFollowsTheWindowWidth)
{
    for (int dpi : {96, 144}) {
        IpCheckWindow &window = Window(dpi);
        QSignalSpy retile(&window, &IpCheckWindow::RetileRequested);
        const int y = 380 * dpi / 96;
        window.resize(300 * dpi / 96, 700 * dpi / 96);
        QTest::qWait(10);
        EXPECT_EQ(window.OutputList()->geometry(), QRect(2, y, 365 * dpi / 96, window.height() - y)) << dpi;
        EXPECT_EQ(window.OutputList()->columnWidth(0), 350 * dpi / 96);
        window.resize(600, 800);
        QTest::qWait(10);
        EXPECT_EQ(window.OutputList()->geometry(), QRect(2, y, 590, 800 - y)) << dpi;
        EXPECT_EQ(window.OutputList()->columnWidth(0), 580);
        EXPECT_GE(retile.size(), 2);
        EXPECT_EQ(window.IpList()->columnWidth(1), 300 * dpi / 96);
        EXPECT_EQ(window.IpList()->geometry(), QRect(3 * dpi / 96, 3 * dpi / 96, 363 * dpi / 96, 345 * dpi / 96));
    }
}

} // namespace
