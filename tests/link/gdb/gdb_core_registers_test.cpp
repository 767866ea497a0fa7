// Core registers over a GDB server: the target description's numbering, a
// server with nothing but "g", a running target refused.

#include "GdbRig.h"
#include "link/GdbCoreRegisters.h"
#include "ops/CoreOps.h"
#include "ops/FaultReport.h"
#include "ops/OpsMessages.h"
#include "support/FakeGdbServer.h"

#include <gtest/gtest.h>

namespace {

// GDB numbers registers in order through the included files, from a regnum on.
TEST(GdbTargetDescription, NumbersRegistersThroughIncludesAndRegnum)
{
    const QByteArray target = R"(<?xml version="1.0"?><!DOCTYPE target SYSTEM "gdb-target.dtd">
<target><architecture>arm</architecture><xi:include href="core.xml"/><xi:include href="system.xml"/></target>)";
    const QByteArray core = R"(<feature name="org.gnu.gdb.arm.m-profile">
<reg name="r0" bitsize="32"/><reg name="r1" bitsize="32"/><reg name="pc" bitsize="32" type="code_ptr"/>
<reg name="xpsr" bitsize="32" regnum="25"/></feature>)";
    const QByteArray system = R"(<feature name="org.gnu.gdb.arm.m-system">
<reg name="d0" bitsize="64"/><reg name="MSP" bitsize="32"/></feature>)";
    QStringList fetched;
    const auto registers = GdbCoreRegisters::Parse(target, [&](const QByteArray &href) {
        fetched << QString::fromLatin1(href);
        return href == "core.xml" ? core : href == "system.xml" ? system : QByteArray();
    });
    EXPECT_EQ(fetched, QStringList({"core.xml", "system.xml"}));
    ASSERT_EQ(registers.size(), 6);
    EXPECT_EQ(registers["r0"].number, 0);
    EXPECT_EQ(registers["pc"].number, 2);
    EXPECT_EQ(registers["xpsr"].number, 25);
    EXPECT_EQ(registers["d0"].number, 26);
    EXPECT_EQ(registers["d0"].bits, 64);
    EXPECT_EQ(registers["msp"].number, 27);
}

// A server with "g" only: R0 to PC from the block, the rest not given, and
// the report says so instead of inventing values.
TEST(GdbCoreRegisterPackets, ServerWithBlockOnly)
{
    FakeGdbScript script;
    for (uint32_t r = 0; r < 16; ++r) {
        char word[9];
        std::snprintf(word, sizeof word, "%02x%02x%02x%02x", r, 0, 0, 0x10 + r);
        script.registerBlock += word;
    }
    FakeGdbServer server(script);
    GdbRig rig(QString::fromStdString(server.Address()));
    const auto values = CoreOps::Read(rig.env, CoreOps::ShownRegisters());
    ASSERT_TRUE(values) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(values->size(), 16u);
    EXPECT_EQ(values->at(CoreRegister::R3), 0x13000003u);
    EXPECT_EQ(values->at(CoreRegister::PC), 0x1F00000Fu);
    EXPECT_FALSE(values->count(CoreRegister::XPSR));

    const auto reading = CoreOps::ReadFault(rig.env);
    ASSERT_TRUE(reading) << rig.user.messages.join('|').toStdString();
    const QString text = FaultReport::Text(FaultReport::Decode(*reading));
    EXPECT_TRUE(text.startsWith("Exception: not given by the server\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Stacked frame: not read: xPSR not given by the server\n")) << text.toStdString();
    EXPECT_TRUE(rig.user.messages.isEmpty());
}

// Without "p" the block is read by the description's numbers: xPSR at
// regnum 25 follows PC directly, the numbers between take no room.
TEST(GdbCoreRegisterPackets, BlockReadByTheDescriptionsNumbers)
{
    FakeGdbScript script;
    script.targetXml = R"(<target><feature name="org.gnu.gdb.arm.m-profile">)"
                       R"(<reg name="r0" bitsize="32"/><reg name="r1" bitsize="32"/><reg name="r2" bitsize="32"/>)"
                       R"(<reg name="r3" bitsize="32"/><reg name="r4" bitsize="32"/><reg name="r5" bitsize="32"/>)"
                       R"(<reg name="r6" bitsize="32"/><reg name="r7" bitsize="32"/><reg name="r8" bitsize="32"/>)"
                       R"(<reg name="r9" bitsize="32"/><reg name="r10" bitsize="32"/><reg name="r11" bitsize="32"/>)"
                       R"(<reg name="r12" bitsize="32"/><reg name="sp" bitsize="32"/><reg name="lr" bitsize="32"/>)"
                       R"(<reg name="pc" bitsize="32"/><reg name="xpsr" bitsize="32" regnum="25"/></feature></target>)";
    for (uint32_t r = 0; r < 17; ++r) {
        char word[9];
        std::snprintf(word, sizeof word, "%02x000000", r == 16 ? 0x03 : r);
        script.registerBlock += word;
    }
    FakeGdbServer server(script);
    GdbRig rig(QString::fromStdString(server.Address()));
    const auto values = CoreOps::Read(rig.env, {CoreRegister::PC, CoreRegister::XPSR, CoreRegister::MSP});
    ASSERT_TRUE(values) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(*values, (CoreRegisterValues{{CoreRegister::PC, 15}, {CoreRegister::XPSR, 3}}));
}

// A target the opening had to interrupt was running: refused, and the
// detach lets it run on.
TEST(GdbCoreRegisterPackets, RunningTargetIsRefused)
{
    FakeGdbScript script;
    script.startsRunning = true;
    FakeGdbServer server(script);
    GdbRig rig(QString::fromStdString(server.Address()));
    EXPECT_FALSE(CoreOps::Read(rig.env, {CoreRegister::PC}));
    EXPECT_EQ(rig.user.messages, QStringList{OpsMessages::kCoreRunning});
    const std::vector<std::string> commands = server.Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), "D"), commands.end());
}

// The server gone in the middle of a read: one message with its reason, no values.
TEST(GdbCoreRegisterPackets, ServerClosingMidReadGivesOneMessage)
{
    FakeGdbScript script;
    script.faultPrefix = "g";
    script.fault = FakeGdbScript::Fault::Close;
    FakeGdbServer server(script);
    GdbRig rig(QString::fromStdString(server.Address()));
    EXPECT_FALSE(CoreOps::Read(rig.env, CoreOps::ShownRegisters()));
    EXPECT_EQ(rig.user.messages, QStringList{"gdb read of core register R0 error !\n"});
    EXPECT_EQ(rig.user.reasons, QStringList{"closed by the server"});
}

} // namespace
