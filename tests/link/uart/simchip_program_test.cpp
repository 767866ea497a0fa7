// The corvane-simchip program as the demo script runs it.

#include "link/TransferBuffer.h"
#include "link/UartLink.h"
#include "support/BuildPaths.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

TEST(SimChipProgram, DemoServesNonZeroMemoryUntilTerminated)
{
    QProcess program;
    program.start(SimChipProgramPath(), {"--model", "VX21A", "--demo"});
    ASSERT_TRUE(program.waitForStarted(10000));
    while (!program.canReadLine() && program.waitForReadyRead(10000)) {
    }
    const QString path = QString::fromLocal8Bit(program.readLine()).trimmed();
    ASSERT_TRUE(path.startsWith("/dev/")) << path.toStdString();

    TransferBuffer buffer;
    UartLink link(buffer, [] { return QString("VX21A"); });
    {
        SerialPort port = link.OpenPort(path, 0);
        ASSERT_TRUE(port.IsOpen());
        ASSERT_TRUE(link.EnterDebugMode(port));
        for (uint32_t address : {0x20000000u, 0x40000000u, 0x400FFFFCu, 0x50000000u, 0x500FFFFCu}) {
            ASSERT_TRUE(link.ReadMem(port, address, 4)) << std::hex << address;
            EXPECT_NE(buffer.Word(0), 0u) << std::hex << address;
        }
        EXPECT_TRUE(link.LeaveDebugMode(port));
    }

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

TEST(SimChipProgram, RefusesAModelWithoutUartDebug)
{
    QProcess program;
    program.start(SimChipProgramPath(), {"--model", "VX21B"});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_NE(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
}

} // namespace
