#include "regmap/RowBits.h"
#include "regmap/RowExport.h"
#include "support/RegwinRig.h"

#include <gtest/gtest.h>

namespace {

QString Pad(const QString &name, int column)
{
    return RowText::Caption(name, "0x00000000", column);
}

struct RowLine
{
    int depth;
    QString name;
    QString value;
    QString description;
};

QList<RowLine> Lines(const RegisterWindow &window)
{
    QList<RowLine> lines;
    std::function<void(const RegisterRow &, int)> walk = [&](const RegisterRow &row, int depth) {
        lines.append({depth, row.Name(), row.Value(), row.Description()});
        for (const auto &child : row.Children())
            walk(*child, depth + 1);
    };
    for (const auto &top : window.Tree().TopRows())
        walk(*top, 0);
    return lines;
}

TEST(RegisterRows, ExactTextsOfEveryKind)
{
    for (int hex : {0, 1}) {
        SCOPED_TRACE(hex);
        RegwinRig rig;
        rig.config.WriteInt("COMMON", "HEX_DEC", hex);
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        const QString f0 = hex ? "0x0" : "0";
        const QString z = "0x00000000";
        const QString regValue = QString::fromUtf8("寄存器数值");
        const QList<RowLine> expected = {
            {0, "TIMER", "", "0x20001000 0x00000100"},
            {1, "CR                0x00000000", "", "0x20001000 0x00000000\nControl register"},
            {2, "VALUE~", z, regValue},
            {2, "EN", f0, "[0]\nEnable"},
            {2, "MODE", f0, "[4-7]\nMode select"},
            {2, "TOP", f0, "[31]\n\nTop bit"},
            {1, "SR                0x00000000", "", "0x20001004 0x00000004\rStatus"},
            {2, "VALUE~", z, regValue},
            {2, "ALL", f0, "[0-31]\nWhole word"},
            {1, "ODD               0x00000000", "", "0x20001006 0x00000006\nOdd offset"},
            {2, "VALUE~", z, regValue},
            {1, "DATA              0x00000000", "", "0x20001024 0x00000024\n"},
            {2, "VALUE~", z, regValue},
            {2, "LO", f0, "[0-15]\n"},
            {1, "A_VERY_LONG_REGISTER_NAME_XYZ 0x00000000", "", "0x200010FC 0x000000FC\nLast"},
            {2, "VALUE~", z, regValue},
        };
        const QList<RowLine> lines = Lines(window);
        ASSERT_EQ(lines.size(), expected.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(lines[i].depth, expected[i].depth);
            EXPECT_EQ(lines[i].name, expected[i].name);
            EXPECT_EQ(lines[i].value, expected[i].value);
            EXPECT_EQ(lines[i].description, expected[i].description);
        }
        EXPECT_EQ(window.Tree().LeftTitle(), "TIMER");
        EXPECT_EQ(window.Tree().RightTitle(), "Value");
        const RegisterRow *cr = Register(window, "TIMER", "CR");
        EXPECT_EQ(cr->RowKind(), RegisterRow::Kind::Register);
        EXPECT_FALSE(cr->IsEditable());
        EXPECT_TRUE(cr->Child(0)->IsEditable());
        EXPECT_EQ(cr->Child(0)->RowKind(), RegisterRow::Kind::Value);
        EXPECT_EQ(cr->Child(1)->RowKind(), RegisterRow::Kind::Field);
        EXPECT_FALSE(cr->Child(1)->IsModified());
    }
}

// Widths are dragged one after another in one window, at a given dpi; the
// column is checked after each, then a row added afterwards uses the build
// formula with the new last width.
TEST(RegisterRows, CaptionsFollowTheNameColumn)
{
    struct Step
    {
        int dpi;
        int width;
        int column; // CR's value column after the step
        int lastWidth;
        int columnOfNewRows; // trunc((last - 35) / 7 + 0.5)
    };
    const Step steps[] = {
        {96, 400, 52, 400, 52},  {96, 1000, 52, 400, 52}, // clamped to 400, no change
        {96, 100, 18, 160, 18},                           // snaps back to 160
        {96, 250, 31, 250, 31},  {144, 200, 16, 200, 24}, // trunc(24.07 * 96 / 144)
        {144, 160, 12, 160, 18}, {120, 400, 42, 400, 52},
    };
    RegwinRig rig;
    RegisterWindow *window = nullptr;
    int dpi = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.width);
        if (step.dpi != dpi) {
            // The dots per inch are fixed when the window is made.
            dpi = rig.env.dotsPerInch = step.dpi;
            rig.windows.clear();
            window = &rig.WindowWith({"TIMER"});
        }
        window->Tree().SetNameColumnWidth(step.width);
        window->NameColumnSettled();
        EXPECT_EQ(Register(*window, "TIMER", "CR")->Name(), Pad("CR", step.column));
        EXPECT_EQ(Register(*window, "TIMER", "A_VERY_LONG_REGISTER_NAME_XYZ")->Name(),
                  Pad("A_VERY_LONG_REGISTER_NAME_XYZ", step.column));
        EXPECT_EQ(window->Tree().LastWidth(), step.lastWidth);
        EXPECT_EQ(window->Tree().NameColumnWidth(), step.lastWidth);
        window->AddPeripheralRows("GPIO");
        EXPECT_EQ(Register(*window, "GPIO", "OUT")->Name(), Pad("OUT", step.columnOfNewRows));
        window->RemovePeripheralRows("GPIO");
    }
}

