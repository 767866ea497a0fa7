// Start-up with list counts no person writes: the lists are capped and the
// file is read once per list, so the start-up neither hangs nor fills memory.

#include "AppRig.h"

TEST(HostileConfigTest, HugeListCountsAreCapped)
{
    AppRig rig(StandardIni().replace("NUM=5", "NUM=2147483647").replace("NUM=7", "NUM=2147483647"));
    ASSERT_TRUE(rig.Start());
    QComboBox *chip = rig.List(1001);
    ASSERT_EQ(chip->count(), ConfigFile::kListLimit);
    EXPECT_EQ(chip->itemText(4), "VX21E");
    EXPECT_EQ(chip->itemText(5), "");
    EXPECT_EQ(rig.List(1005)->count(), ConfigFile::kListLimit);
    EXPECT_EQ(rig.List(1005)->itemText(6), "6000000");
}

// A configuration file in another encoding is read but never rewritten; a
// choice that cannot be stored says so instead of vanishing.
TEST(HostileConfigTest, ChoiceThatCannotBeStoredIsReported)
{
    AppRig rig;
    const QByteArray utf16 =
        QByteArray("\xFF\xFE", 2) +
        QByteArray(reinterpret_cast<const char *>(StandardIni().utf16()), StandardIni().size() * 2);
    rig.WriteFile("Corvane.ini", utf16);
    ASSERT_TRUE(rig.Start());
    rig.messages.clear();
    rig.Pick(1032, 1);
    EXPECT_EQ(rig.messages, QStringList{rig.Path("Corvane.ini") + " is not UTF-8 text, not written !\n"});
    QFile file(rig.Path("Corvane.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), utf16);
}
