// Registers of 8, 16, 32 and 64 bits, read, shown, edited and written whole
// over both links: a 64-bit register's upper word is its own, never the
// lower one again nor whatever the transfer buffer held; a value or field
// wider than its register is refused.
#include "support/RegwinRig.h"

#include <gtest/gtest.h>

namespace {

const char kSizesSvd[] = R"(<?xml version="1.0" encoding="utf-8"?>
<device><name>VX21A</name><peripherals>
  <peripheral><name>WIDE</name><baseAddress>0x20005000</baseAddress><registers>
    <register><name>R8</name><addressOffset>0x0</addressOffset><size>8</size>
      <fields><field><name>F</name><bitOffset>0</bitOffset><bitWidth>8</bitWidth></field></fields></register>
    <register><name>R16</name><addressOffset>0x2</addressOffset><size>16</size>
      <fields><field><name>SPILL</name><bitOffset>4</bitOffset><bitWidth>20</bitWidth></field></fields></register>
    <register><name>R32</name><addressOffset>0x4</addressOffset></register>
    <register><name>R64</name><addressOffset>0x8</addressOffset><size>64</size>
      <fields>
        <field><name>LOW</name><bitRange>[31:0]</bitRange></field>
        <field><name>HIGH</name><bitRange>[63:32]</bitRange></field>
        <field><name>TOP</name><bitRange>[63:60]</bitRange></field>
      </fields></register>
  </registers></peripheral>
  <peripheral><name>OTHER</name><baseAddress>0x20006000</baseAddress><registers>
    <register><name>A</name><addressOffset>0x0</addressOffset></register>
    <register><name>B</name><addressOffset>0xC</addressOffset></register>
  </registers></peripheral>
</peripherals></device>
)";

struct SizesRig : RegwinRig
{
    explicit SizesRig(Over over)
    {
        PutSvd("VX21A", kSizesSvd);
        Use(over);
    }

    void PokeWide(uint32_t r8r16, uint32_t r32, uint64_t r64)
    {
        Poke(0x20005000, r8r16);
        Poke(0x20005004, r32);
        Poke(0x20005008, uint32_t(r64));
        Poke(0x2000500C, uint32_t(r64 >> 32));
    }
    uint64_t PeekR64() { return uint64_t(Peek(0x2000500C)) << 32 | Peek(0x20005008); }
};

TEST(RegistersOfEverySize, AreReadShownAndWrittenWhole)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        SizesRig rig(over);
        rig.config.WriteInt("COMMON", "HEX_DEC", 1);
        rig.PokeWide(0xBEEF00A5, 0x89ABCDEF, 0x1122334455667788);
        RegisterWindow &window = rig.WindowWith({"WIDE"});
        window.SetSelection(Peripheral(window, "WIDE"), false);
        window.ReadSelection();
        ASSERT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();
        EXPECT_EQ(Child(window, "WIDE", "R8", "VALUE~")->Value(), "0xA5");
        EXPECT_EQ(Child(window, "WIDE", "R16", "VALUE~")->Value(), "0xBEEF");
        EXPECT_EQ(Child(window, "WIDE", "R32", "VALUE~")->Value(), "0x89ABCDEF");
        EXPECT_EQ(Child(window, "WIDE", "R64", "VALUE~")->Value(), "0x1122334455667788");
        EXPECT_TRUE(Register(window, "WIDE", "R64")->Name().endsWith(" 0x1122334455667788"));
        EXPECT_EQ(Child(window, "WIDE", "R64", "LOW")->Value(), "0x55667788");
        EXPECT_EQ(Child(window, "WIDE", "R64", "HIGH")->Value(), "0x11223344");
        EXPECT_EQ(Child(window, "WIDE", "R64", "TOP")->Value(), "0x1");

        // A register read takes both words of a 64-bit register.
        rig.PokeWide(0xBEEF00A5, 0x89ABCDEF, 0xA1B2C3D4E5F60718);
        window.SetSelection(Register(window, "WIDE", "R64"), true);
        window.ReadSelection();
        EXPECT_EQ(Register(window, "WIDE", "R64")->Number(), 0xA1B2C3D4E5F60718u);
        EXPECT_EQ(Child(window, "WIDE", "R64", "HIGH")->Number(), 0xA1B2C3D4u);
        EXPECT_EQ(rig.ReadFile(rig.DataPath("WIDE")).mid(8, 8), Words({0xE5F60718, 0xA1B2C3D4}));

        // Immediate writes: a field above bit 31 goes to the upper word, the
        // lower one stays; a typed 64-bit value goes out whole.
        window.ApplyEdit(Child(window, "WIDE", "R64", "HIGH"), "0xCAFEF00D");
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();
        EXPECT_EQ(rig.PeekR64(), 0xCAFEF00DE5F60718u);
        window.ApplyEdit(Child(window, "WIDE", "R64", "TOP"), "0x7");
        EXPECT_EQ(rig.PeekR64(), 0x7AFEF00DE5F60718u);
        window.ApplyEdit(Child(window, "WIDE", "R64", "VALUE~"), "0x0102030405060708");
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();
        EXPECT_EQ(rig.PeekR64(), 0x0102030405060708u);
        EXPECT_EQ(Child(window, "WIDE", "R64", "LOW")->Number(), 0x05060708u);
        EXPECT_EQ(rig.Peek(0x20005004), 0x89ABCDEFu) << "the register beside it stays";
    }
}

