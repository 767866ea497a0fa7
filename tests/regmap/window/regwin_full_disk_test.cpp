// Register windows on a full disk: no snapshot or temporary file is ever
// replaced by a shorter one, and a register write never sends a word the
// temporary file did not give.

#include "support/RegwinRig.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

namespace {

struct FullDiskRig : RegwinRig
{
    explicit FullDiskRig(Over over) { Use(over); }
    void SetCaption(RegisterWindow &window, const QString &reg, uint32_t value)
    {
        SetRegisterValue(window, Register(window, "TIMER", reg), value);
    }
};

// The good image every case starts from.
const QByteArray kOld(0x100, char(0x77));
constexpr rlim_t kRoom = 16; // far less than the 0x100-byte image

TEST(RegisterWriteOnAFullDisk, SendsNothingAndKeepsTheTemporaryFile)
{
    for (Over over : {Over::Probe, Over::Uart}) {
        for (bool hadTemporary : {false, true}) {
            SCOPED_TRACE(std::string(Name(over)) + (hadTemporary ? " old temporary file" : " no temporary file"));
            FullDiskRig rig(over);
            rig.Poke(0x20001024, 0xEEEEEEEE);
            RegisterWindow &window = rig.WindowWith({"TIMER"});
            // CR's word leads the image: the word a failed file read would send.
            rig.SetCaption(window, "CR", 0xCCCCCCCC);
            rig.SetCaption(window, "DATA", 0x12345678);
            if (hadTemporary)
                rig.PutFile(rig.TempPath("TIMER"), kOld);
            window.SetSelection(Register(window, "TIMER", "DATA"), true);
            {
                const FileSizeLimit full(kRoom);
                window.WriteSelection();
            }
            EXPECT_EQ(rig.Peek(0x20001024), 0xEEEEEEEEu) << "nothing reaches the chip";
            EXPECT_EQ(rig.user.messages, QStringList{rig.TempPath("TIMER") + " create error !\n"});
            EXPECT_EQ(rig.ReadFile(rig.TempPath("TIMER")), hadTemporary ? kOld : QByteArray("<none>"));
        }
    }
}

TEST(PeripheralWriteOnAFullDisk, SendsNothing)
{
    FullDiskRig rig(Over::Uart);
    rig.Poke(0x20001000, 0xEEEEEEEE);
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    rig.SetCaption(window, "CR", 0x00000001);
    window.SetSelection(Peripheral(window, "TIMER"), false);
    {
        const FileSizeLimit full(kRoom);
        window.WriteSelection();
    }
    EXPECT_EQ(rig.Peek(0x20001000), 0xEEEEEEEEu);
    EXPECT_EQ(rig.user.messages, QStringList{rig.TempPath("TIMER") + " create error !\n"});
}

// Every operation that replaces the default snapshot file: the old file
// stays whole and the operation says it could not write.
TEST(SnapshotOnAFullDisk, OldFileStays)
{
    struct Case
    {
        const char *name;
        std::function<void(FullDiskRig &, RegisterWindow &)> run;
        const char *format;
    };
    const Case cases[] = {
        {"peripheral read",
         [](FullDiskRig &, RegisterWindow &window) {
             window.SetSelection(Peripheral(window, "TIMER"), false);
             window.ReadSelection();
         },
         "%1 create error !\n"},
        {"register read",
         [](FullDiskRig &, RegisterWindow &window) {
             window.SetSelection(Register(window, "TIMER", "DATA"), true);
             window.ReadSelection();
         },
         "%1 open error !\n"},
        {"export to the default file",
         [](FullDiskRig &rig, RegisterWindow &window) {
             rig.user.chosenFile = rig.DataPath("TIMER"); // the file the save question offers
             window.SetSelection(Peripheral(window, "TIMER"), false);
             window.ExportSnapshot();
         },
         "%1 create error !\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FullDiskRig rig(Over::Uart);
        rig.Poke(0x20001024, 0x89ABCDEF);
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        rig.PutFile(rig.DataPath("TIMER"), kOld);
        {
            const FileSizeLimit full(kRoom);
            c.run(rig, window);
        }
        EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")), kOld);
        EXPECT_EQ(rig.user.messages, QStringList{QString(c.format).arg(rig.DataPath("TIMER"))});
        EXPECT_EQ(QDir(rig.home.filePath("data/VX21A")).entryList(QDir::Files), QStringList{"TIMER.bin"})
            << "no half-written file is left beside it";
    }
}

} // namespace
