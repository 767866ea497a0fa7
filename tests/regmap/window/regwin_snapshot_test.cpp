#include "support/RegwinRig.h"
#include "regmap/SnapshotFiles.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QByteArray Pattern(int size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(seed);
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

uint32_t WordAt(const QByteArray &bytes, int at)
{
    uint32_t w = 0;
    for (int i = 0; i < 4; ++i)
        w |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
    return w;
}

QString CaptionValue(RegisterWindow &window, const QString &reg)
{
    return Register(window, "TIMER", reg)->Name().section(u' ', -1);
}

TEST(Snapshot, LoadFillsEveryRowFromTheRoundedOffset)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    QByteArray image(0x100, '\0');
    image.replace(0, 4, Words({0x800000A5}));
    image.replace(4, 4, Words({0x11223344}));
    image.replace(0x24, 4, Words({0xCAFEBABE}));
    rig.PutFile(rig.DataPath("TIMER"), image);
    TypeInto(window, Child(window, "TIMER", "CR", "MODE"), "0x3");

    EXPECT_TRUE(window.LoadSnapshot("TIMER", rig.DataPath("TIMER")));
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_EQ(Register(window, "TIMER", "CR")->Name(), "CR                0x800000A5");
    EXPECT_EQ(Child(window, "TIMER", "CR", "VALUE~")->Value(), "0x800000A5");
    EXPECT_EQ(Child(window, "TIMER", "CR", "EN")->Value(), "1");
    EXPECT_EQ(Child(window, "TIMER", "CR", "MODE")->Value(), "0xA") << "the field keeps its base";
    EXPECT_FALSE(Child(window, "TIMER", "CR", "MODE")->IsModified());
    EXPECT_EQ(Child(window, "TIMER", "CR", "TOP")->Value(), "1");
    EXPECT_EQ(Child(window, "TIMER", "SR", "ALL")->Value(), "0x11223344");
    EXPECT_EQ(CaptionValue(window, "ODD"), "0x11223344") << "offset 0x6 reads bytes 4 to 7";
    EXPECT_EQ(CaptionValue(window, "DATA"), "0xCAFEBABE");
    EXPECT_EQ(Child(window, "TIMER", "DATA", "LO")->Value(), "47806");
    EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")), image) << "a load never changes the file";
}

