// Memory transfers against hostile inputs and outputs: a full output, a
// FIFO or device as the input file, a file too large for its address.

#include "ops/MemoryOps.h"
#include "support/FileSizeLimit.h"
#include "support/TargetRig.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct RecordingDump : DumpView
{
    void SetDumpText(const QString &) override {}
};

struct InputsRig : TargetRig
{
    explicit InputsRig(Over over)
    {
        Use(over);
        chip.ClearRecord();
        probe.ClearCallLog();
    }
    // Nothing reached the target: no probe call, no frame on the line.
    bool LinkUntouched() { return over == Over::Probe ? probe.CallLog().isEmpty() : chip.ReceivedFrames().isEmpty(); }

    OperationEnv env{config, links, context, {}};
    RecordingDump dump;
};

TEST(ReadToFileOutput, SmallReadIntoAFullOutputFails)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        for (const char *output : {"/dev/full", "full disk"}) {
            SCOPED_TRACE(std::string(Name(over)) + " " + output);
            InputsRig rig(over);
            const bool device = QString(output).startsWith('/');
            rig.user.chosenFile = device ? QString(output) : rig.FilePath("out.bin");
            {
                const FileSizeLimit full(device ? RLIM_INFINITY : 8);
                MemoryOps::ReadToFile(rig.env, 0x20000000, 0x10, rig.dump);
            }
            EXPECT_EQ(rig.user.messages, QStringList{"output file write fail !\n"});
        }
    }
}

// A FIFO without a reader would take 64 KiB and then hold the read for
// ever; a folder or a socket takes no image either. They are refused with
// the other inputs, before the link is touched; a character device named on
// purpose is taken.
TEST(ReadToFileOutput, OnlyARegularFileOrACharacterDeviceIsTaken)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        InputsRig rig(over);
        const QString fifo = rig.FilePath("out.fifo");
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        ASSERT_TRUE(QDir(rig.home.path()).mkdir("folder"));
        for (const QString &output : {fifo, rig.FilePath("folder")}) {
            SCOPED_TRACE(output.toStdString());
            rig.user.messages.clear();
            rig.user.reasons.clear();
            rig.user.chosenFile = output;
            MemoryOps::ReadToFile(rig.env, 0x20000000, 0x20000, rig.dump);
            EXPECT_EQ(rig.user.messages, QStringList{"output file create fail !\n"});
            EXPECT_EQ(rig.user.reasons, QStringList{output + ": not a regular file or a character device"});
            EXPECT_TRUE(rig.LinkUntouched());
        }
        rig.user.messages.clear();
        rig.user.chosenFile = "/dev/null";
        MemoryOps::ReadToFile(rig.env, 0x20000000, 0x2000, rig.dump);
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    }
}

// A terminal nobody reads takes a few KiB and then nothing: the read ends by
// the output's deadline with its message, and the chip leaves debug mode.
TEST(ReadToFileOutput, ADeviceThatStopsTakingBytesFailsByItsDeadline)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        InputsRig rig(over);
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        const QString terminal = QString::fromLocal8Bit(::ptsname(master));
        rig.user.chosenFile = terminal;
        MemoryOps::ReadToFile(rig.env, 0x20000000, 0x100000, rig.dump);
        ::close(master);
        EXPECT_EQ(rig.user.messages, QStringList{"output file write fail !\n"});
        EXPECT_EQ(rig.user.reasons, QStringList{terminal + ": took no bytes for 3000 ms"});
        if (over == Over::Uart) {
            for (int i = 0; i < 400 && rig.chip.LeaveCount() < rig.chip.EnterCount(); ++i)
                QThread::msleep(5);
            EXPECT_EQ(rig.chip.LeaveCount(), rig.chip.EnterCount());
        }
    }
}

TEST(WriteFromFileInput, SpecialFileIsRefusedWithoutBlocking)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        InputsRig rig(over);
        const QString fifo = rig.FilePath("in.fifo");
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &input : {fifo, QString("/dev/zero")}) {
            SCOPED_TRACE(input.toStdString());
            rig.user.messages.clear();
            rig.user.chosenFile = input;
            MemoryOps::WriteFromFile(rig.env, 0x20000000);
            EXPECT_EQ(rig.user.messages, QStringList{"input file open fail !\n"});
        }
    }
}

TEST(WriteFromFileInput, FileTooLargeForItsAddressTouchesNoLink)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        InputsRig rig(over);
        rig.PutFile("in.bin", QByteArray(8, 'x'));
        rig.user.chosenFile = rig.FilePath("in.bin");
        MemoryOps::WriteFromFile(rig.env, 0xFFFFFFFC);
        EXPECT_EQ(rig.user.messages, QStringList{"input file too large for ADDR, please check!"});
        EXPECT_TRUE(rig.LinkUntouched());
    }
}

} // namespace
