// Start-up without the probe library. A process of its own: once a test has
// loaded the stand-in, the loader would find it again by its bare name.

#include "AppRig.h"

TEST(StartupWithoutProbeLibraryTest, StartsAndThePanelSaysSoOnce)
{
    AppRig rig(StandardIni().replace(StandInPath(), QStringLiteral("/nonexistent/libjlinkarm.so")));
    ASSERT_TRUE(rig.Start());
    EXPECT_FALSE(rig.app->Links().jlink.IsBound());
    EXPECT_EQ(
        rig.messages,
        QStringList{
            "Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!"});
    EXPECT_EQ(rig.List(1002)->count(), 0);
    // Each opening of the list tries again and says it again.
    rig.List(1002)->showPopup();
    rig.List(1002)->hidePopup();
    EXPECT_EQ(rig.messages.size(), 2);
}
