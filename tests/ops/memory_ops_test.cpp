#include "ops/MemoryFields.h"
#include "ops/MemoryOps.h"
#include "support/TargetRig.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct RecordingDump : DumpView
{
    void SetDumpText(const QString &text) override { texts << text; }
    QString Current() const { return texts.isEmpty() ? QString("<untouched>") : texts.last(); }
    QStringList texts;
};

struct OpsRig : TargetRig
{
    using TargetRig::TargetRig;
    OperationEnv env{config, links, context, {}};
    RecordingDump dump;
};

const char kAlign[] = "ADDR shold 4 Bytes align, please check!";
const char kNoFile[] = "no file select, please check!";
const char kZero[] = "LENGTH == 0, please check!";
const char kWindow62[] = "0xE0000000 > ADDR >= 0x62000000, please check!";
const char kCommonRead[] = "0x10000000 > ADDR >= 0x100000, please check!";
const char kBelowRam[] = "0x20000000 > ADDR, please check!";

// Checks run in their order: each row breaks one rule and keeps the later
// ones broken too, so the message shows which check came first.
TEST(MemoryRead, ChecksInTheirOrder)
{
    struct Case
    {
        const char *address;
        const char *length;
        QStringList messages;
    };
    const Case cases[] = {
        {"100000", "0", {kCommonRead}}, {"62000001", "0", {kWindow62}}, {"20000001", "0", {kAlign}},
        {"20000000", "", {kZero}},      {"20000000", "0x0", {kZero}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.address);
        OpsRig rig("VX21A");
        rig.UseProbe();
        MemoryOps::Read(rig.env, MemoryFields::Number(c.address), MemoryFields::Number(c.length), rig.dump);
        EXPECT_EQ(rig.user.messages, c.messages);
        EXPECT_EQ(rig.dump.Current(), "");
        EXPECT_TRUE(rig.probe.CallLog().isEmpty()) << "no link is touched before the checks pass";
    }
}

TEST(MemoryRead, OfflineComesBeforeEveryCheck)
{
    OpsRig rig;
    rig.UseOffline();
    MemoryOps::Read(rig.env, 0x62000001, 0x0, rig.dump);
    MemoryOps::ReadToFile(rig.env, 0x62000001, 0x0, rig.dump);
    EXPECT_EQ(rig.user.messages,
              QStringList({"Please select online data type !\n", "Please select online data type !\n"}));
    EXPECT_TRUE(rig.user.fileRequests.isEmpty());
}

TEST(MemoryRead, UnboundLibraryComesAfterTheChecks)
{
    OpsRig rig;
    rig.UseProbe();
    JLinkLibrary &bound = rig.links.jlink;
    bound.Bind({"/nonexistent/libjlinkarm.so"});
    ASSERT_FALSE(bound.IsBound());
    MemoryOps::Read(rig.env, 0x20000002, 0x4, rig.dump);
    MemoryOps::Read(rig.env, 0x20000000, 0x4, rig.dump);
    EXPECT_EQ(rig.user.messages[0], kAlign);
    EXPECT_TRUE(rig.user.messages[1].startsWith("Please copy libjlinkarm.so file"));
}

TEST(MemoryRead, DumpOverBothLinks)
{
    for (bool probe : {true, false}) {
        SCOPED_TRACE(probe ? "probe" : "uart");
        OpsRig rig("VX21C");
        probe ? rig.UseProbe() : rig.UseUart();
        for (uint32_t i = 0; i < 8; ++i) {
            rig.probe.PokeWord(0x20000100 + 4 * i, 0x03020100 + i * 0x04040404);
            rig.chip.PokeWord(0x20000100 + 4 * i, 0x03020100 + i * 0x04040404);
        }
        // "0x" and a blank inside the digits read as if absent.
        MemoryOps::Read(rig.env, MemoryFields::Number("0x2000 0100"), 0x14, rig.dump);
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();
        EXPECT_EQ(rig.dump.texts.first(), "");
        EXPECT_EQ(rig.dump.Current(), "20000100: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n"
                                      "20000110: 10 11 12 13 ");
    }
}

