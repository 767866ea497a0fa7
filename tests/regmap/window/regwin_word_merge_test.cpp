// Writes of part of a register (a field, a narrow register sharing its word)
// take the bits the user did not set from the chip, read just before, never
// from bits nobody saw; registers that cannot be read are never read behind
// the user's back; a write that cannot be done says so and leaves the rows
// as they were.

#include "support/BuildPaths.h"
#include "support/RegwinRig.h"

#include "regmap/PeripheralImage.h"

#include <gtest/gtest.h>

namespace {

// P64: a register with two fields, a read-clear FIFO, two narrow registers
// in one word, a write-only register. EDGE: its last word lies where the
// chip table refuses reads.
const char kMergeSvd[] = R"(<?xml version="1.0" encoding="utf-8"?>
<device>
  <name>VX21A</name>
  <peripherals>
    <peripheral>
      <name>P64</name>
      <baseAddress>0x20003000</baseAddress>
      <registers>
        <register>
          <name>MODER</name>
          <addressOffset>0x0</addressOffset>
          <fields>
            <field><name>MODE0</name><bitOffset>0</bitOffset><bitWidth>2</bitWidth></field>
            <field><name>MODE1</name><bitOffset>2</bitOffset><bitWidth>2</bitWidth></field>
          </fields>
        </register>
        <register>
          <name>FIFO</name>
          <addressOffset>0x4</addressOffset>
          <readAction>clear</readAction>
          <fields>
            <field><name>LOW</name><bitOffset>0</bitOffset><bitWidth>8</bitWidth></field>
          </fields>
        </register>
        <register><name>R8B</name><addressOffset>0x9</addressOffset><size>8</size><fields/></register>
        <register><name>R16</name><addressOffset>0xA</addressOffset><size>16</size><fields/></register>
        <register>
          <name>KEY</name>
          <addressOffset>0xC</addressOffset>
          <access>write-only</access>
          <fields>
            <field><name>LOW</name><bitOffset>0</bitOffset><bitWidth>8</bitWidth></field>
          </fields>
        </register>
      </registers>
    </peripheral>
    <peripheral>
      <name>W64</name>
      <baseAddress>0x20004000</baseAddress>
      <registers>
        <register>
          <name>R64</name>
          <addressOffset>0x0</addressOffset>
          <size>64</size>
          <fields>
            <field><name>LO</name><bitRange>[15:0]</bitRange></field>
            <field><name>HI</name><bitRange>[47:32]</bitRange></field>
          </fields>
        </register>
      </registers>
    </peripheral>
    <peripheral>
      <name>EDGE</name>
      <baseAddress>0x000FFFF8</baseAddress>
      <registers>
        <register><name>A</name><addressOffset>0x0</addressOffset><fields/></register>
        <register><name>B</name><addressOffset>0x4</addressOffset><fields/></register>
        <register>
          <name>CACHEDATA</name>
          <addressOffset>0x8</addressOffset>
          <fields>
            <field><name>LOW</name><bitOffset>0</bitOffset><bitWidth>8</bitWidth></field>
          </fields>
        </register>
      </registers>
    </peripheral>
  </peripherals>
</device>
)";

constexpr uint32_t kModer = 0x20003000;
constexpr uint32_t kFifo = 0x20003004;
constexpr uint32_t kNarrowWord = 0x20003008;
constexpr uint32_t kRefused = 0x00100000;

struct MergeRig : RegwinRig
{
    MergeRig()
    {
        PutSvd("VX21A", kMergeSvd);
        UseUart();
    }
    void WriteMode(int mode) { config.WriteInt("COMMON", "REG_WR", mode); }
    // The next transfer after the enter frame fails.
    void FailNextTransfer()
    {
        chip.DeferFaults(1);
        chip.InjectWrongStatus(0x15, 1);
    }
};

constexpr int kImmediate = 0;
constexpr int kLater = 1;

// Commits an edit as the user does in either mode: at once, or from the
// register's menu afterwards.
void EditAndWrite(RegisterWindow &window, int mode, RegisterRow *row, const QString &typed)
{
    window.ApplyEdit(row, typed);
    if (mode == kLater) {
        window.SetSelection(row->Parent(), true);
        window.RunCommand(RegisterWindow::WriteCommand);
    }
}

