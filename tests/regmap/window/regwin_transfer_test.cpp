#include "support/RegwinRig.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct TransferRig : RegwinRig
{
    explicit TransferRig(Over over, const QString &model = "VX21A")
        : RegwinRig(model)
    {
        Use(over);
    }

    void FailNextTransfer(bool write)
    {
        if (over == Over::Probe) {
            probe.SetFault(write ? "short-write" : "short-read");
            return;
        }
        // The enter reply goes out untouched; the transfer's reply carries the fault.
        chip.DeferFaults(1);
        chip.InjectWrongStatus(0x15, 1);
    }
};

TEST(RegisterRead, PeripheralFillsTheFileAndTheRows)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        TransferRig rig(over);
        for (uint32_t i = 0; i < 0x100; i += 4)
            rig.Poke(0x20001000 + i, 0xA0000000 + i);
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        window.SetSelection(Peripheral(window, "TIMER"), false);
        window.ReadSelection();
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();
        const QByteArray file = rig.ReadFile(rig.DataPath("TIMER"));
        ASSERT_EQ(file.size(), 0x100);
        EXPECT_EQ(file.mid(0x24, 4), Words({0xA0000024}));
        EXPECT_EQ(file.mid(0xFC, 4), Words({0xA00000FC}));
        EXPECT_EQ(Register(window, "TIMER", "DATA")->Name(), "DATA              0xA0000024");
        EXPECT_EQ(Child(window, "TIMER", "DATA", "LO")->Value(), "36");
        EXPECT_EQ(rig.user.busyDepth, 0);
    }
}

TEST(RegisterRead, RegisterUpdatesFourBytesOfTheFile)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        TransferRig rig(over);
        rig.Poke(0x20001024, 0x89ABCDEF);
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        window.SetSelection(Register(window, "TIMER", "DATA"), true);

        // No file yet: created 40 bytes long, zero but for the register.
        window.ReadSelection();
        EXPECT_TRUE(rig.user.messages.isEmpty());
        EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")), QByteArray(36, '\0') + Words({0x89ABCDEF}));
        EXPECT_EQ(Register(window, "TIMER", "DATA")->Name(), "DATA              0x89ABCDEF");
        EXPECT_EQ(Child(window, "TIMER", "DATA", "VALUE~")->Value(), "0x89ABCDEF");
        EXPECT_EQ(Child(window, "TIMER", "DATA", "LO")->Value(), "52719");

        // A whole file: bytes 36 to 39 change, nothing else.
        QByteArray image(0x100, char(0x77));
        rig.PutFile(rig.DataPath("TIMER"), image);
        window.ReadSelection();
        image.replace(36, 4, Words({0x89ABCDEF}));
        EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")), image);
    }
}

TEST(RegisterWrite, RegisterSendsItsCaptionOnly)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        TransferRig rig(over);
        rig.Poke(0x20001020, 0xEEEEEEEE);
        rig.Poke(0x20001024, 0xEEEEEEEE);
        rig.Poke(0x20001028, 0xEEEEEEEE);
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        RegisterRow *data = Register(window, "TIMER", "DATA");
        SetRegisterValue(window, data, 0x12345678);
        window.SetSelection(data, true);
        window.WriteSelection();
        EXPECT_TRUE(rig.user.messages.isEmpty());
        EXPECT_EQ(rig.Peek(0x20001024), 0x12345678u);
        EXPECT_EQ(rig.Peek(0x20001020), 0xEEEEEEEEu);
        EXPECT_EQ(rig.Peek(0x20001028), 0xEEEEEEEEu);
        const QByteArray temp = rig.ReadFile(rig.TempPath("TIMER"));
        ASSERT_EQ(temp.size(), 0x100);
        EXPECT_EQ(temp.mid(0x24, 4), Words({0x12345678}));
        EXPECT_EQ(data->Name(), "DATA              0x12345678") << "a write changes nothing in the window";
    }
}

