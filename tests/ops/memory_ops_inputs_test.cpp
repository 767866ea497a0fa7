// Memory transfers against hostile inputs and outputs: a full output, a
// FIFO or device as the input file, a file too large for its address.

#include "ops/MemoryOps.h"
#include "support/FileSizeLimit.h"
#include "support/TargetRig.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

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
                MemoryOps::ReadToFile(rig.env, "20000000", "10", rig.dump);
            }
            EXPECT_EQ(rig.user.messages, QStringList{"output file write fail !\n"});
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
            MemoryOps::WriteFromFile(rig.env, "20000000");
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
        MemoryOps::WriteFromFile(rig.env, "FFFFFFFC");
        EXPECT_EQ(rig.user.messages, QStringList{"input file too large for ADDR, please check!"});
        EXPECT_TRUE(rig.LinkUntouched());
    }
}

} // namespace
