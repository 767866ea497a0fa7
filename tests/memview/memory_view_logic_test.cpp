// The memory view's logic without a target: which addresses a read may
// reach per chip model, the rows a view holds as it scrolls and moves its
// cursor, units as text and typed over, the names of the chip's SVD file,
// the address box, find's matcher, the go-to history and the text of a dump.

#include "memview/AddressInput.h"
#include "memview/ChipAddressMap.h"
#include "memview/GoToHistory.h"
#include "memview/MemoryFind.h"
#include "memview/MemoryFindTool.h"
#include "memview/MemoryRows.h"
#include "memview/MemoryText.h"
#include "memview/MemoryUnits.h"
#include "memview/MemoryView.h"
#include "regmap/RowChanges.h"
#include "regmap/SvdDeviceModel.h"
#include "support/BuildPaths.h"
#include "support/QtPrinters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

ChipAddressMap FixtureMap()
{
    return ChipAddressMap::Load(FixturePath("memory.svd"));
}

// A block whose every byte holds `fill + offset`.
MemoryBlock Held(uint32_t first, uint32_t count, uint8_t fill = 0)
{
    MemoryBlock block;
    block.first = first;
    for (uint32_t i = 0; i < count; ++i)
        block.bytes.append(char(fill + i));
    block.states.assign(count, ByteState::Value);
    return block;
}

} // namespace

// Reads never reach the chip table's refused windows, nor words of
// registers whose reading changes the chip; they move whole words in
// transfers no longer than asked, and stop at the top of the space.
TEST(ReadRulesTest, RunsLeaveOutRefusedWindowsAndLeftOutWords)
{
    struct Case
    {
        const char *model;
        uint32_t first;
        uint64_t count;
        std::vector<uint32_t> leftOut;
        uint32_t longest;
        std::vector<AddressRun> runs;
    };
    const Case cases[] = {
        // The common read window for every model: 0x00100000 to 0x0FFFFFFF.
        {"VX21D", 0x000FFFF0, 0x20, {}, 0x4000, {{0x000FFFF0, 0x10}}},
        {"other", 0x0FFFFFF8, 0x10, {}, 0x4000, {{0x10000000, 0x8}}},
        // VX21A's own window from 0x62000000 on; VX21B reads there.
        {"VX21A", 0x61FFFFF8, 0x10, {}, 0x4000, {{0x61FFFFF8, 0x8}}},
        {"VX21B", 0x61FFFFF8, 0x10, {}, 0x4000, {{0x61FFFFF8, 0x8}, {0x62000000, 0x8}}},
        {"VX21C", 0xDFFFFFF8, 0x10, {}, 0x4000, {{0xE0000000, 0x8}}},
        // A left-out word splits a run; unaligned stretches grow to words.
        {"VX21A", 0x20000002, 0x10, {0x20000008}, 0x4000, {{0x20000000, 0x8}, {0x2000000C, 0x8}}},
        // Transfers no longer than asked; the top of the space ends the last.
        {"VX21A", 0x20000000, 0x30, {}, 0x10, {{0x20000000, 0x10}, {0x20000010, 0x10}, {0x20000020, 0x10}}},
        {"VX21A", 0xFFFFFFF0, 0x100, {}, 0x4000, {{0xFFFFFFF0, 0x10}}},
        // Never across a 64 KiB bound (the UART link maps such blocks apart).
        {"VX21A", 0x1FFFFFF0, 0x20, {}, 0x4000, {{0x1FFFFFF0, 0x10}, {0x20000000, 0x10}}},
        // Nothing readable at all.
        {"VX21E", 0x64000000, 0x1000, {}, 0x4000, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.model << " " << std::hex << c.first);
        const ReadRules rules(c.model, c.leftOut);
        EXPECT_EQ(rules.Runs(c.first, c.count, c.longest), c.runs);
    }
    const ReadRules rules("VX21A", {0x20000008});
    EXPECT_EQ(rules.Fixed(0x00100000), ByteState::Refused);
    EXPECT_EQ(rules.Fixed(0x2000000B), ByteState::LeftOut);
    EXPECT_EQ(rules.Fixed(0x2000000C), ByteState::Unread);
    EXPECT_FALSE(rules.Writable(0x1FFFFFFC)) << "writes are refused below RAM, reads are not";
    EXPECT_TRUE(rules.Writable(0x20000000));
}

