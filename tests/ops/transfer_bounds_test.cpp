// Every byte of a transfer keeps to the chip table and reaches the place the
// bus view gives it: a transfer that would touch a refused window is refused
// whole, one across a bound of the UART link's bus view lands on both sides.

#include "ops/HexText.h"
#include "ops/MemoryOps.h"
#include "support/TargetRig.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct RecordingDump : DumpView
{
    void SetDumpText(const QString &text) override { shown = text; }
    QString shown;
};

struct BoundsRig : TargetRig
{
    BoundsRig(const QString &model, Over over)
        : TargetRig(model)
    {
        Use(over);
        chip.ClearRecord();
        probe.ClearCallLog();
    }
    bool LinkUntouched() { return over == Over::Probe ? probe.CallLog().isEmpty() : chip.ReceivedFrames().isEmpty(); }

    OperationEnv env{config, links, context, {}};
    RecordingDump dump;
};

QByteArray Pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7);
    return bytes;
}

const char kReaches62[] = "transfer reaches 0x62000000: 0xE0000000 > ADDR >= 0x62000000, please check!";
const char kReachesCommonRead[] = "transfer reaches 0x00100000: 0x10000000 > ADDR >= 0x100000, please check!";
const char kReaches64[] = "transfer reaches 0x64000000: 0xE0000000 > ADDR >= 0x64000000, please check!";

// Each transfer starts where the chip table lets it and runs into a window it
// refuses: nothing reaches the link, nothing lands below the window either,
// and the message names the first refused address.
TEST(TransferBounds, ATransferReachingARefusedWindowIsRefusedWhole)
{
    struct Case
    {
        const char *name;
        const char *model;
        uint32_t start;
        std::function<void(BoundsRig &)> run;
        const char *message;
    };
    const auto writeFile = [](uint32_t address) {
        return [address](BoundsRig &rig) {
            rig.PutFile("in.bin", Pattern(32, 1));
            rig.user.chosenFile = rig.FilePath("in.bin");
            MemoryOps::WriteFromFile(rig.env, address);
        };
    };
    const auto readFile = [](uint32_t address) {
        return [address](BoundsRig &rig) {
            rig.user.chosenFile = rig.FilePath("out.bin");
            MemoryOps::ReadToFile(rig.env, address, 0x20, rig.dump);
        };
    };
    const auto read = [](uint32_t address) {
        return [address](BoundsRig &rig) { MemoryOps::Read(rig.env, address, 0x20, rig.dump); };
    };
    const Case cases[] = {
        {"write-file below the VX21A window", "VX21A", 0x61FFFFF0, writeFile(0x61FFFFF0), kReaches62},
        {"read-file below the VX21A window", "VX21A", 0x61FFFFF0, readFile(0x61FFFFF0), kReaches62},
        {"read below the VX21A window", "VX21A", 0x61FFFFF0, read(0x61FFFFF0), kReaches62},
        {"read-file into the common read window", "VX21A", 0x000FFFF0, readFile(0x000FFFF0), kReachesCommonRead},
        {"write-file below the VX21C window", "VX21C", 0x63FFFFF0, writeFile(0x63FFFFF0), kReaches64},
    };
    for (const Case &c : cases) {
        for (Over over : {Over::Probe, Over::Uart}) {
            SCOPED_TRACE(std::string(c.name) + " over " + Name(over));
            BoundsRig rig(c.model, over);
            rig.Poke(c.start, 0x11111111);
            c.run(rig);
            EXPECT_EQ(rig.user.messages, QStringList{c.message});
            EXPECT_TRUE(rig.LinkUntouched());
            EXPECT_EQ(rig.Peek(c.start), 0x11111111u);
            EXPECT_FALSE(QFile::exists(rig.FilePath("out.bin")));
        }
    }
}

// A transfer that ends just below a refused window is not refused.
TEST(TransferBounds, ATransferEndingBelowTheWindowGoesThrough)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        SCOPED_TRACE(Name(over));
        BoundsRig rig("VX21A", over);
        rig.PutFile("in.bin", Pattern(16, 3));
        rig.user.chosenFile = rig.FilePath("in.bin");
        MemoryOps::WriteFromFile(rig.env, 0x61FFFFF0);
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(rig.Peek(0x61FFFFFC), 0x6C655E57u); // bytes 12 to 15 of the pattern
    }
}

// On both byte orders a stretch of the bus view is moved (VX21A:
// 0x2A000000-0x2A07FFFF to 0x20000000-0x2007FFFF; VX21C: 0x20C00000-0x20C1FFFF
// to 0x20400000-0x2041FFFF) and the next address is not: the transfers across
// that bound put and take every byte where the chip has it.
TEST(TransferBounds, TransfersAcrossABusViewBoundReachEveryByteWhereTheChipHasIt)
{
    struct Case
    {
        const char *model;
        uint32_t start; // 16 bytes below the bound
    };
    for (const Case &c : {Case{"VX21A", 0x2A07FFF0}, Case{"VX21C", 0x20C1FFF0}}) {
        SCOPED_TRACE(c.model);
        BoundsRig rig(c.model, Over::Uart);
        const uint32_t address = c.start;
        const QByteArray image = Pattern(32, 0x40);
        rig.PutFile("in.bin", image);
        rig.user.chosenFile = rig.FilePath("in.bin");
        MemoryOps::WriteFromFile(rig.env, address);
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(rig.chip.Peek(c.start, 32), image);

        const QByteArray other = Pattern(32, 0x90);
        rig.chip.Poke(c.start, other);
        rig.user.chosenFile = rig.FilePath("out.bin");
        MemoryOps::ReadToFile(rig.env, address, 0x20, rig.dump);
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(rig.ReadFile("out.bin"), other);

        MemoryOps::Read(rig.env, address, 0x20, rig.dump);
        EXPECT_EQ(rig.dump.shown, HexText::DumpText(reinterpret_cast<const uint8_t *>(other.constData()), 32, c.start));
    }
}

} // namespace
