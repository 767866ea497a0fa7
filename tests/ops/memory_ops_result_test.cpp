// The typed result of each memory operation over the simulated chip's
// pseudo-terminal: how it ended, the message and reason it showed, and the
// address it failed at.
#include "ops/MemoryOps.h"
#include "support/TargetRig.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using MemoryOps::Outcome;
using MemoryOps::Result;

struct NullDump : DumpView
{
    void SetDumpText(const QString &) override {}
};

struct ResultRig : TargetRig
{
    using TargetRig::TargetRig;
    OperationEnv env{config, links, context, {}};
    NullDump dump;
};

QByteArray Pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 5 + 3);
    return bytes;
}

const char *OutcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Done:
        return "done";
    case Outcome::Offline:
        return "offline";
    case Outcome::Refused:
        return "refused";
    case Outcome::LinkFailed:
        return "link failed";
    case Outcome::FileFailed:
        return "file failed";
    case Outcome::Stopped:
        return "stopped";
    }
    return "?";
}

TEST(MemoryOpsResult, EachOperationSaysHowItEndedAndWhere)
{
    struct Case
    {
        const char *name;
        std::function<Result(ResultRig &)> run;
        Outcome outcome;
        QString message;
        QString reason; // "%1" stands for the rig's installation folder
        std::optional<uint32_t> failingAddress;
    };
    const Case cases[] = {
        {"read", [](ResultRig &rig) { return MemoryOps::Read(rig.env, 0x20000000, 0x10, rig.dump); }, Outcome::Done, "",
         "", std::nullopt},
        {"word write", [](ResultRig &rig) { return MemoryOps::WriteWord(rig.env, 0x20000010, 0xCAFE); }, Outcome::Done,
         "", "", std::nullopt},
        {"unit write", [](ResultRig &rig) { return MemoryOps::WriteUnit(rig.env, 0x20000011, 1, 0x5A); }, Outcome::Done,
         "", "", std::nullopt},
        {"offline",
         [](ResultRig &rig) {
             rig.UseOffline();
             return MemoryOps::Read(rig.env, 0x20000000, 0x10, rig.dump);
         },
         Outcome::Offline, "Please select online data type !\n", "", std::nullopt},
        {"unaligned read", [](ResultRig &rig) { return MemoryOps::Read(rig.env, 0x20000002, 0x10, rig.dump); },
         Outcome::Refused, "ADDR shold 4 Bytes align, please check!", "", 0x20000002},
        {"zero length", [](ResultRig &rig) { return MemoryOps::Read(rig.env, 0x20000000, 0, rig.dump); },
         Outcome::Refused, "LENGTH == 0, please check!", "", std::nullopt},
        {"no data", [](ResultRig &rig) { return MemoryOps::WriteWord(rig.env, 0x20000010, std::nullopt); },
         Outcome::Refused, "no data to write, please check!", "", std::nullopt},
        {"address below RAM", [](ResultRig &rig) { return MemoryOps::WriteUnit(rig.env, 0x1FFFFFFE, 2, 1); },
         Outcome::Refused, "0x20000000 > ADDR, please check!", "", 0x1FFFFFFE},
        {"read reaching a refused window",
         [](ResultRig &rig) { return MemoryOps::Read(rig.env, 0x61FFFFF0, 0x20, rig.dump); }, Outcome::Refused,
         "transfer reaches 0x62000000: 0xE0000000 > ADDR >= 0x62000000, please check!", "", 0x62000000},
        {"no file chosen",
         [](ResultRig &rig) {
             rig.user.chosenFile.clear();
             return MemoryOps::WriteFromFile(rig.env, 0x20000000);
         },
         Outcome::Refused, "no file select, please check!", "", std::nullopt},
        {"port that is not there",
         [](ResultRig &rig) {
             rig.config.WriteText(ConfigKey::kCommon, ConfigKey::kUartPort, "/nonexistent/tty");
             return MemoryOps::Read(rig.env, 0x20000000, 0x10, rig.dump);
         },
         Outcome::LinkFailed, "uart open error !\n", "/nonexistent/tty: No such file or directory", std::nullopt},
        {"second chunk of a file write",
         [](ResultRig &rig) {
             rig.PutFile("in.bin", Pattern(5000));
             rig.user.chosenFile = rig.FilePath("in.bin");
             rig.chip.DeferFaults(2);
             rig.chip.InjectWrongStatus(0x15, 1);
             return MemoryOps::WriteFromFile(rig.env, 0x20000000);
         },
         Outcome::LinkFailed, "WriteMem 0x20001000 0x388 error !\n", "", 0x20001000},
        {"output into a folder",
         [](ResultRig &rig) {
             QDir(rig.home.path()).mkdir("folder");
             rig.user.chosenFile = rig.FilePath("folder");
             return MemoryOps::ReadToFile(rig.env, 0x20000000, 0x10, rig.dump);
         },
         Outcome::FileFailed, "output file create fail !\n", "%1/folder: not a regular file or a character device",
         std::nullopt},
        {"input from a folder",
         [](ResultRig &rig) {
             QDir(rig.home.path()).mkdir("folder");
             rig.user.chosenFile = rig.FilePath("folder");
             return MemoryOps::WriteFromFile(rig.env, 0x20000000);
         },
         Outcome::FileFailed, "input file open fail !\n", "%1/folder: not a regular file", std::nullopt},
        {"file read stopped before its first chunk",
         [](ResultRig &rig) {
             rig.user.chosenFile = rig.FilePath("out.bin");
             rig.env.stopRequested = [] { return true; };
             return MemoryOps::ReadToFile(rig.env, 0x20000000, 0x2000, rig.dump);
         },
         Outcome::Stopped, "transfer stopped after 0x0 of 0x2000 Bytes !\n", "", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ResultRig rig("VX21A");
        ASSERT_TRUE(rig.chipStarted);
        const Result result = c.run(rig);
        EXPECT_STREQ(OutcomeName(result.outcome), OutcomeName(c.outcome));
        EXPECT_EQ(result.Succeeded(), c.outcome == Outcome::Done);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(result.reason, c.reason.contains("%1") ? c.reason.arg(rig.home.path()) : c.reason);
        EXPECT_EQ(result.failingAddress, c.failingAddress);
        // The result is what the person was shown, never a text of its own.
        if (c.outcome == Outcome::Done) {
            EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        } else {
            ASSERT_EQ(rig.user.messages.size(), 1) << rig.user.messages.join('|').toStdString();
            EXPECT_EQ(rig.user.messages[0], result.message);
            EXPECT_EQ(rig.user.reasons[0], result.reason);
        }
    }
}

} // namespace