TEST(RegistersOfEverySize, AWholeWriteSendsEveryWordFromTheRows)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        SizesRig rig(over);
        rig.config.WriteInt("COMMON", "REG_WR", 1); // written from the row menu
        rig.PokeWide(0x000000A5, 0x00000011, 0x1122334455667788);
        for (uint32_t offset = 0; offset < 0x10; offset += 4)
            rig.Poke(0x20006000 + offset, 0xDEADBEEF);
        RegisterWindow &window = rig.WindowWith({"WIDE", "OTHER"});
        window.SetSelection(Peripheral(window, "WIDE"), false);
        window.ReadSelection();
        // Another peripheral's read leaves its bytes in the transfer buffer.
        window.SetSelection(Peripheral(window, "OTHER"), false);
        window.ReadSelection();
        ASSERT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();

        window.ApplyEdit(Child(window, "WIDE", "R32", "VALUE~"), "0x22");
        window.SetSelection(Peripheral(window, "WIDE"), false);
        window.WriteSelection();
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();
        EXPECT_EQ(rig.Peek(0x20005004), 0x22u);
        EXPECT_EQ(rig.PeekR64(), 0x1122334455667788u) << "both words of R64 from the rows";
        EXPECT_EQ(rig.Peek(0x20005000), 0x000000A5u);
    }
}

TEST(RegistersOfEverySize, ValuesWiderThanTheirRegisterAreRefused)
{
    struct Case
    {
        const char *reg;
        const char *row;
        const char *typed;
        int hexBase;
        const char *message; // empty: taken
    };
    const Case cases[] = {
        {"R8", "VALUE~", "0xFF", 1, ""},
        {"R8", "VALUE~", "0x100", 1, "out of range !\n0x100 does not fit R8 (8 bits)\n"},
        {"R16", "VALUE~", "65536", 0, "out of range !\n65536 does not fit R16 (16 bits)\n"},
        // Bits 4 to 23 of a 16-bit register: only bits 4 to 15 are there.
        {"R16", "SPILL", "0xFFF", 1, ""},
        {"R16", "SPILL", "0xFFFFF", 1, "out of range !\n0xFFFFF does not fit R16.SPILL (12 bits)\n"},
        {"R32", "VALUE~", "123456789", 1, "out of range !\n123456789 does not fit R32 (32 bits)\n"},
        {"R32", "VALUE~", "0x100000000", 0, "out of range !\n0x100000000 does not fit R32 (32 bits)\n"},
        {"R32", "VALUE~", "0x1G", 1, "not a number !\n0x1G is no hexadecimal value for R32\n"},
        {"R64", "VALUE~", "0xFFFFFFFFFFFFFFFF", 1, ""},
        {"R64", "VALUE~", "0x10000000000000000", 1, "out of range !\n0x10000000000000000 does not fit R64 (64 bits)\n"},
        {"R64", "HIGH", "0x100000000", 1, "out of range !\n0x100000000 does not fit R64.HIGH (32 bits)\n"},
        {"R64", "TOP", "0x10", 1, "out of range !\n0x10 does not fit R64.TOP (4 bits)\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.reg << "." << c.row << " " << c.typed);
        SizesRig rig(Over::Uart);
        rig.config.WriteInt("COMMON", "HEX_DEC", c.hexBase);
        rig.PokeWide(0, 0, 0);
        RegisterWindow &window = rig.WindowWith({"WIDE"});
        window.SetSelection(Peripheral(window, "WIDE"), false);
        window.ReadSelection();
        const QString before = Child(window, "WIDE", c.reg, c.row)->Value();
        window.ApplyEdit(Child(window, "WIDE", c.reg, c.row), c.typed);
        if (*c.message == '\0') {
            EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();
            continue;
        }
        EXPECT_EQ(rig.user.messages, QStringList{c.message});
        EXPECT_EQ(Child(window, "WIDE", c.reg, c.row)->Value(), before) << "the row shows what it showed";
        EXPECT_EQ(rig.Peek(0x20005000), 0u) << "nothing written";
        EXPECT_EQ(rig.PeekR64(), 0u);
    }
    // What the taken field edit of SPILL wrote: its bits within R16 only.
    SizesRig rig(Over::Uart);
    rig.PokeWide(0, 0, 0);
    RegisterWindow &window = rig.WindowWith({"WIDE"});
    window.SetSelection(Peripheral(window, "WIDE"), false);
    window.ReadSelection();
    window.ApplyEdit(Child(window, "WIDE", "R16", "SPILL"), "0xABC");
    EXPECT_EQ(rig.Peek(0x20005000), 0xABC00000u);
}

} // namespace
