// corvane-cli dump: the rows a memory window shows, as text and as JSON,
// over the simulated chip, with the register names of the chip's SVD file.

#include "CliRig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

TEST(CliDump, PrintsTheRowsOfAMemoryWindowWithTheirRegisters)
{
    CliRig rig;
    for (uint32_t k = 0; k < 0x30; k += 4)
        rig.chip.PokeWord(0x20001000 + k, 0x41424300 | k);
    ChildRun run = rig.Cli({"dump", "TIMER", "1C", "--unit", "4"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(QString::fromUtf8(run.out).split(u'\n'),
              QStringList({"20001000: 41424300 41424304 41424308 4142430C  .CBA.CBA.CBA.CBA  TIMER.CR SR ODD",
                           "20001010: 41424310 41424314 41424318" + QString(11, u' ') + ".CBA.CBA.CBA", ""}));

    // Bytes, as JSON for other programs, from a hexadecimal address.
    run = rig.Cli({"dump", "0x20001002", "3", "--format", "json"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(json["address"].toString(), "20001002");
    EXPECT_EQ(json["length"].toInt(), 3);
    const QJsonObject row = json["rows"].toArray().first().toObject();
    EXPECT_EQ(row["units"].toArray(), QJsonArray({"42", "41", "04"}));
    EXPECT_EQ(row["registers"].toArray(), QJsonArray({"TIMER.SR"}));
}

TEST(CliDump, RefusesWhatIsNoDump)
{
    CliRig rig;
    struct Case
    {
        QStringList arguments;
        int status;
        QByteArray err;
    };
    const Case cases[] = {
        {{"dump", "NOWHERE", "10"}, 1, "no address NOWHERE, please check!\n"},
        {{"dump", "20000000", "0"}, 1, "LENGTH == 0, please check!\n"},
        {{"dump", "20000000", "zz10"}, 1, "no length zz10, please check!\n"},
        {{"dump", "20000000", "10zz"}, 1, "no length 10zz, please check!\n"},
        {{"dump", "20000000", "10", "--unit", "3"}, 2, ""},
        {{"dump", "20000000", "10", "--format", "xml"}, 2, ""},
        {{"dump", "20000000"}, 2, ""},
    };
    for (const Case &c : cases) {
        const ChildRun run = rig.Cli(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
        if (c.status == 1) {
            EXPECT_EQ(run.err, c.err);
        }
        EXPECT_EQ(run.out, "");
    }
    rig.UseOffline();
    const ChildRun offline = rig.Cli({"dump", "20000000", "10"});
    EXPECT_EQ(offline.status, 1);
    EXPECT_EQ(offline.err, "Please select online data type !\n");
}

// A register whose fields the SVD file cannot describe does not hide the
// read-clear register beside it: dump leaves both unread and says why.
TEST(CliDump, LeavesReadClearWordsUnreadWhateverElseTheSvdFileGetsWrong)
{
    CliRig rig;
    rig.PutSvd("VX21A", R"(<?xml version="1.0" encoding="utf-8"?>
<device><name>VX21A</name><peripherals>
  <peripheral><name>FIFO</name><baseAddress>0x20001000</baseAddress><registers>
    <register><name>CTRL</name><addressOffset>0x0</addressOffset>
      <fields><field><name>EN</name><bitOffset>zz</bitOffset><bitWidth>1</bitWidth></field></fields></register>
    <register><name>DATA</name><addressOffset>0x4</addressOffset><readAction>modify</readAction><fields/></register>
    <register><name>STAT</name><addressOffset>0x8</addressOffset><fields/></register>
  </registers></peripheral>
</peripherals></device>
)");
    rig.chip.AddFreeRunningCounter(0x20001004);
    rig.chip.PokeWord(0x20001008, 0x41424344);
    const ChildRun run = rig.Cli({"dump", "FIFO", "C", "--unit", "4"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.out), "20001000: ~~~~~~~~ ~~~~~~~~ 41424344" + QString(11 + 8, u' ') + "DCBA" +
                                              QString(4 + 2, u' ') +
                                              "FIFO.CTRL [SVD unreadable: not read] DATA STAT\n");
    EXPECT_EQ(rig.chip.PeekWord(0x20001004), 0u) << "the FIFO was read";
}