TEST(MemoryViewTest, ScrollsOverTheWholeSpaceAndHoldsOnlyTheRowsShown)
{
    MemoryView view(0x20000000);
    view.SetRules(ReadRules("VX21A", {}));
    view.SetRowsShown(4);
    EXPECT_EQ(view.RowCount(), uint64_t(1) << 28);
    EXPECT_EQ(view.First(), 0x20000000u);
    EXPECT_EQ(view.ShownBytes(), 64u);

    // The last screen ends at the top of the space; nothing past it is shown.
    view.ScrollToRow(int64_t(1) << 40);
    EXPECT_EQ(view.First(), 0xFFFFFFC0u);
    view.ScrollToRow(-5);
    EXPECT_EQ(view.First(), 0u);

    // Rows in a refused window are known at once and never asked for.
    view.GoTo(0x000FFFF0);
    EXPECT_EQ(view.State(0x000FFFF0), ByteState::Unread);
    EXPECT_EQ(view.State(0x00100000), ByteState::Refused);
    EXPECT_EQ(view.UnitText(0x00100000), "--");
    const std::optional<MemoryBlock> wanted = view.TakeWanted();
    ASSERT_TRUE(wanted);
    EXPECT_EQ(wanted->first, 0x000FFFF0u);
    EXPECT_EQ(wanted->Size(), 16u) << "whole rows, only those that need a read";
    EXPECT_EQ(view.State(0x000FFFF0), ByteState::Reading);
    EXPECT_FALSE(view.TakeWanted()) << "a read on its way is not asked for twice";

    // A read's bytes land where they are shown; scrolling keeps what is held.
    view.Apply(Held(0x000FFFF0, 16, 0x40));
    EXPECT_EQ(view.UnitText(0x000FFFF1), "41");
    view.ScrollToRow(int64_t(view.TopRow()) - 1);
    EXPECT_EQ(view.UnitText(0x000FFFF1), "41");
    EXPECT_EQ(view.State(0x000FFFE0), ByteState::Unread);
    const std::optional<MemoryBlock> newRow = view.TakeWanted();
    ASSERT_TRUE(newRow);
    EXPECT_EQ(newRow->first, 0x000FFFE0u);
    EXPECT_EQ(newRow->Size(), 16u);
}

// Bytes whose read failed stay failed ("??") through every change of row
// width, unit and scroll that keeps them shown, until they are read again:
// the reads those changes ask for never hand a failure on as a value.
TEST(MemoryViewTest, FailedBytesStayFailedUntilReadAgain)
{
    MemoryView view(0x20000010);
    view.SetRules(ReadRules("VX21A", {}));
    view.SetRowsShown(4);
    // What a read of the link gives: every byte it waits for, read as 0x5A.
    auto readWanted = [&view] {
        while (std::optional<MemoryBlock> wanted = view.TakeWanted()) {
            for (uint32_t i = 0; i < wanted->Size(); ++i)
                if (wanted->states[i] == ByteState::Unread || wanted->states[i] == ByteState::Reading) {
                    wanted->states[i] = ByteState::Value;
                    wanted->bytes[qsizetype(i)] = char(0x5A);
                }
            view.Apply(*wanted);
        }
    };
    std::optional<MemoryBlock> first = view.TakeWanted();
    ASSERT_TRUE(first);
    for (uint32_t i = 0; i < first->Size(); ++i)
        first->states[i] = i < 0x10 ? ByteState::Failed : ByteState::Value;
    view.Apply(*first);
    ASSERT_EQ(view.UnitText(0x20000010), "??");

    struct Step
    {
        const char *what;
        std::function<void()> change;
    };
    const Step steps[] = {
        {"32 bytes a row", [&] { view.SetRowWidth(32); }},
        {"32-bit units", [&] { view.SetUnit(4); }},
        {"8 bytes a row", [&] { view.SetRowWidth(8); }},
        {"16-bit units", [&] { view.SetUnit(2); }},
        {"16 bytes a row", [&] { view.SetRowWidth(16); }},
        {"a row down", [&] { view.ScrollToRow(int64_t(view.TopRow()) + 1); }},
        {"a row up", [&] { view.ScrollToRow(int64_t(view.TopRow()) - 1); }},
        {"a row up and two more rows",
         [&] {
             view.ScrollToRow(int64_t(view.TopRow()) - 1);
             view.SetRowsShown(6);
         }},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        readWanted();
        for (uint32_t a = 0x20000010; a < 0x20000020; ++a)
            ASSERT_EQ(view.State(a), ByteState::Failed) << std::hex << a;
        EXPECT_EQ(view.UnitText(0x20000010), QString(2 * view.Unit(), u'?'));
        EXPECT_FALSE(view.UnitValue(0x20000010));
    }
    // Read again (the refresh key): the bytes hold what the chip gives.
    view.Forget();
    readWanted();
    EXPECT_EQ(view.State(0x20000010), ByteState::Value);
    EXPECT_EQ(view.UnitText(0x20000010), "5A5A");
}