TEST(Snapshot, SizeMessages)
{
    struct Case
    {
        int size;
        QStringList messages;
    };
    const Case cases[] = {
        {0x100, {}},
        {8, {"TIMER size 0x100 > file len 0x8, fill zero !\n"}},
        {20000, {"TIMER size 0x100 < file len 0x4000, remove following data !\n"}},
        {0x4000, {"TIMER size 0x100 < file len 0x4000, remove following data !\n"}},
        {0, {"TIMER size 0x100 > file len 0x0, fill zero !\n"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.size);
        RegwinRig rig;
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        rig.links.buffer.SetWord(8, 0xDEADBEEF);
        const QByteArray image = QByteArray(c.size, char(0x5A));
        rig.PutFile(rig.DataPath("TIMER"), image);
        EXPECT_TRUE(window.LoadSnapshot("TIMER", rig.DataPath("TIMER")));
        EXPECT_EQ(rig.user.messages, c.messages);
        EXPECT_EQ(rig.user.kinds, QList<MessageKind>(c.messages.size(), MessageKind::Note)) << "the load goes on";
        EXPECT_EQ(Child(window, "TIMER", "ODD", "VALUE~")->Value(), c.size >= 8 ? "0x5A5A5A5A" : "0x00000000");
        EXPECT_EQ(rig.links.buffer.Word(8), c.size >= 12 ? 0x5A5A5A5Au : 0u) << "the load clears the buffer";
        EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")).size(), c.size);
    }
}

TEST(Snapshot, ImportThenExportGivesTheSameBytes)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    const QByteArray image = Pattern(0x100, 7);
    const QString imported = rig.FilePath("in.bin");
    const QString exported = rig.FilePath("out.bin");
    rig.PutFile(imported, image);

    window.SetSelection(Peripheral(window, "TIMER"), false);
    rig.user.chosenFile = imported;
    window.ImportSnapshot();
    rig.user.chosenFile = exported;
    window.ExportSnapshot();
    EXPECT_EQ(rig.ReadFile(exported), image) << "reserved bytes go back as they were loaded";

    ASSERT_EQ(rig.user.fileRequests.size(), 2);
    EXPECT_EQ(rig.user.fileRequests[0].title, QString::fromUtf8("***** 导入默认路径文件请点击\"取消\"按钮 *****"));
    EXPECT_EQ(rig.user.fileRequests[1].title, QString::fromUtf8("保存数据 TIMER"));
    for (const FileRequest &request : rig.user.fileRequests) {
        ASSERT_EQ(request.filters.size(), 1);
        EXPECT_EQ(request.filters[0].text, "Register data Files(*.bin)");
        EXPECT_EQ(request.filters[0].pattern, "*.bin");
        EXPECT_TRUE(request.overwritePrompt);
    }
    // The import opens a file; the export asks where to save, offering the
    // peripheral's default file.
    EXPECT_EQ(rig.user.fileRequests[0].kind, FileRequest::Kind::Open);
    EXPECT_TRUE(rig.user.fileRequests[0].defaultName.isEmpty());
    EXPECT_EQ(rig.user.fileRequests[1].kind, FileRequest::Kind::Save);
    EXPECT_EQ(rig.user.fileRequests[1].defaultName, "TIMER.bin");
    EXPECT_EQ(rig.user.fileRequests[1].startFolder, rig.home.filePath("data/VX21A"));

    // Importing the export into a fresh window reproduces every caption.
    RegisterWindow &other = rig.WindowWith({"TIMER"}, 1);
    EXPECT_TRUE(other.LoadSnapshot("TIMER", exported));
    for (std::size_t i = 0; i < Peripheral(window, "TIMER")->ChildCount(); ++i)
        EXPECT_EQ(Peripheral(other, "TIMER")->Child(i)->Name(), Peripheral(window, "TIMER")->Child(i)->Name());
    EXPECT_EQ(CaptionValue(window, "CR"), RowText::Word(WordAt(image, 0)));
    EXPECT_TRUE(rig.user.messages.isEmpty());
}

TEST(Snapshot, SaveWritesCaptionsAtTheRoundedOffset)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    RegisterRow *odd = Register(window, "TIMER", "ODD");
    SetRegisterValue(window, odd, 0x11223344);
    // Only register values count: a value row's typed text is not taken.
    TypeInto(window, Child(window, "TIMER", "CR", "VALUE~"), "0xFFFFFFFF");
    EXPECT_TRUE(window.SaveSnapshot("TIMER", rig.FilePath("s.bin")));
    const QByteArray bytes = rig.ReadFile(rig.FilePath("s.bin"));
    ASSERT_EQ(bytes.size(), 0x100);
    EXPECT_EQ(bytes.mid(0, 8), Words({0, 0x11223344}));
}

// A cancelled save writes nothing, not even the default file; a cancelled
// import loads the default file, as its title says.
TEST(Snapshot, CancelledExportWritesNothingAndCancelledImportLoadsTheDefaultFile)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"GPIO"});
    window.SetSelection(Peripheral(window, "GPIO"), false);
    window.ExportSnapshot();
    EXPECT_FALSE(QFile::exists(rig.home.filePath("data/VX21A/GPIO.bin")));
    rig.PutFile(rig.home.filePath("data/VX21A/GPIO.bin"), Words({0x17}));
    window.ExportSnapshot();
    EXPECT_EQ(rig.ReadFile(rig.home.filePath("data/VX21A/GPIO.bin")), Words({0x17}));

    rig.PutFile(rig.home.filePath("data/VX21A/GPIO.bin"), Words({0x42}));
    window.ImportSnapshot();
    EXPECT_EQ(Child(window, "GPIO", "OUT", "PIN")->Value(), "66");
    EXPECT_TRUE(rig.user.messages.isEmpty());
}