TEST(WordMerge, AnEditOfPartOfAnUnknownWordKeepsTheChipsOtherBits)
{
    struct Case
    {
        const char *what;
        int mode;
        bool fromFile; // the rows show a snapshot file's (other) values first
        const char *reg;
        const char *row;
        const char *typed;
        uint32_t address;
        uint32_t before;
        uint32_t after;
    };
    const Case cases[] = {
        {"field, never read, immediate", kImmediate, false, "MODER", "MODE0", "1", kModer, 0x0E003000, 0x0E003001},
        {"field, never read, later", kLater, false, "MODER", "MODE0", "1", kModer, 0x0E003000, 0x0E003001},
        {"field over a file, immediate", kImmediate, true, "MODER", "MODE1", "2", kModer, 0x0E003003, 0x0E00300B},
        {"narrow over a file, immediate", kImmediate, true, "R16", "VALUE~", "0xFFFF", kNarrowWord, 0xAABBCCDD,
         0xFFFFCCDD},
        {"narrow over a file, later", kLater, true, "R8B", "VALUE~", "0x12", kNarrowWord, 0xAABBCCDD, 0xAABB12DD},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        MergeRig rig;
        rig.WriteMode(c.mode);
        rig.Poke(c.address, c.before);
        RegisterWindow &window = rig.WindowWith({"P64"});
        if (c.fromFile) {
            rig.PutFile(rig.DataPath("P64"), QByteArray(0x10, char(0x44)));
            ASSERT_TRUE(window.LoadSnapshot("P64", rig.DataPath("P64")));
        }
        EditAndWrite(window, c.mode, Child(window, "P64", c.reg, c.row), c.typed);
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(rig.Peek(c.address), c.after);
        // The rows show what the chip holds now, as read.
        RegisterRow *reg = Register(window, "P64", c.reg);
        EXPECT_EQ(reg->LastWord(), c.after);
        EXPECT_EQ(reg->Source().kind, ValueSource::Kind::Chip);
        EXPECT_FALSE(Child(window, "P64", c.reg, "VALUE~")->IsModified());
    }
}

// A field of a 64-bit register merges into both of its words as the chip
// holds them, written alone or with its peripheral.
TEST(WordMerge, AFieldOfASixtyFourBitRegisterKeepsTheChipsOtherBits)
{
    for (const bool wholePeripheral : {false, true}) {
        SCOPED_TRACE(wholePeripheral ? "whole peripheral" : "register");
        MergeRig rig;
        rig.WriteMode(wholePeripheral ? kLater : kImmediate);
        rig.Poke(0x20004000, 0x55667788);
        rig.Poke(0x20004004, 0x11223344);
        RegisterWindow &window = rig.WindowWith({"W64"});
        window.ApplyEdit(Child(window, "W64", "R64", "HI"), "0xBEEF");
        if (wholePeripheral) {
            window.SetSelection(Peripheral(window, "W64"), false);
            window.RunCommand(RegisterWindow::WriteCommand);
        }
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(rig.Peek(0x20004000), 0x55667788u);
        EXPECT_EQ(rig.Peek(0x20004004), 0x1122BEEFu);
    }
}

// The reproduction of the command-line tool, in a window: R8B written, then
// R16 over a snapshot file that still holds R8B's old value.
TEST(WordMerge, NarrowRegistersOfOneWordDoNotRevertEachOther)
{
    MergeRig rig;
    rig.WriteMode(kImmediate);
    rig.Poke(kNarrowWord, 0x00003300);
    RegisterWindow &window = rig.WindowWith({"P64"});
    rig.PutFile(rig.DataPath("P64"), QByteArray(0x10, '\0'));
    ASSERT_TRUE(window.LoadSnapshot("P64", rig.DataPath("P64")));
    window.ApplyEdit(Child(window, "P64", "R8B", "VALUE~"), "0xAB");
    EXPECT_EQ(rig.Peek(kNarrowWord), 0x0000AB00u);
    // A second window still shows the file's word for both.
    RegisterWindow &other = rig.WindowWith({"P64"}, 1);
    ASSERT_TRUE(other.LoadSnapshot("P64", rig.DataPath("P64")));
    other.ApplyEdit(Child(other, "P64", "R16", "VALUE~"), "0xFFFF");
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.Peek(kNarrowWord), 0xFFFFAB00u);
    EXPECT_EQ(Register(other, "P64", "R8B")->Number(), 0xABu) << "the neighbour shows the word read";
}

// Written later with the whole peripheral, an edited field still merges
// into its word as the chip holds it; other registers go as the rows show.
TEST(WordMerge, AWholePeripheralWriteMergesItsEditedFields)
{
    MergeRig rig;
    rig.WriteMode(kLater);
    rig.Poke(kModer, 0x0E003000);
    rig.chip.AddFreeRunningCounter(kFifo);
    rig.Poke(kFifo, 0x100);
    RegisterWindow &window = rig.WindowWith({"P64"});
    window.ApplyEdit(Child(window, "P64", "MODER", "MODE1"), "3");
    window.SetSelection(Peripheral(window, "P64"), false);
    window.RunCommand(RegisterWindow::WriteCommand);
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.Peek(kModer), 0x0E00300Cu);
    EXPECT_EQ(rig.Peek(kFifo), 0u) << "written from the rows, never read";
}