TEST(MemoryViewTest, CursorMovesByUnitsRowsAndPagesAndStaysInView)
{
    struct Step
    {
        MemoryView::Move move;
        uint32_t cursor;
        uint32_t first;
    };
    MemoryView view(0x20000000);
    view.SetRules(ReadRules("VX21A", {}));
    view.SetRowsShown(4);
    view.SetUnit(2);
    const Step steps[] = {
        {MemoryView::Move::Right, 0x20000002, 0x20000000},    {MemoryView::Move::RowEnd, 0x2000000E, 0x20000000},
        {MemoryView::Move::Right, 0x20000010, 0x20000000},    {MemoryView::Move::Left, 0x2000000E, 0x20000000},
        {MemoryView::Move::RowStart, 0x20000000, 0x20000000}, {MemoryView::Move::Down, 0x20000010, 0x20000000},
        {MemoryView::Move::PageDown, 0x20000050, 0x20000040}, {MemoryView::Move::Down, 0x20000060, 0x20000040},
        {MemoryView::Move::Down, 0x20000070, 0x20000040},     {MemoryView::Move::Down, 0x20000080, 0x20000050},
        {MemoryView::Move::PageUp, 0x20000040, 0x20000010},   {MemoryView::Move::Up, 0x20000030, 0x20000010},
    };
    for (const Step &step : steps) {
        view.MoveCursor(step.move);
        EXPECT_EQ(view.Cursor(), step.cursor) << std::hex << step.cursor;
        EXPECT_EQ(view.First(), step.first) << std::hex << step.cursor;
    }
    // At the ends of the space the cursor stops.
    view.GoTo(0);
    view.MoveCursor(MemoryView::Move::Left);
    view.MoveCursor(MemoryView::Move::PageUp);
    EXPECT_EQ(view.Cursor(), 0u);
    view.GoTo(0xFFFFFFFE);
    view.MoveCursor(MemoryView::Move::Right);
    view.MoveCursor(MemoryView::Move::PageDown);
    EXPECT_EQ(view.Cursor(), 0xFFFFFFFEu);
    EXPECT_EQ(view.First(), 0xFFFFFFC0u);
    // A wider unit aligns the cursor to it.
    view.GoTo(0x20000006);
    view.SetUnit(4);
    EXPECT_EQ(view.Cursor(), 0x20000004u);
}

// A watch's refreshes mark the bytes that changed, fading as the register
// windows' rows do; a read alone marks nothing.
TEST(MemoryViewTest, RefreshesMarkChangedUnitsThatFade)
{
    MemoryView view(0x20000000);
    view.SetRules(ReadRules("VX21A", {}));
    view.SetRowsShown(2);
    view.SetUnit(4);
    view.Apply(Held(0x20000000, 32));
    EXPECT_EQ(view.UnitStrength(0x20000000), 0.0);
    MemoryBlock changed = Held(0x20000000, 32);
    changed.bytes[5] = char(0x99);
    view.ApplyRefresh({changed});
    EXPECT_EQ(view.UnitStrength(0x20000004), 1.0);
    EXPECT_EQ(view.UnitStrength(0x20000000), 0.0);
    EXPECT_EQ(view.UnitText(0x20000004), "07069904");
    for (int refresh = 1; refresh < RowChanges::kFadeReads; ++refresh) {
        view.ApplyRefresh({changed});
        EXPECT_DOUBLE_EQ(view.UnitStrength(0x20000004),
                         double(RowChanges::kFadeReads - refresh) / RowChanges::kFadeReads);
    }
    view.ApplyRefresh({changed});
    EXPECT_EQ(view.UnitStrength(0x20000004), 0.0);
    view.Forget();
    EXPECT_EQ(view.State(0x20000004), ByteState::Unread);
}