TEST(MemoryRead, LengthAboveTheCapIsNotedAndCapped)
{
    for (const char *length : {"401", "FFFFFFFF", "FFFFFFFD"}) {
        OpsRig rig;
        rig.UseProbe();
        MemoryOps::Read(rig.env, 0x20000000, MemoryFields::Number(length), rig.dump);
        EXPECT_EQ(rig.user.messages, QStringList{"LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!"});
        EXPECT_EQ(rig.user.kinds, QList<MessageKind>{MessageKind::Note});
        EXPECT_EQ(rig.dump.Current().split("\r\n").size(), 64);
        EXPECT_TRUE(rig.probe.CallLog().contains("JLINK_ReadMemEx 0x20000000 0x400 4"));
    }
    OpsRig rig;
    rig.UseProbe();
    MemoryOps::Read(rig.env, 0x20000000, 0x3FD, rig.dump); // rounds to exactly 1024: no note
    EXPECT_TRUE(rig.user.messages.isEmpty());
}

TEST(MemoryReadToFile, CancelledDialogComesFirst)
{
    OpsRig rig;
    rig.UseProbe();
    MemoryOps::ReadToFile(rig.env, 0x62000001, 0x0, rig.dump);
    EXPECT_EQ(rig.user.messages, QStringList{kNoFile});
    ASSERT_EQ(rig.user.fileRequests.size(), 1);
    const FileRequest &request = rig.user.fileRequests[0];
    EXPECT_EQ(request.title, "选择/输入 保存的文件");
    // A save question for binary files, asking before it overwrites.
    EXPECT_EQ(request.kind, FileRequest::Kind::Save);
    EXPECT_TRUE(request.overwritePrompt);
    ASSERT_EQ(request.filters.size(), 2);
    EXPECT_EQ(request.filters[0].text, "Binary Files(*.bin)");
    EXPECT_EQ(request.filters[0].pattern, "*.bin");
    EXPECT_EQ(request.filters[1].pattern, "*");
    EXPECT_FALSE(request.mustExist);
}

TEST(MemoryReadToFile, TwoChunksAndThePreviewOverTheProbe)
{
    OpsRig rig;
    rig.UseProbe();
    for (uint32_t i = 0; i < 4100; i += 4)
        rig.probe.PokeWord(0x20000000 + i, 0xA0000000 + i / 4);
    rig.user.chosenFile = rig.FilePath("out.bin");
    QList<qint64> progress;
    rig.env.progress = [&](qint64 done, qint64 total) {
        EXPECT_EQ(total, 4100);
        progress << done;
    };
    MemoryOps::ReadToFile(rig.env, 0x20000000, 0x1004, rig.dump);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_EQ(rig.probe.CallLog().filter("ReadMemEx"),
              (QStringList{"JLINK_ReadMemEx 0x20000000 0x1000 4", "JLINK_ReadMemEx 0x20001000 0x4 4"}));
    const QByteArray bytes = rig.ReadFile("out.bin");
    ASSERT_EQ(bytes.size(), 4100);
    EXPECT_EQ(bytes.mid(4096), QByteArray("\x00\x04\x00\xA0", 4));
    EXPECT_EQ(rig.dump.Current().count("\r\n"), 4);
    EXPECT_TRUE(rig.dump.Current().startsWith("A0000000 A0000001 A0000002 A0000003 \r\nA0000004 "));
    EXPECT_EQ(progress, (QList<qint64>{4096, 4100}));
}

TEST(MemoryReadToFile, UartShowsNoPreview)
{
    OpsRig rig("VX21D");
    rig.chip.PokeWord(0x20000000, 0x44332211);
    rig.user.chosenFile = rig.FilePath("out.bin");
    MemoryOps::ReadToFile(rig.env, 0x20000000, 0x2000, rig.dump);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_EQ(rig.ReadFile("out.bin").size(), 0x2000);
    EXPECT_EQ(rig.dump.Current(), "");
    EXPECT_EQ(rig.ReadFile("out.bin").left(4), QByteArray("\x11\x22\x33\x44"));
}

TEST(MemoryReadToFile, ProbeFailureOnTheSecondChunkKeepsTheFirst)
{
    OpsRig rig;
    rig.UseProbe();
    rig.probe.PokeWord(0x20000000, 0x01020304);
    rig.probe.SetFault("short-read", 2);
    rig.user.chosenFile = rig.FilePath("out.bin");
    MemoryOps::ReadToFile(rig.env, 0x20000000, 0x2000, rig.dump);
    EXPECT_EQ(rig.user.messages, QStringList{"jlink_ReadMemEx 0x20001000 0x1000 error !\n"});
    EXPECT_EQ(rig.ReadFile("out.bin").size(), 4096);
    EXPECT_EQ(rig.probe.CallLog().last(), "JLINK_Close");
}