TEST(WordMerge, AWordKnownFromTheChipOrTypedWholeIsWrittenWithoutARead)
{
    MergeRig rig;
    rig.WriteMode(kImmediate);
    rig.Poke(kModer, 0x0E003000);
    RegisterWindow &window = rig.WindowWith({"P64"});
    window.SetSelection(Register(window, "P64", "MODER"), true);
    window.ReadSelection();
    // The chip changes after the read: the write keeps the word as read.
    rig.Poke(kModer, 0x77777770);
    rig.chip.ClearRecord();
    window.ApplyEdit(Child(window, "P64", "MODER", "MODE0"), "2");
    EXPECT_EQ(rig.Peek(kModer), 0x0E003002u);

    // A whole value needs no read; neither does a write-only register.
    window.ApplyEdit(Child(window, "P64", "MODER", "VALUE~"), "0x12345678");
    EXPECT_EQ(rig.Peek(kModer), 0x12345678u);
    rig.Poke(0x2000300C, 0xFFFFFFFF);
    window.ApplyEdit(Child(window, "P64", "KEY", "LOW"), "0x5A");
    EXPECT_EQ(rig.Peek(0x2000300C), 0x5Au);
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
}

TEST(WordMerge, AFailedReadWritesNothingAndTheRowsShowWhatTheyShowedBefore)
{
    for (int mode : {kImmediate, kLater}) {
        SCOPED_TRACE(mode);
        MergeRig rig;
        rig.WriteMode(mode);
        rig.Poke(kModer, 0x0E003000);
        RegisterWindow &window = rig.WindowWith({"P64"});
        rig.FailNextTransfer();
        EditAndWrite(window, mode, Child(window, "P64", "MODER", "MODE0"), "1");
        EXPECT_EQ(rig.user.messages, QStringList{"ReadMem 0x20003000 4 error !"});
        EXPECT_EQ(rig.Peek(kModer), 0x0E003000u) << "nothing written";
        RegisterRow *moder = Register(window, "P64", "MODER");
        if (mode == kImmediate) {
            EXPECT_EQ(moder->Source().kind, ValueSource::Kind::NotRead) << "never shown as written";
            EXPECT_EQ(Child(window, "P64", "MODER", "MODE0")->Number(), 0u);
        } else {
            EXPECT_EQ(moder->Source().kind, ValueSource::Kind::Edited) << "the edit waits for its write";
            EXPECT_EQ(moder->Number(), 1u);
        }
    }
}

TEST(WordMerge, AFailedImmediateWriteShowsTheValueBeforeTheEdit)
{
    MergeRig rig;
    rig.WriteMode(kImmediate);
    rig.Poke(kModer, 0x0E003000);
    RegisterWindow &window = rig.WindowWith({"P64"});
    window.SetSelection(Register(window, "P64", "MODER"), true);
    window.ReadSelection();
    rig.FailNextTransfer();
    window.ApplyEdit(Child(window, "P64", "MODER", "VALUE~"), "0x11");
    EXPECT_EQ(rig.user.messages, QStringList{"WriteMem 0x20003000 4 error !\n"});
    RegisterRow *moder = Register(window, "P64", "MODER");
    EXPECT_EQ(moder->Number(), 0x0E003000u);
    EXPECT_EQ(moder->Source().kind, ValueSource::Kind::Chip);
    EXPECT_EQ(Child(window, "P64", "MODER", "VALUE~")->Value(), "0x0E003000");
}

TEST(WordMerge, ARegisterWhoseReadingChangesTheChipIsNeverReadBehindTheUsersBack)
{
    MergeRig rig;
    rig.WriteMode(kImmediate);
    rig.chip.AddFreeRunningCounter(kFifo); // counts every read of the word
    rig.Poke(kFifo, 0x100);
    RegisterWindow &window = rig.WindowWith({"P64"});

    window.ApplyEdit(Child(window, "P64", "FIFO", "LOW"), "5");
    EXPECT_EQ(rig.user.messages,
              QStringList{"not read !\nFIFO.LOW: reading FIFO changes the chip, so its other bits are not known; read "
                          "it first or type its whole value\n"});
    EXPECT_EQ(rig.Peek(kFifo), 0x100u) << "neither read nor written";
    EXPECT_EQ(Register(window, "P64", "FIFO")->Source().kind, ValueSource::Kind::NotRead);
    EXPECT_EQ(Child(window, "P64", "FIFO", "LOW")->Number(), 0u);

    // Its whole value goes without a read.
    rig.user.messages.clear();
    window.ApplyEdit(Child(window, "P64", "FIFO", "VALUE~"), "0x200");
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.Peek(kFifo), 0x200u);

    // Read on purpose, its fields merge into the word read.
    window.SetSelection(Register(window, "P64", "FIFO"), true);
    window.ReadSelection();
    const uint32_t read = Register(window, "P64", "FIFO")->Number();
    window.ApplyEdit(Child(window, "P64", "FIFO", "LOW"), "5");
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.Peek(kFifo), (read & ~0xFFu) | 5u) << "one read only: the user's";
}

