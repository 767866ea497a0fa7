#include "link/LinkCycle.h"
#include "link/MessageText.h"
#include "support/TargetRig.h"

#include <gtest/gtest.h>

namespace {

// Runs one cycle that reads a word at 0x20000000, as the simplest operation.
bool ReadOneWord(TargetRig &rig)
{
    LinkCycle cycle(rig.config, rig.links, rig.context);
    if (!cycle.Preface() || !cycle.Open() || !cycle.Read(0x20000000, 4))
        return false;
    cycle.Close();
    return true;
}

TEST(LinkCycle, OfflineDataSourceEndsInThePreface)
{
    TargetRig rig;
    rig.UseOffline();
    EXPECT_FALSE(ReadOneWord(rig));
    EXPECT_EQ(rig.user.messages, QStringList{"Please select online data type !\n"});
    EXPECT_EQ(rig.chip.EnterCount(), 0);
    EXPECT_EQ(rig.user.busyPeriods, 1);
    EXPECT_EQ(rig.user.busyDepth, 0);
}

TEST(LinkCycle, ProbeOpeningSequenceAndItsFailures)
{
    struct Case
    {
        const char *fault;
        const char *message;
        QStringList logTail; // the last calls, the message shown before the last one
        bool closedAfterMessage;
    };
    const Case cases[] = {
        {"select", "jlink_EMU_SelectByUSBSN error\n", {"JLINK_EMU_SelectByUSBSN 123456"}, false},
        {"open", "jlink_IsOpen error\n", {"JLINK_Open", "JLINK_IsOpen"}, false},
        {"not-connected",
         "jlink_EMU_IsConnected error\n",
         {"JLINK_IsOpen", "JLINK_EMU_IsConnected", "JLINK_Close"},
         true},
        {"connect", "jlink_Connect error\n", {"JLINK_Connect", "JLINK_Close"}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fault);
        TargetRig rig;
        rig.UseProbe();
        ASSERT_TRUE(rig.probe.SetFault(c.fault));
        QStringList logAtMessage;
        rig.user.onMessage = [&](const QString &) { logAtMessage = rig.probe.CallLog(); };
        EXPECT_FALSE(ReadOneWord(rig));
        EXPECT_EQ(rig.user.messages, QStringList{c.message});
        const QStringList log = rig.probe.CallLog();
        EXPECT_EQ(log.mid(log.size() - c.logTail.size()), c.logTail);
        // The probe is closed after the message, never before it.
        EXPECT_EQ(logAtMessage.size(), log.size() - (c.closedAfterMessage ? 1 : 0));
        EXPECT_FALSE(log.filter("ReadMemEx").size());
    }
}

TEST(LinkCycle, ProbeSuccessPassesTheFixedSetUp)
{
    TargetRig rig;
    rig.UseProbe(654321);
    rig.probe.SetProbes({123456, 654321});
    rig.probe.PokeWord(0x20000000, 0xCAFEF00D);
    // The probe speed setting changes nothing on the link.
    rig.config.WriteInt("COMMON", "JLINK_BAUND", 9);
    ASSERT_TRUE(ReadOneWord(rig));
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_EQ(rig.links.buffer.Word(0), 0xCAFEF00Du);
    EXPECT_EQ(rig.probe.CallLog(),
              ProbeOpeningCalls(654321) + QStringList({"JLINK_ReadMemEx 0x20000000 0x4 4", "JLINK_Close"}));
}

TEST(LinkCycle, ProbeBodyFailureNamesTheCallAndCloses)
{
    TargetRig rig;
    rig.UseProbe();
    rig.probe.SetFault("short-read");
    EXPECT_FALSE(ReadOneWord(rig));
    EXPECT_EQ(rig.user.messages, QStringList{"jlink_ReadMemEx 0x20000000 0x4 error !\n"});
    EXPECT_EQ(rig.probe.CallLog().last(), "JLINK_Close");
    EXPECT_EQ(rig.probe.CallLog().filter("JLINK_Close").size(), 1);
}

TEST(LinkCycle, UnboundLibraryShowsTheCopyMessage)
{
    TargetRig rig;
    rig.UseProbe();
    JLinkLibrary unbound;
    TargetLinks links([&] { return rig.user.ChipModel(); });
    LinkCycle cycle(rig.config, links, rig.context);
    ASSERT_TRUE(cycle.Preface());
    EXPECT_FALSE(cycle.Open());
    EXPECT_EQ(
        rig.user.messages,
        QStringList{
            "Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!"});
}

TEST(LinkCycle, UartSuccessEntersAndLeavesOnce)
{
    TargetRig rig("VX21D");
    ASSERT_TRUE(rig.chipStarted);
    rig.chip.PokeWord(0x20000000, 0x11223344);
    rig.config.WriteInt("COMMON", "DATA_TYPE", 4); // anything but 0, 1 and 3 (GDB) is UART
    ASSERT_TRUE(ReadOneWord(rig));
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_EQ(rig.links.buffer.Word(0), 0x11223344u);
    EXPECT_EQ(rig.chip.EnterCount(), 1);
    ASSERT_TRUE(rig.chip.WaitForFrames(3, 2000));
    EXPECT_EQ(rig.chip.LeaveCount(), 1);
    EXPECT_FALSE(rig.PortHeld());
    EXPECT_EQ(rig.chip.LineBaud(), 1000000u);
}

TEST(LinkCycle, UartRefusedForModelsWithoutDebugMode)
{
    for (const char *model : {"VX21B", "VX21E", "vx21a", "Custom"}) {
        TargetRig rig(model);
        EXPECT_FALSE(ReadOneWord(rig));
        EXPECT_EQ(rig.user.messages, QStringList{QString(model) + " not support uart debug !"});
        EXPECT_EQ(rig.chip.ReceivedByteCount(), 0);
    }
    // The capture's variant ends with a line break.
    TargetRig rig("VX21B");
    LinkCycle cycle(rig.config, rig.links, rig.context);
    cycle.PrefaceWith(2);
    cycle.SetUartRefusalFormat("%s not support uart debug !\n");
    EXPECT_FALSE(cycle.Open());
    EXPECT_EQ(rig.user.messages, QStringList{"VX21B not support uart debug !\n"});
}

TEST(LinkCycle, UartOpeningFailures)
{
    {
        TargetRig rig;
        rig.config.WriteText("COMMON", "UART_PORT", "");
        EXPECT_FALSE(ReadOneWord(rig));
        EXPECT_EQ(rig.user.messages, QStringList{"uart open error !\n"});
        EXPECT_EQ(rig.user.reasons, QStringList{""});
    }
    {
        // The same message whatever the cause; the system's reason rides beside it.
        TargetRig rig;
        rig.config.WriteText("COMMON", "UART_PORT", rig.FilePath("Corvane.ini"));
        EXPECT_FALSE(ReadOneWord(rig));
        EXPECT_EQ(rig.user.messages, QStringList{"uart open error !\n"});
        EXPECT_EQ(rig.user.kinds, QList<MessageKind>{MessageKind::Failure});
        EXPECT_EQ(rig.user.reasons, QStringList{rig.FilePath("Corvane.ini") + ": not a terminal"});
    }
    {
        // A chip that does not answer the enter request: the port is closed
        // before the message is shown.
        TargetRig rig;
        rig.chip.InjectNoAnswer(1);
        bool heldAtMessage = true;
        rig.user.onMessage = [&](const QString &) { heldAtMessage = rig.PortHeld(); };
        EXPECT_FALSE(ReadOneWord(rig));
        EXPECT_EQ(rig.user.messages, QStringList{"EnterDebugMode error !\n"});
        EXPECT_FALSE(heldAtMessage);
        EXPECT_EQ(rig.chip.LeaveCount(), 0);
    }
}

TEST(LinkCycle, UartBodyFailureLeavesDebugModeAfterTheMessage)
{
    TargetRig rig("VX21C");
    bool heldAtMessage = false;
    rig.user.onMessage = [&](const QString &) { heldAtMessage = rig.PortHeld(); };
    LinkCycle cycle(rig.config, rig.links, rig.context);
    ASSERT_TRUE(cycle.Preface());
    ASSERT_TRUE(cycle.Open());
    rig.chip.InjectWrongStatus(0x15, 1);
    EXPECT_FALSE(cycle.Read(0x00001000, 8));
    // The address is the one the user gave, before the address map.
    EXPECT_EQ(rig.user.messages, QStringList{"ReadMem 0x00001000 0x8 error !\n"});
    EXPECT_TRUE(heldAtMessage);
    EXPECT_FALSE(rig.PortHeld());
    ASSERT_TRUE(rig.chip.WaitForFrames(3, 2000));
    EXPECT_EQ(rig.chip.LeaveCount(), 1);
}

TEST(LinkCycle, MessagesAreCutToTheBuffer)
{
    const QString model(400, 'M');
    const QString text = MessageText::Format("%s not support uart debug !", model.toUtf8().constData());
    EXPECT_EQ(text.size(), MessageText::kBufferSize - 1);
    EXPECT_TRUE(text.startsWith("MMMM"));
    TargetRig rig(model);
    EXPECT_FALSE(ReadOneWord(rig));
    ASSERT_EQ(rig.user.messages.size(), 1);
    EXPECT_EQ(rig.user.messages[0].size(), 299);
}

} // namespace
