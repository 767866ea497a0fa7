// The memory window over a chip whose SVD file it cannot wholly read: the
// registers whose reading changes the chip stay unread by the rows, the
// watch and find; the margin says which stretch is not read and why.

#include "AppRig.h"
#include "MemRig.h"

#include <QLabel>
#include <QLineEdit>

#include "support/QtTestChecks.h"

namespace {

constexpr uint32_t kCtrl = 0x20001000; // fields unreadable
constexpr uint32_t kData = 0x20001004; // popped by reading
constexpr uint32_t kStat = 0x20001008;

const char kSvd[] = R"(<?xml version="1.0" encoding="utf-8"?>
<device><name>VX21A</name><peripherals>
  <peripheral><name>FIFO</name><baseAddress>0x20001000</baseAddress><registers>
    <register><name>CTRL</name><addressOffset>0x0</addressOffset>
      <fields><field><name>EN</name><bitOffset>zz</bitOffset><bitWidth>1</bitWidth></field></fields></register>
    <register><name>DATA</name><addressOffset>0x4</addressOffset><readAction>modify</readAction><fields/></register>
    <register><name>STAT</name><addressOffset>0x8</addressOffset><fields/></register>
  </registers></peripheral>
</peripherals></device>
)";

} // namespace

TEST(MemoryWindowSvdTest, ARegisterTheFileCannotDescribeLeavesTheReadClearWordsOfItsPeripheralUnread)
{
    MemRig mem;
    mem.rig.WriteFile("svd/VX21A.svd", kSvd);
    mem.chip.AddFreeRunningCounter(kData);
    mem.chip.AddFreeRunningCounter(kCtrl);
    mem.chip.AddFreeRunningCounter(kStat);
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    MemRig::GoTo(window, "FIFO");
    EXPECT_EQ(window->View().UnitText(kData), "~~");
    EXPECT_EQ(window->View().UnitText(kCtrl), "~~");
    EXPECT_NE(window->View().UnitText(kStat), "~~");
    EXPECT_EQ(window->Hex()->MarginText(kCtrl), "FIFO.CTRL [SVD unreadable: not read]");
    EXPECT_EQ(window->Hex()->MarginText(kData), "DATA");

    // Watched for a while and searched through: never read either.
    QTest::mouseClick(MemRig::Tool<QCheckBox>(window, "watch"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(mem.chip.PeekWord(kStat) > 3, 10000);
    QTest::mouseClick(MemRig::Tool<QCheckBox>(window, "watch"), Qt::LeftButton);
    MemRig::Tool<QLineEdit>(window, "find")->setText("DE AD BE EF");
    MemRig::Tool<QLineEdit>(window, "rangeFirst")->setText("20001000");
    MemRig::Tool<QLineEdit>(window, "rangeLength")->setText("100");
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "findNext"), Qt::LeftButton);
    MemRig::Settle(window);
    EXPECT_EQ(MemRig::Tool<QLabel>(window, "message")->text(), "未找到");
    EXPECT_EQ(mem.chip.PeekWord(kData), 0u) << "the FIFO was read";
    EXPECT_EQ(mem.chip.PeekWord(kCtrl), 0u) << "a register nobody can tell about was read";
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();
}