TEST(MemoryReadToFile, CapAndUncreatableFile)
{
    OpsRig rig;
    rig.UseProbe();
    rig.user.chosenFile = rig.FilePath("no-such-folder/out.bin");
    MemoryOps::ReadToFile(rig.env, 0x20000000, 0xFFFFFFFF, rig.dump);
    EXPECT_EQ(rig.user.messages,
              (QStringList{"LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!", "output file create fail !\n"}));
    EXPECT_EQ(rig.user.kinds, (QList<MessageKind>{MessageKind::Note, MessageKind::Failure}));
    EXPECT_EQ(rig.probe.CallLog().last(), "JLINK_Close");
    EXPECT_TRUE(rig.probe.CallLog().filter("ReadMemEx").isEmpty());

    // Over the UART link the port is closed without the leave request.
    OpsRig uart;
    uart.user.chosenFile = uart.FilePath("no-such-folder/out.bin");
    MemoryOps::ReadToFile(uart.env, 0x20000000, 0x10, uart.dump);
    EXPECT_EQ(uart.user.messages, QStringList{"output file create fail !\n"});
    EXPECT_EQ(uart.chip.EnterCount(), 1);
    EXPECT_EQ(uart.chip.LeaveCount(), 0);
    EXPECT_FALSE(uart.PortHeld());
}

TEST(MemoryWrite, ChecksInTheirOrder)
{
    struct Case
    {
        const char *model;
        const char *address;
        const char *data;
        const char *message;
    };
    const Case cases[] = {
        {"VX21D", "1FFFFFFC", "", kBelowRam},
        {"VX21B", "64000001", "", "0xE0000000 > ADDR >= 0x64000000, please check!"},
        {"VX21D", "64000001", "", kAlign},
        {"VX21D", "20000000", "", "no data to write, please check!"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.address);
        OpsRig rig(c.model);
        rig.UseProbe();
        MemoryOps::WriteWord(rig.env, MemoryFields::Number(c.address), MemoryFields::Word(c.data));
        EXPECT_EQ(rig.user.messages, QStringList{c.message});
        EXPECT_TRUE(rig.probe.CallLog().isEmpty());
    }
}

TEST(MemoryWrite, DataFieldKeepsEightCharacters)
{
    struct Case
    {
        const char *data;
        uint32_t word;
    };
    const Case cases[] = {{"0x12345678", 0x123456}, {"12345678", 0x12345678}, {"   ", 0}, {"0xFF", 0xFF}};
    for (bool probe : {true, false}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.data);
            OpsRig rig("VX21C");
            probe ? rig.UseProbe() : rig.UseUart();
            rig.probe.PokeWord(0x20000010, 0xDEADBEEF);
            rig.chip.PokeWord(0x20000010, 0xDEADBEEF);
            MemoryOps::WriteWord(rig.env, 0x20000010, MemoryFields::Word(c.data));
            EXPECT_TRUE(rig.user.messages.isEmpty());
            EXPECT_EQ(probe ? rig.probe.PeekWord(0x20000010) : rig.chip.PeekWord(0x20000010), c.word);
        }
    }
}

TEST(MemoryWriteFromFile, FileOf5000BytesLandsInTwoChunks)
{
    QByteArray content(5000, '\0');
    for (int i = 0; i < content.size(); ++i)
        content[i] = char(i * 7);
    for (bool probe : {true, false}) {
        SCOPED_TRACE(probe ? "probe" : "uart");
        OpsRig rig("VX21A");
        probe ? rig.UseProbe() : rig.UseUart();
        rig.PutFile("in.bin", content);
        rig.user.chosenFile = rig.FilePath("in.bin");
        // The write address field is not used: the read address field is.
        MemoryOps::WriteFromFile(rig.env, 0x20010000);
        EXPECT_TRUE(rig.user.messages.isEmpty());
        const QByteArray written = probe ? QByteArray() : rig.chip.Peek(0x20010000, 5000);
        if (probe) {
            EXPECT_EQ(rig.probe.CallLog().filter("WriteMemEx"),
                      (QStringList{"JLINK_WriteMemEx 0x20010000 0x1000 4", "JLINK_WriteMemEx 0x20011000 0x388 4"}));
            EXPECT_EQ(rig.probe.PeekWord(0x20011384), uint32_t(uint8_t(content[4996])) | uint8_t(content[4997]) << 8 |
                                                          uint8_t(content[4998]) << 16 |
                                                          uint32_t(uint8_t(content[4999])) << 24);
        } else {
            EXPECT_EQ(written, content);
        }
    }
}