TEST(RegisterRows, RealignKeepsEachRegistersNameAndValue)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    RegisterRow *cr = Register(window, "TIMER", "CR");
    SetRegisterValue(window, cr, 0xA5);
    window.RealignCaptions(10);
    EXPECT_EQ(cr->Name(), "CR        0x000000A5");
    EXPECT_EQ(Register(window, "TIMER", "A_VERY_LONG_REGISTER_NAME_XYZ")->Name(),
              "A_VERY_LONG_REGISTER_NAME_XYZ 0x00000000");
    // Every register keeps its own value: none is taken from a caption.
    window.RealignCaptions(4);
    EXPECT_EQ(Register(window, "TIMER", "SR")->Name(), "SR  0x00000000");
    EXPECT_EQ(cr->Name(), "CR  0x000000A5");
}

TEST(RegisterRows, NarrowGridHalvesTheNameColumn)
{
    RegwinRig rig;
    RegisterWindow &window = rig.Window();
    window.GridResized(300);
    EXPECT_EQ(window.Tree().NameColumnWidth(), 160);
    window.GridResized(270);
    EXPECT_EQ(window.Tree().NameColumnWidth(), 135);
    window.NameColumnSettled();
    EXPECT_EQ(window.Tree().NameColumnWidth(), 160);
}

TEST(RegisterRows, FieldValueOfAWord)
{
    struct Case
    {
        uint32_t low;
        uint32_t width;
        uint64_t value;
        uint64_t field;
    };
    const Case cases[] = {
        {4, 4, 0x000000A5, 0xA},
        {0, 32, 0xFFFFFFFF, 0xFFFFFFFF},
        {31, 1, 0x80000000, 1},
        {0, 1, 0x00000003, 1},
        // Fields of a 64-bit register above bit 31 take the upper word, never
        // the lower one again.
        {36, 4, 0x000000A5, 0},
        {36, 4, 0x000000A500000000, 0xA},
        {32, 32, 0x1122334455667788, 0x11223344},
        {0, 33, 0x00000001000000A5, 0x1000000A5},
        {0, 64, 0xFFFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFF},
        {64, 4, 0xFFFFFFFFFFFFFFFF, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << "+" << c.width);
        EXPECT_EQ((FieldSpan{c.low, c.width}.ValueIn(c.value)), c.field);
    }
}

TEST(RegisterRows, FieldsShowTheirValueInTheBaseTheyShow)
{
    RegwinRig rig;
    rig.config.WriteInt("COMMON", "REG_WR", 1);
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    RegisterRow *mode = Child(window, "TIMER", "CR", "MODE");
    RegisterRow *all = Child(window, "TIMER", "SR", "ALL");
    window.ApplyEdit(mode, "12");
    rig.PutFile(rig.DataPath("TIMER"), Words({0xA5, 0xA5}));
    ASSERT_TRUE(window.LoadSnapshot("TIMER", rig.DataPath("TIMER")));
    EXPECT_EQ(mode->Value(), "10") << "a field last typed in decimal stays decimal";
    EXPECT_EQ(all->Value(), "0x000000A5") << "a whole-word field shows the word";
    window.ApplyEdit(mode, "0X1");
    ASSERT_TRUE(window.LoadSnapshot("TIMER", rig.DataPath("TIMER")));
    EXPECT_EQ(mode->Value(), "0xA");
}