TEST(Snapshot, FailuresChangeNothing)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER", "BIG", "FAR"});
    const QString missing = rig.FilePath("missing.bin");
    EXPECT_FALSE(window.LoadSnapshot("TIMER", missing));
    EXPECT_EQ(rig.user.messages, QStringList{missing + " open error! \n"});

    rig.user.messages.clear();
    const QString noFolder = rig.FilePath("no/such/folder.bin");
    EXPECT_FALSE(window.SaveSnapshot("TIMER", noFolder));
    EXPECT_EQ(rig.user.messages, QStringList{noFolder + " create error !\n"});

    // A peripheral this window does not show: the size against span 0, and
    // the file stays as it was.
    rig.user.messages.clear();
    const QString gpio = rig.FilePath("gpio.bin");
    rig.PutFile(gpio, Words({1, 2}));
    EXPECT_FALSE(window.LoadSnapshot("GPIO", gpio));
    EXPECT_EQ(rig.user.messages, QStringList{"GPIO size 0x0 < file len 0x8, remove following data !\n"});
    EXPECT_FALSE(window.SaveSnapshot("GPIO", gpio));
    EXPECT_EQ(rig.ReadFile(gpio), Words({1, 2}));

    // Images that do not fit the transfer buffer are refused, by name and span.
    for (const char *name : {"BIG", "FAR"}) {
        SCOPED_TRACE(name);
        rig.user.messages.clear();
        const QString path = rig.FilePath(QString(name) + ".bin");
        rig.PutFile(path, QByteArray(0x4004, '\1'));
        EXPECT_FALSE(window.LoadSnapshot(name, path));
        EXPECT_FALSE(window.SaveSnapshot(name, path));
        const QString span = "0x4004"; // FAR's span covers its highest register, listed first
        const QString refusal =
            QString(name) + " span " + span + " does not fit the 0x4000-byte transfer buffer, refused !\n";
        EXPECT_EQ(rig.user.messages, QStringList({refusal, refusal}));
        EXPECT_EQ(rig.ReadFile(path), QByteArray(0x4004, '\1'));
    }
}

TEST(Snapshot, NamesThatAreNotPlainFileNamesStayInside)
{
    struct Case
    {
        QString chip;
    };
    const Case cases[] = {{".."}, {"a/../.."}, {""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(c.chip));
        RegwinRig rig;
        RegisterWindow &window = rig.WindowWith({"GPIO"});
        rig.user.chip = c.chip;
        window.SetSelection(Peripheral(window, "GPIO"), false);
        window.ExportSnapshot(); // cancelled: nothing written, nothing to say
        EXPECT_TRUE(rig.user.messages.isEmpty());
        EXPECT_TRUE(rig.user.fileRequests.constLast().defaultName.isEmpty()) << "no default file to offer";
        EXPECT_FALSE(QFile::exists(rig.home.path() + "/GPIO.bin"));
        EXPECT_FALSE(QFile::exists(rig.home.path() + "/data/GPIO.bin"));
        rig.user.messages.clear();
        window.ImportSnapshot();
        EXPECT_EQ(rig.user.messages, QStringList{rig.home.path() + "/data/" + c.chip + "/GPIO.bin open error! \n"});
    }
    EXPECT_FALSE(SnapshotFiles::IsPlainFileName("a/b"));
    EXPECT_FALSE(SnapshotFiles::IsPlainFileName("."));
    EXPECT_TRUE(SnapshotFiles::IsPlainFileName("UART0"));
    EXPECT_TRUE(SnapshotFiles::IsPlainFileName("..x"));
}

TEST(Snapshot, ReplacingKeepsTheOldFileWhenTheWriteCannotFinish)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"GPIO"});
    // A folder in place of the file: nothing can replace it, and no partial
    // file is left beside it.
    const QString path = rig.FilePath("busy.bin");
    QDir().mkpath(path);
    EXPECT_FALSE(window.SaveSnapshot("GPIO", path));
    EXPECT_EQ(rig.user.messages, QStringList{path + " create error !\n"});
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(QDir(rig.home.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Corvane.ini"});
}

} // namespace