TEST(MemoryUnitsTest, TextValueAndAsciiOfUnits)
{
    const uint8_t bytes[] = {0x33, 0xEE, 0xFF, 0xC0};
    const ByteState value[] = {ByteState::Value, ByteState::Value, ByteState::Value, ByteState::Value};
    EXPECT_EQ(MemoryUnits::Text(bytes, value, 1), "33");
    EXPECT_EQ(MemoryUnits::Text(bytes, value, 2), "EE33");
    EXPECT_EQ(MemoryUnits::Text(bytes, value, 4), "C0FFEE33");
    struct Case
    {
        ByteState state;
        const char *text;
    };
    for (const Case &c : {Case{ByteState::Refused, "----"}, Case{ByteState::LeftOut, "~~~~"},
                          Case{ByteState::Failed, "????"}, Case{ByteState::Reading, "...."}}) {
        const ByteState states[] = {ByteState::Value, c.state};
        EXPECT_EQ(MemoryUnits::Text(bytes, states, 2), c.text);
        EXPECT_FALSE(MemoryUnits::Value(bytes, states, 2));
    }
    EXPECT_EQ(MemoryUnits::Ascii('A', ByteState::Value), u'A');
    EXPECT_EQ(MemoryUnits::Ascii(0x7F, ByteState::Value), u'.');
    EXPECT_EQ(MemoryUnits::Ascii('A', ByteState::Refused), u' ');
}

TEST(MemoryUnitsTest, TypedDigitsReplaceTheUnitFromTheLeft)
{
    MemoryUnits::UnitEdit edit(0x20000000, 2, 0x1234);
    EXPECT_TRUE(edit.Type(u'a'));
    EXPECT_FALSE(edit.Type(u'g'));
    EXPECT_EQ(edit.Text(), "A234") << "the digits not typed keep the old value";
    EXPECT_FALSE(edit.Complete());
    EXPECT_TRUE(edit.Type(u'B'));
    EXPECT_TRUE(edit.Type(u'0'));
    EXPECT_TRUE(edit.Type(u'9'));
    EXPECT_TRUE(edit.Complete());
    EXPECT_EQ(edit.Value(), 0xAB09u);
    EXPECT_FALSE(edit.Type(u'1')) << "every digit is typed";
}