TEST(RegisterWrite, PeripheralSendsTheWholeImageWithReservedBytes)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        TransferRig rig(over);
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        QByteArray image(0x100, '\0');
        for (int i = 0; i < 0x100; ++i)
            image[i] = char(i);
        rig.PutFile(rig.DataPath("TIMER"), image);
        ASSERT_TRUE(window.LoadSnapshot("TIMER", rig.DataPath("TIMER")));
        RegisterRow *cr = Register(window, "TIMER", "CR");
        SetRegisterValue(window, cr, 0x00C0FFEE);
        window.SetSelection(Peripheral(window, "TIMER"), false);
        window.WriteSelection();
        EXPECT_TRUE(rig.user.messages.isEmpty());
        image.replace(0, 4, Words({0x00C0FFEE}));
        EXPECT_EQ(rig.ReadFile(rig.TempPath("TIMER")), image);
        EXPECT_EQ(rig.Peek(0x20001000), 0x00C0FFEEu);
        EXPECT_EQ(rig.Peek(0x20001010), 0x13121110u) << "reserved bytes go out as loaded";
        EXPECT_EQ(rig.Peek(0x200010FC), 0xFFFEFDFCu);
    }
}

// Every message of both commands, one row per failure.
TEST(RegisterTransfer, Messages)
{
    enum class Cmd { Read, Write };
    struct Case
    {
        const char *what;
        Over over;
        Cmd command;
        const char *row; // peripheral name, or "TIMER:DATA" for a register
        std::function<void(TransferRig &)> setUp;
        QString message;
        QString model = "VX21A";
    };
    const QString home = "<home>";
    const Case cases[] = {
        {"offline read", Over::Probe, Cmd::Read, "TIMER", [](TransferRig &r) { r.UseOffline(); },
         "Please select online data type !\n"},
        {"offline write", Over::Uart, Cmd::Write, "TIMER:DATA", [](TransferRig &r) { r.UseOffline(); },
         "Please select online data type !\n"},
        {"connect read", Over::Probe, Cmd::Read, "TIMER", [](TransferRig &r) { r.probe.SetFault("connect"); },
         "link_Connect error\n"},
        {"connect write", Over::Probe, Cmd::Write, "TIMER", [](TransferRig &r) { r.probe.SetFault("connect"); },
         "jlink_Connect error\n"},
        {"no uart read", Over::Uart, Cmd::Read, "TIMER", {}, "VX21B not support uart debug !\n", "VX21B"},
        {"no uart write", Over::Uart, Cmd::Write, "TIMER:DATA", {}, "VX21B not support uart debug !", "VX21B"},
        {"probe read", Over::Probe, Cmd::Read, "TIMER", [](TransferRig &r) { r.FailNextTransfer(false); },
         "jlink_ReadMemEx 0x20001000 0x100 error !\n"},
        {"uart read", Over::Uart, Cmd::Read, "TIMER", [](TransferRig &r) { r.FailNextTransfer(false); },
         "ReadMem 0x20001000 0x100 error !\n"},
        {"probe write", Over::Probe, Cmd::Write, "TIMER", [](TransferRig &r) { r.FailNextTransfer(true); },
         "jlink_WriteMemEx 0x20001000 0x100 error !\n"},
        {"uart write", Over::Uart, Cmd::Write, "TIMER", [](TransferRig &r) { r.FailNextTransfer(true); },
         "WriteMem 0x20001000 0x100 error !\n"},
        {"probe reg read", Over::Probe, Cmd::Read, "TIMER:DATA", [](TransferRig &r) { r.FailNextTransfer(false); },
         "jlink_ReadMemEx 0x20001024 4 error !\n"},
        {"uart reg read", Over::Uart, Cmd::Read, "TIMER:DATA", [](TransferRig &r) { r.FailNextTransfer(false); },
         "ReadMem 0x20001024 4 error !"},
        {"probe reg write", Over::Probe, Cmd::Write, "TIMER:DATA", [](TransferRig &r) { r.FailNextTransfer(true); },
         "jlink_WriteMemEx 0x20001024 4 error !\n"},
        {"uart reg write", Over::Uart, Cmd::Write, "TIMER:DATA", [](TransferRig &r) { r.FailNextTransfer(true); },
         "WriteMem 0x20001024 4 error !\n"},
        {"read file", Over::Probe, Cmd::Read, "TIMER", [](TransferRig &r) { QDir().mkpath(r.DataPath("TIMER")); },
         "<home>/data/VX21A/TIMER.bin create error !\n"},
        {"reg read file", Over::Uart, Cmd::Read, "TIMER:DATA",
         [](TransferRig &r) { QDir().mkpath(r.DataPath("TIMER")); }, "<home>/data/VX21A/TIMER.bin open error !\n"},
        {"write temp", Over::Probe, Cmd::Write, "TIMER:DATA",
         [](TransferRig &r) { QDir().mkpath(r.TempPath("TIMER")); },
         "<home>/data/temp/TIMER_temp.bin create error !\n"},
        {"read escape", Over::Probe, Cmd::Read, "../ESC", {}, "<home>/data/VX21A/../ESC.bin create error !\n"},
        {"reg read escape", Over::Probe, Cmd::Read, "../ESC:R", {}, "<home>/data/VX21A/../ESC.bin open error !\n"},
        {"write escape", Over::Uart, Cmd::Write, "../ESC", {}, "<home>/data/temp/../ESC_temp.bin open error !"},
        {"reg write escape", Over::Uart, Cmd::Write, "../ESC:R", {}, "<home>/data/temp/../ESC_temp.bin open error !\n"},
        {"read big",
         Over::Probe,
         Cmd::Read,
         "BIG",
         {},
         "BIG span 0x4004 does not fit the 0x4000-byte transfer buffer, refused !\n"},
        {"write far",
         Over::Uart,
         Cmd::Write,
         "FAR",
         {},
         "FAR span 0x4004 does not fit the 0x4000-byte transfer buffer, refused !\n"},
        {"reg read far",
         Over::Uart,
         Cmd::Read,
         "FAR:HIGH",
         {},
         "FAR span 0x4004 does not fit the 0x4000-byte transfer buffer, refused !\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TransferRig rig(c.over, c.model);
        const QString row = c.row;
        const QString peripheral = row.section(':', 0, 0);
        RegisterWindow &window = rig.WindowWith({peripheral});
        if (row.contains(':'))
            window.SetSelection(Register(window, peripheral, row.section(':', 1)), true);
        else
            window.SetSelection(Peripheral(window, peripheral), false);
        ASSERT_NE(window.SelectedRow(), nullptr);
        const QString captionsBefore = Peripheral(window, peripheral)->Child(0)->Name();
        if (c.setUp)
            c.setUp(rig);
        if (c.command == Cmd::Read)
            window.ReadSelection();
        else
            window.WriteSelection();
        QString expected = c.message;
        expected.replace("<home>", rig.home.path());
        EXPECT_EQ(rig.user.messages, QStringList{expected});
        EXPECT_EQ(Peripheral(window, peripheral)->Child(0)->Name(), captionsBefore);
        EXPECT_FALSE(QFile::exists(rig.home.filePath("data/ESC.bin")));
        EXPECT_FALSE(QFile::exists(rig.home.filePath("data/ESC_temp.bin")));
        EXPECT_FALSE(rig.PortHeld()) << "the link is closed after every failure";
        EXPECT_EQ(rig.user.busyDepth, 0);
    }
}

TEST(RegisterRead, FailedReadLeavesFileAndRows)
{
    TransferRig rig(Over::Probe);
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    rig.PutFile(rig.DataPath("TIMER"), QByteArray(0x100, '\x11'));
    ASSERT_TRUE(window.LoadSnapshot("TIMER", rig.DataPath("TIMER")));
    rig.probe.SetFault("short-read");
    for (bool isRegister : {false, true}) {
        window.SetSelection(isRegister ? Register(window, "TIMER", "CR") : Peripheral(window, "TIMER"), isRegister);
        window.ReadSelection();
    }
    EXPECT_EQ(rig.user.messages.size(), 2);
    EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")), QByteArray(0x100, '\x11'));
    EXPECT_EQ(Register(window, "TIMER", "CR")->Name(), "CR                0x11111111");
}

} // namespace