// Names that look like numbers or hold blanks are names: the values live
// apart from them.
TEST(RegisterRows, NamesThatLookLikeNumbersKeepTheirValues)
{
    RegwinRig rig;
    rig.PutFile(rig.home.filePath("svd/VX21A.svd"), R"(<?xml version="1.0"?>
<device><peripherals><peripheral><name>ODDNAMES</name><baseAddress>0x20001000</baseAddress><registers>
  <register><name>R0x1</name><addressOffset>0x0</addressOffset></register>
  <register><name>CTRL REG</name><addressOffset>0x4</addressOffset>
    <fields><field><name>F0x2</name><bitOffset>0</bitOffset><bitWidth>8</bitWidth></field></fields></register>
</registers></peripheral></peripherals></device>)");
    RegisterWindow &window = rig.WindowWith({"ODDNAMES"});
    rig.PutFile(rig.DataPath("ODDNAMES"), Words({0x00000005, 0x000000A7}));
    ASSERT_TRUE(window.LoadSnapshot("ODDNAMES", rig.DataPath("ODDNAMES")));
    RegisterRow *r = Register(window, "ODDNAMES", "R0x1");
    RegisterRow *ctrl = Register(window, "ODDNAMES", "CTRL REG");
    ASSERT_TRUE(r && ctrl);
    EXPECT_EQ(r->Number(), 5u);
    EXPECT_TRUE(r->Name().startsWith("R0x1 ") && r->Name().endsWith(" 0x00000005")) << r->Name().toStdString();
    EXPECT_EQ(ctrl->Number(), 0xA7u);
    EXPECT_EQ(Child(window, "ODDNAMES", "CTRL REG", "F0x2")->Number(), 0xA7u);
    EXPECT_TRUE(window.SaveSnapshot("ODDNAMES", rig.FilePath("back.bin")));
    EXPECT_EQ(rig.ReadFile(rig.FilePath("back.bin")), Words({0x00000005, 0x000000A7}));
    const std::vector<RowExport::Record> records = RowExport::Records(window.Tree());
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[0].reg, "R0x1");
    EXPECT_EQ(records[0].value, "0x00000005");
    EXPECT_EQ(records[1].reg, "CTRL REG");
    EXPECT_EQ(records[1].value, "0x000000A7");
}

TEST(RegisterRows, NumberBaseConvertsValueAndFieldRows)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    RegisterRow *value = Child(window, "TIMER", "CR", "VALUE~");
    RegisterRow *mode = Child(window, "TIMER", "CR", "MODE");
    RegisterRow *all = Child(window, "TIMER", "SR", "ALL");
    TypeInto(window, value, "0x0000001F");
    TypeInto(window, mode, "7");
    TypeInto(window, all, "junk");

    rig.config.WriteInt("COMMON", "HEX_DEC", 0);
    window.ApplyNumberBase();
    EXPECT_EQ(value->Value(), "31");
    EXPECT_FALSE(value->IsModified());
    EXPECT_EQ(mode->Value(), "7");
    EXPECT_TRUE(mode->IsModified()) << "an unchanged text keeps its baseline";

    rig.config.WriteInt("COMMON", "HEX_DEC", 1);
    window.ApplyNumberBase();
    EXPECT_EQ(value->Value(), "0x1F");
    EXPECT_EQ(mode->Value(), "0x7");
    EXPECT_EQ(all->Value(), "0x0");

    rig.config.WriteInt("COMMON", "HEX_DEC", 2);
    window.ApplyNumberBase();
    EXPECT_EQ(value->Value(), "0x1F");
}

TEST(RegisterRows, ExpandLevels)
{
    for (int level : {0, 1, 2}) {
        RegwinRig rig;
        rig.config.WriteInt("COMMON", "EXPAND_TYPE", level);
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        EXPECT_EQ(Peripheral(window, "TIMER")->IsExpanded(), level != 0);
        EXPECT_EQ(Register(window, "TIMER", "CR")->IsExpanded(), level == 2);
        window.ApplyExpandLevel(2 - level);
        EXPECT_EQ(Peripheral(window, "TIMER")->IsExpanded(), level != 2);
    }
}

TEST(RegisterRows, RebuildAddsTheAssignedPeripheralsInDocumentOrder)
{
    RegwinRig rig;
    rig.config.WriteInt("VX21A", "GPIO", 0b0101);
    rig.config.WriteInt("VX21A", "TIMER", 0b0100);
    rig.config.WriteInt("VX21A", "MISSING", 0b0100);
    RegisterWindow &empty = rig.Window(1);
    empty.Open();
    EXPECT_EQ(empty.Tree().TopRowCount(), 0u);
    EXPECT_EQ(empty.Tree().LeftTitle(), "");
    EXPECT_EQ(empty.Tree().RightTitle(), "Value");

    RegisterWindow &window = rig.Window(2);
    window.Open();
    ASSERT_EQ(window.Tree().TopRowCount(), 2u);
    EXPECT_EQ(window.Tree().TopRow(0)->Name(), "TIMER");
    EXPECT_EQ(window.Tree().TopRow(1)->Name(), "GPIO");
    EXPECT_EQ(window.Tree().LeftTitle(), "GPIO");
    EXPECT_TRUE(rig.user.messages.isEmpty());
}