TEST(RefusedReads, RowsTheChipTableRefusesAreNeverReadAndSaySo)
{
    MergeRig rig;
    rig.WriteMode(kImmediate);
    rig.Poke(0x000FFFF8, 0x11111111);
    rig.Poke(0x000FFFFC, 0x22222222);
    rig.chip.AddFreeRunningCounter(kRefused);
    rig.Poke(kRefused, 0x33333333);
    RegisterWindow &window = rig.WindowWith({"EDGE"});

    window.SetSelection(Peripheral(window, "EDGE"), false);
    window.ReadSelection();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(Register(window, "EDGE", "B")->Number(), 0x22222222u);
    EXPECT_EQ(Register(window, "EDGE", "CACHEDATA")->Source().kind, ValueSource::Kind::NotRead);
    EXPECT_EQ(rig.Peek(kRefused), 0x33333333u) << "the refused word was read";
    EXPECT_EQ(PeripheralImage::ReadRefusal(*Register(window, "EDGE", "CACHEDATA")),
              "0x10000000 > ADDR >= 0x100000, please check!");
    EXPECT_FALSE(PeripheralImage::ReadRefusal(*Register(window, "EDGE", "B")));

    // The register alone: refused with the table's message.
    window.SetSelection(Register(window, "EDGE", "CACHEDATA"), true);
    window.ReadSelection();
    EXPECT_EQ(rig.user.messages, QStringList{"0x10000000 > ADDR >= 0x100000, please check!"});
    EXPECT_EQ(rig.Peek(kRefused), 0x33333333u);

    // A field cannot be merged into a word that cannot be read.
    rig.user.messages.clear();
    window.ApplyEdit(Child(window, "EDGE", "CACHEDATA", "LOW"), "1");
    EXPECT_EQ(rig.user.messages, QStringList{"not read !\nCACHEDATA.LOW: CACHEDATA cannot be read (0x10000000 > ADDR "
                                             ">= 0x100000, please check!), so its other bits are not known; type its "
                                             "whole value\n"});
    EXPECT_EQ(rig.Peek(kRefused), 0x33333333u);
}

// A vendor file: nrf5340's cache data lies where the chip table refuses
// reads (any chip model): the register window reads none of it, as the
// memory window reads none of it.
TEST(RefusedReads, AVendorPeripheralInARefusedWindowIsNeverRead)
{
    QFile sample(QDir(SvdSamplesDir()).filePath("nrf5340_application.svd"));
    if (!sample.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no sample SVD files in " << SvdSamplesDir().toStdString();
    RegwinRig rig("nrf5340_application");
    rig.PutSvd("nrf5340_application", sample.readAll());
    rig.UseProbe();
    RegisterWindow &window = rig.WindowWith({"CACHEDATA_S"});
    RegisterRow *cache = Peripheral(window, "CACHEDATA_S");
    ASSERT_NE(cache, nullptr);
    ASSERT_GT(cache->ChildCount(), 0u);
    rig.probe.ClearCallLog();
    window.SetSelection(cache, false);
    window.ReadSelection();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_TRUE(rig.probe.CallLog().filter("JLINK_ReadMemEx").isEmpty()) << rig.probe.CallLog().join('|').toStdString();
    for (const auto &reg : cache->Children()) {
        EXPECT_EQ(reg->Source().kind, ValueSource::Kind::NotRead) << reg->Name().toStdString();
        EXPECT_EQ(PeripheralImage::ReadRefusal(*reg), "0x10000000 > ADDR >= 0x100000, please check!");
    }
}

// A runner that cannot take the write now: the edit is refused with a
// message and the rows show what they showed; none shows as written.
TEST(BusyRunner, AnImmediateWriteItCannotTakeIsRefusedAndUndone)
{
    MergeRig rig;
    rig.WriteMode(kImmediate);
    rig.Poke(kModer, 0x0E003000);
    RegisterWindow &window = rig.WindowWith({"P64"});
    window.SetTransferRunner([](std::shared_ptr<RegisterTransfer>, std::function<void()>) { return false; });
    window.ApplyEdit(Child(window, "P64", "MODER", "VALUE~"), "0x11");
    EXPECT_EQ(rig.user.messages,
              QStringList{"not written !\nMODER: another action runs; write it again once it has ended\n"});
    EXPECT_EQ(Register(window, "P64", "MODER")->Source().kind, ValueSource::Kind::NotRead);
    EXPECT_EQ(Child(window, "P64", "MODER", "VALUE~")->Number(), 0u);
    EXPECT_EQ(rig.Peek(kModer), 0x0E003000u);
}

} // namespace