TEST(MemoryWriteFromFile, UartCompletesTheLastWordWithZeros)
{
    OpsRig rig("VX21C");
    rig.PutFile("in.bin", QByteArray("\x01\x02\x03\x04\x05\x06", 6));
    rig.user.chosenFile = rig.FilePath("in.bin");
    // Leftovers of an earlier transfer must not reach the target.
    std::fill(rig.links.buffer.data(), rig.links.buffer.data() + 16, 0xEE);
    rig.chip.PokeWord(0x20000004, 0x99999999);
    MemoryOps::WriteFromFile(rig.env, 0x20000000);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_EQ(rig.chip.Peek(0x20000000, 8), QByteArray("\x01\x02\x03\x04\x05\x06\x00\x00", 8));
}

TEST(MemoryWriteFromFile, DialogFileAndEmptyFile)
{
    OpsRig rig;
    rig.UseProbe();
    MemoryOps::WriteFromFile(rig.env, 0x1FFFFFFC);
    EXPECT_EQ(rig.user.messages, QStringList{kNoFile});
    // The question opens a binary file that exists.
    ASSERT_EQ(rig.user.fileRequests.size(), 1);
    EXPECT_EQ(rig.user.fileRequests[0].kind, FileRequest::Kind::Open);
    EXPECT_TRUE(rig.user.fileRequests[0].mustExist);
    EXPECT_EQ(rig.user.fileRequests[0].filters.value(0).text, "Binary Files(*.bin)");

    rig.user.messages.clear();
    rig.user.chosenFile = rig.FilePath("missing.bin");
    MemoryOps::WriteFromFile(rig.env, 0x1FFFFFFC);
    EXPECT_EQ(rig.user.messages, QStringList{kBelowRam});

    rig.user.messages.clear();
    MemoryOps::WriteFromFile(rig.env, 0x20000000);
    EXPECT_EQ(rig.user.messages, QStringList{"input file open fail !\n"});
    EXPECT_EQ(rig.probe.CallLog().last(), "JLINK_Close");

    // An empty file opens and closes the link and writes nothing.
    rig.user.messages.clear();
    rig.probe.ClearCallLog();
    rig.PutFile("empty.bin", {});
    rig.user.chosenFile = rig.FilePath("empty.bin");
    MemoryOps::WriteFromFile(rig.env, 0x20000000);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_TRUE(rig.probe.CallLog().filter("WriteMemEx").isEmpty());
    EXPECT_EQ(rig.probe.CallLog().last(), "JLINK_Close");
}

TEST(MemoryWriteFromFile, FileRunningPastTheAddressSpaceIsRefused)
{
    OpsRig rig;
    rig.UseProbe();
    rig.PutFile("in.bin", QByteArray(8, 'x'));
    rig.user.chosenFile = rig.FilePath("in.bin");
    MemoryOps::WriteFromFile(rig.env, 0xFFFFFFFC);
    EXPECT_EQ(rig.user.messages, QStringList{"input file too large for ADDR, please check!"});
    EXPECT_TRUE(rig.probe.CallLog().filter("WriteMemEx").isEmpty());
}

} // namespace

namespace {

TEST(MemoryWriteFromFile, FileShrinkingWhileWrittenEndsWithAMessage)
{
    OpsRig rig;
    rig.UseProbe();
    rig.PutFile("in.bin", QByteArray(3 * 4096, 'a'));
    rig.user.chosenFile = rig.FilePath("in.bin");
    rig.env.progress = [&](qint64 done, qint64) {
        if (done == 4096)
            QFile::resize(rig.FilePath("in.bin"), 4096 + 10);
    };
    MemoryOps::WriteFromFile(rig.env, 0x20000000);
    EXPECT_EQ(rig.user.messages, QStringList{"input file read fail !\n"});
    EXPECT_EQ(rig.probe.CallLog().filter("WriteMemEx").size(), 1);
    EXPECT_EQ(rig.probe.CallLog().last(), "JLINK_Close");
}

} // namespace