TEST(RegisterRows, SvdFailureAddsNothingAndKeepsTheTitles)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"GPIO", "BROKEN"});
    EXPECT_EQ(rig.user.messages,
              QStringList{"[svd] peripherals->peripheral->registers->register->addressOffset  not find!\n"});
    EXPECT_EQ(window.Tree().TopRowCount(), 1u);
    EXPECT_EQ(window.Tree().LeftTitle(), "GPIO");
    window.AddPeripheralRows("NOPE");
    EXPECT_EQ(window.Tree().TopRowCount(), 1u);
    EXPECT_EQ(window.Tree().LeftTitle(), "NOPE");
}

TEST(RegisterRows, RemoveAndFind)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER", "GPIO"});
    const PeripheralSpan timer = window.FindPeripheralSpan("TIMER");
    EXPECT_TRUE(timer.found);
    EXPECT_EQ(timer.base, 0x20001000u);
    EXPECT_EQ(timer.span, 0x100u);
    EXPECT_FALSE(window.FindPeripheralSpan("timer").found);

    window.Tree().Select(Register(window, "TIMER", "CR"));
    window.TrackSelection();
    window.RemovePeripheralRows("TIMER");
    EXPECT_EQ(window.SelectedRow(), nullptr) << "no reference to a deleted row";
    EXPECT_EQ(window.Tree().Selected(), Peripheral(window, "GPIO"));
    EXPECT_EQ(window.Tree().LeftTitle(), "GPIO");
    EXPECT_FALSE(window.FindPeripheralSpan("TIMER").found);

    window.RemovePeripheralRows("GPIO");
    EXPECT_EQ(window.Tree().TopRowCount(), 0u);
    EXPECT_EQ(window.Tree().LeftTitle(), "GPIO");
}

TEST(RegisterWindowTable, SlotsAndTheActiveWindow)
{
    RegwinRig rig;
    {
        RegisterWindow &window = rig.Window(3);
        EXPECT_EQ(window.Slot(), 3);
        EXPECT_EQ(window.Title(), "window_3");
        EXPECT_EQ(rig.table.At(3), &window);
        rig.table.SetNextWindowSlot(0);
        rig.windows.clear();
    }
    EXPECT_EQ(rig.table.At(3), nullptr);
    EXPECT_EQ(rig.table.NextWindowSlot(), 3);
    EXPECT_EQ(RegisterWindowTable::ActiveWindowSlot("Corvane - window_2"), 2);
    EXPECT_EQ(RegisterWindowTable::ActiveWindowSlot("window_"), 0);
    EXPECT_EQ(RegisterWindowTable::ActiveWindowSlot("Corvane"), -1);
    EXPECT_EQ(RegisterWindowTable::ActiveWindowSlot(QString(100, u'x') + "window_1"), -1);
}

} // namespace

namespace {

// What a view would follow: rows appended and removed, texts changed.
struct RecordingView : RowTreeListener
{
    void RowsCleared() override { events << "cleared"; }
    void TopRowAppended(const RegisterRow &row) override { events << "appended " + row.Name(); }
    void TopRowRemoving(const RegisterRow &row) override { events << "removing " + row.Name(); }
    void RowChanged(const RegisterRow &row) override { changed << row.Id(); }
    void HeaderTitlesChanged() override { ++headers; }
    QStringList events;
    QList<uint64_t> changed;
    int headers = 0;
};

TEST(RegisterRows, ViewsAreToldOfEveryChange)
{
    RegwinRig rig;
    RegisterWindow &window = rig.Window();
    RecordingView view;
    window.Tree().SetListener(&view);
    window.AddPeripheralRows("GPIO");
    window.AddPeripheralRows("TIMER");
    RegisterRow *out = Register(window, "GPIO", "OUT");
    const uint64_t outId = out->Id();
    rig.PutFile(rig.DataPath("GPIO"), Words({7}));
    window.LoadSnapshot("GPIO", rig.DataPath("GPIO"));
    EXPECT_TRUE(view.changed.contains(outId));
    EXPECT_TRUE(view.changed.contains(out->Child(1)->Id()));
    EXPECT_EQ(window.Tree().FindById(outId), out);
    window.RemovePeripheralRows("GPIO");
    window.RebuildGrid();
    EXPECT_EQ(view.events, QStringList({"appended GPIO", "appended TIMER", "removing GPIO", "cleared"}));
    EXPECT_GE(view.headers, 3);
    EXPECT_EQ(window.Tree().FindById(outId), nullptr);
    window.Tree().SetListener(nullptr);
}

} // namespace