TEST(ChipAddressMapTest, RegistersByAddressAndNamesForTheAddressBox)
{
    const ChipAddressMap map = FixtureMap();
    ASSERT_EQ(map.Peripherals().size(), 4u);
    QStringList starting;
    for (const ChipAddressMap::Register *reg : map.RegistersStartingIn(0x20001000, 16))
        starting << reg->name;
    EXPECT_EQ(starting, QStringList({"TIMER0.CTRL", "TIMER0.VALUE", "TIMER0.FIFO", "TIMER0.STAT"}));
    ASSERT_TRUE(map.RegisterAt(0x20001006));
    EXPECT_EQ(map.RegisterAt(0x20001006)->name, "TIMER0.VALUE");
    EXPECT_EQ(map.RegisterAt(0x2000100E), nullptr) << "STAT is one byte wide";
    EXPECT_EQ(map.PeripheralOf(*map.RegisterAt(0x2000100D)).name, "TIMER0");
    EXPECT_EQ(map.LeftOutWords(), std::vector<uint32_t>{0x20001008});

    struct Case
    {
        const char *text;
        std::optional<uint32_t> address;
    };
    const Case cases[] = {
        {"TIMER0", 0x20001000},
        {"TIMER0.VALUE", 0x20001004},
        {"timer0.value", 0x20001004},
        {"ADC", 0x20002000},
        {"0xADC", 0xADC},
        {"adc.dr", 0x20002010},
        {"Timer1", 0x20003000},
        {"timer1", std::nullopt},
        {"0x2000 1000", 0x20001000},
        {"20001000", 0x20001000},
        {"123456789", std::nullopt},
        {"TIMER9", std::nullopt},
        {"", std::nullopt},
        {"12G4", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AddressInput::Parse(c.text, &map), c.address) << c.text;
    EXPECT_TRUE(ChipAddressMap::Load("/nonexistent.svd").IsEmpty());
}

// Whatever else the SVD file gets wrong, the words whose reading changes the
// chip stay out of every read, and so do the words nobody can tell about; the
// margin says why. A peripheral without a base address has no place at all.
TEST(ChipAddressMapTest, WordsNeverReadWhateverTheSvdFileGetsWrong)
{
    const ChipAddressMap map = ChipAddressMap::Load(FixturePath("unreadable.svd"));
    QStringList peripherals;
    for (const ChipAddressMap::Peripheral &peripheral : map.Peripherals())
        peripherals << peripheral.name;
    EXPECT_EQ(peripherals, QStringList({"FIFO", "BROKEN"}));

    // FIFO: DATA pops on reading, CTRL's fields cannot be read; STAT is plain.
    // BROKEN: its walk stops after CLR, so its whole address block stays out.
    std::vector<uint32_t> expected{0x20001000, 0x20001004};
    for (uint32_t word = 0x20002000; word < 0x20002040; word += 4)
        expected.push_back(word);
    std::vector<uint32_t> leftOut = map.LeftOutWords();
    std::sort(leftOut.begin(), leftOut.end());
    leftOut.erase(std::unique(leftOut.begin(), leftOut.end()), leftOut.end());
    EXPECT_EQ(leftOut, expected);

    const ReadRules rules("VX21A", map.LeftOutWords());
    const MemoryBlock fifo = MemoryRows::Planned(rules, 0x20001000, 16);
    EXPECT_EQ(MemoryText::Rows(fifo, 16, 4, &map),
              QStringList{"20001000: ~~~~~~~~ ~~~~~~~~ ........ ........                    "
                          "FIFO.CTRL [SVD unreadable: not read] DATA STAT"});
    const MemoryBlock broken = MemoryRows::Planned(rules, 0x20002000, 0x50);
    for (uint32_t i = 0; i < 0x40; ++i)
        ASSERT_EQ(broken.states[i], ByteState::LeftOut) << std::hex << i;
    EXPECT_EQ(broken.states[0x40], ByteState::Unread);
    EXPECT_EQ(MemoryText::Rows(broken, 16, 4, &map).front(), "20002000: ~~~~~~~~ ~~~~~~~~ ~~~~~~~~ ~~~~~~~~  "
                                                             "                  BROKEN [SVD unreadable: not read] CLR");

    // Names for the address box, places for the status line and tooltips.
    EXPECT_EQ(map.AddressOf("FIFO.STAT"), 0x20001008u);
    EXPECT_EQ(map.AddressOf("BROKEN.CLR"), 0x20002000u);
    EXPECT_EQ(map.Names().count("BROKEN"), 1);
    ASSERT_TRUE(map.RegisterAt(0x20002001));
    EXPECT_EQ(map.RegisterAt(0x20002001)->name, "BROKEN.CLR");
    ASSERT_TRUE(map.RegisterAt(0x20002030));
    EXPECT_EQ(map.RegisterAt(0x20002030)->name, "BROKEN");
    EXPECT_TRUE(map.UnknownAt(0x20001002));
    EXPECT_TRUE(map.UnknownAt(0x2000203F));
    EXPECT_FALSE(map.UnknownAt(0x20001004)) << "DATA is left out for its read action, which is known";
    EXPECT_FALSE(map.UnknownAt(0x20002040));

    // The register windows still refuse such a peripheral with the file's message.
    const SvdPeripheralResult strict = SvdDeviceModel::ReadPeripheral(FixturePath("unreadable.svd"), u"FIFO");
    EXPECT_EQ(strict.outcome, SvdPeripheralResult::Outcome::Failed);
    EXPECT_FALSE(strict.message.isEmpty());
}

// A find's transfers last about TransferPace::kAim at the speed seen so far,
// so a cancel looked at between two acts within about that time.
TEST(MemoryFindTest, TransfersArePacedByTheSpeedSeen)
{
    using namespace std::chrono_literals;
    using Pace = MemoryFind::TransferPace;
    struct Case
    {
        uint32_t bytes;
        std::chrono::milliseconds took;
        uint32_t next;
    };
    const Case cases[] = {
        {1024, 1ms, 4096},    // a fast link: four times the last, no more
        {16384, 1ms, 16384},  // never past the transfer buffer
        {2048, 100ms, 4096},  // 20 KiB/s: 0.2 s of it
        {1024, 400ms, 512},   // 2.5 KiB/s
        {1024, 10000ms, 256}, // crawling: the least still moves
        {1000, 200ms, 1000},  // whole words
        {1002, 200ms, 1000},
    };
    for (const Case &c : cases) {
        Pace pace;
        EXPECT_EQ(pace.Bytes(), Pace::kFirst);
        pace.Took(c.bytes, c.took);
        EXPECT_EQ(pace.Bytes(), c.next) << c.bytes << " in " << c.took.count() << " ms";
        EXPECT_EQ(pace.Bytes() % 4, 0u);
    }
}

TEST(GoToHistoryTest, BackAndForwardReturnWhereTheViewStood)
{
    GoToHistory history(0x20000000);
    EXPECT_FALSE(history.Back(0x20000000));
    history.Visit(0x20000010, 0x40000000); // scrolled a row, then went on
    history.Visit(0x40000000, 0x50000000);
    EXPECT_EQ(history.Back(0x50000004), 0x40000000u);
    EXPECT_EQ(history.Back(0x40000000), 0x20000010u);
    EXPECT_EQ(history.Forward(0x20000010), 0x40000000u);
    EXPECT_EQ(history.Forward(0x40000000), 0x50000004u);
    EXPECT_FALSE(history.Forward(0x50000004));
    history.Back(0x50000004);
    history.Visit(0x40000000, 0x60000000);
    EXPECT_FALSE(history.CanGoForward()) << "a new place drops the ones ahead";
    EXPECT_EQ(history.Entries(), std::vector<uint32_t>({0x20000010, 0x40000000, 0x60000000}));
}

TEST(MemoryFindTest, PatternsAndMatchesAcrossFedStretches)
{
    EXPECT_EQ(MemoryFind::ParseBytes("DE AD be ef")->bytes, QByteArray::fromHex("deadbeef"));
    EXPECT_EQ(MemoryFind::ParseBytes("0xde 0xad")->bytes, QByteArray::fromHex("dead"));
    EXPECT_FALSE(MemoryFind::ParseBytes("ABC"));
    EXPECT_FALSE(MemoryFind::ParseBytes("ZZ"));
    EXPECT_FALSE(MemoryFind::ParseBytes(""));
    const MemoryFind::Pattern word = *MemoryFind::ParseWord("0xC0FFEE33");
    EXPECT_EQ(word.bytes, QByteArray::fromHex("33eeffc0")) << "as the chip stores it";
    EXPECT_EQ(word.alignment, 4u);
    EXPECT_EQ(MemoryFind::ParseWord("1F")->bytes, QByteArray::fromHex("1f000000"));
    EXPECT_FALSE(MemoryFind::ParseWord("123456789"));

    // A match split between two stretches that follow each other.
    MemoryFind::Matcher split(*MemoryFind::ParseBytes("AABBCC"));
    EXPECT_FALSE(split.Feed(0x100, "\x00\x00\xAA\xBB", 4));
    EXPECT_EQ(split.Feed(0x104, "\xCC\x00", 2), 0x102u);
    // Not across a gap left out between them.
    MemoryFind::Matcher gap(*MemoryFind::ParseBytes("AABBCC"));
    EXPECT_FALSE(gap.Feed(0x100, "\x00\x00\xAA\xBB", 4));
    EXPECT_FALSE(gap.Feed(0x108, "\xCC\x00", 2));
    // A word only at word addresses.
    MemoryFind::Matcher aligned(word);
    const char bytes[] = "\x00\x33\xEE\xFF\xC0\x00\x00\x00\x33\xEE\xFF\xC0";
    EXPECT_EQ(aligned.Feed(0x200, bytes, 12), 0x208u);
}

// The same search asked for again goes on after its last match, within the
// stretch it was asked for; anything else starts where it is asked to.
TEST(MemoryFindTest, TheSameSearchAgainGoesOnAfterItsLastMatch)
{
    using Kind = MemoryFindTool::Outcome::Kind;
    const MemoryFind::Pattern bytes = *MemoryFind::ParseBytes("DEADBEEF");
    const MemoryFind::Pattern other = *MemoryFind::ParseBytes("C0FFEE");
    struct Case
    {
        const char *what;
        MemoryFind::Pattern pattern;
        uint32_t first;
        uint64_t length;
        Kind before; // how the first search ended
        uint32_t expectedFirst;
        uint64_t expectedLength;
    };
    const Case cases[] = {
        {"the same again", bytes, 0x1000, 0x1000, Kind::Found, 0x1201, 0x1000 - 0x201},
        {"another pattern", other, 0x1000, 0x1000, Kind::Found, 0x1000, 0x1000},
        {"another end", bytes, 0x1000, 0x800, Kind::Found, 0x1000, 0x800},
        {"the match before the start", bytes, 0x1300, 0xD00, Kind::Found, 0x1300, 0xD00},
        {"no match before", bytes, 0x1000, 0x1000, Kind::NotFound, 0x1000, 0x1000},
        {"cancelled before", bytes, 0x1000, 0x1000, Kind::Cancelled, 0x1000, 0x1000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFindTool tool;
        tool.Plan(bytes, 0x1000, 0x1000);
        MemoryFindTool::Outcome outcome;
        outcome.kind = c.before;
        outcome.address = 0x1200;
        tool.Take(outcome);
        const MemoryFind::Request next = tool.Plan(c.pattern, c.first, c.length);
        EXPECT_EQ(next.first, c.expectedFirst);
        EXPECT_EQ(next.length, c.expectedLength);
        EXPECT_EQ(tool.Plan(c.pattern, c.first, c.length).first, c.first) << "a third time starts anew";
    }
}

TEST(MemoryTextTest, RowsAsTheWindowShowsThemAndAsJson)
{
    const ChipAddressMap map = FixtureMap();
    MemoryBlock block = MemoryRows::Planned(ReadRules("VX21A", map.LeftOutWords()), 0x20001000, 20);
    const QByteArray bytes = QByteArray::fromHex("33eeffc0410000000000000000ab00005a5a5a5a");
    for (int i = 0; i < 20; ++i) {
        block.bytes[i] = bytes[i];
        if (block.states[std::size_t(i)] == ByteState::Unread)
            block.states[std::size_t(i)] = ByteState::Value;
    }
    EXPECT_EQ(
        MemoryText::Rows(block, 16, 4, &map),
        QStringList({"20001000: C0FFEE33 00000041 ~~~~~~~~ 0000AB00  3...A...    ....  TIMER0.CTRL VALUE FIFO STAT",
                     "20001010: 5A5A5A5A" + QString(29, u' ') + "ZZZZ"}));
    const QJsonObject json = QJsonDocument::fromJson(MemoryText::Json(block, 16, 1, &map)).object();
    EXPECT_EQ(json["address"].toString(), "20001000");
    EXPECT_EQ(json["unit"].toInt(), 1);
    const QJsonArray rows = json["rows"].toArray();
    ASSERT_EQ(rows.size(), 2);
    const QJsonArray units = rows[0].toObject()["units"].toArray();
    EXPECT_EQ(units[0].toString(), "33");
    EXPECT_TRUE(units[8].isNull()) << "the FIFO is never read";
    EXPECT_EQ(rows[1].toObject()["units"].toArray().size(), 4);
    EXPECT_EQ(rows[0].toObject()["registers"].toArray().size(), 4);
    EXPECT_EQ(rows[0].toObject()["registers"].toArray()[1].toString(), "TIMER0.VALUE") << "whole names";
}