namespace {

// Told of a reset and of single rows; a reset's rows are read from the tree.
struct ResetCounter : RowTreeListener
{
    void RowsClearing() override { ++resets; }
    void TopRowAppended(const RegisterRow &row) override { appended << row.Name(); }
    void RowChanged(const RegisterRow &) override { ++changed; }
    int resets = 0;
    QStringList appended;
    int changed = 0;
};

// A peripheral is walked once per version of the SVD file, however often it
// is added, removed or rebuilt; a rebuild, a new base or expand level reaches
// the view as one reset, with the same rows a peripheral-by-peripheral build
// gives; a changed file is read again.
TEST(RegisterRows, SvdWalkedOncePerFileVersionAndRebuildsResetOnce)
{
    RegwinRig rig;
    rig.config.WriteInt("VX21A", "TIMER", 1);
    rig.config.WriteInt("VX21A", "GPIO", 1);
    RegisterWindow &window = rig.Window();
    ResetCounter view;
    window.Tree().SetListener(&view);
    window.RebuildGrid();
    EXPECT_EQ(view.resets, 1);
    EXPECT_TRUE(view.appended.isEmpty());
    const QList<RowLine> rebuilt = Lines(window);
    const SvdDocumentCache &svd = window.SvdFileRead();
    EXPECT_EQ(svd.Walks(), 2);

    RegisterWindow &oneByOne = rig.WindowWith({"TIMER", "GPIO"}, 1);
    const QList<RowLine> added = Lines(oneByOne);
    ASSERT_EQ(rebuilt.size(), added.size());
    for (qsizetype i = 0; i < rebuilt.size(); ++i) {
        EXPECT_EQ(rebuilt[i].name, added[i].name) << i;
        EXPECT_EQ(rebuilt[i].value, added[i].value) << i;
    }

    const uint64_t oldOut = Register(window, "GPIO", "OUT")->Id();
    window.RemovePeripheralRows("GPIO");
    window.AddPeripheralRows("GPIO");
    EXPECT_EQ(view.appended, QStringList({"GPIO"}));
    // Every row is found by its id, a removed one no more.
    EXPECT_EQ(window.Tree().FindById(oldOut), nullptr);
    std::function<void(const RegisterRow &)> findAll = [&](const RegisterRow &row) {
        EXPECT_EQ(window.Tree().FindById(row.Id()), &row) << qPrintable(row.Name());
        for (const auto &child : row.Children())
            findAll(*child);
    };
    for (const auto &top : window.Tree().TopRows())
        findAll(*top);
    window.RebuildGrid();
    window.RebuildGrid();
    EXPECT_EQ(view.resets, 3);
    EXPECT_TRUE(window.Tree().LastResetReshaped());
    rig.config.WriteInt("COMMON", "HEX_DEC", 1);
    view.changed = 0;
    window.ApplyNumberBase();
    window.ApplyExpandLevel(2);
    EXPECT_EQ(view.resets, 5);
    EXPECT_EQ(view.changed, 0);
    EXPECT_FALSE(window.Tree().LastResetReshaped()); // the same rows: a running watch goes on
    EXPECT_EQ(Child(window, "TIMER", "CR", "MODE")->Value(), "0x0");
    EXPECT_TRUE(Register(window, "GPIO", "OUT")->IsExpanded());
    EXPECT_EQ(svd.Parses(), 1);
    EXPECT_EQ(svd.Walks(), 2);

    // Another version of the file: a description changed.
    QByteArray text(kFixtureSvd);
    text.replace("<description>Output</description>", "<description>Changed output</description>");
    rig.PutSvd("VX21A", text);
    window.RebuildGrid();
    EXPECT_EQ(svd.Parses(), 2);
    EXPECT_EQ(svd.Walks(), 4);
    EXPECT_EQ(window.Tree().TopRowCount(), 2u);
    EXPECT_EQ(Register(window, "GPIO", "OUT")->SvdDescription(), "Changed output");
    window.Tree().SetListener(nullptr);
}

} // namespace
