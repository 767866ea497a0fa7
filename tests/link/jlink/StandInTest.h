#pragma once

#include "support/StandInHandle.h"
#include "link/JLinkLibrary.h"

#include <gtest/gtest.h>

// A binding on the stand-in in its start state: one probe, 123456, empty
// memory, nothing open, an empty call log.
class StandInTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(BinDir().isEmpty()) << "CORVANE_BIN_DIR is not set";
        ASSERT_TRUE(m_standIn.IsLoaded()) << qPrintable(m_standIn.LoadError());
        m_standIn.Reset();
        ASSERT_TRUE(m_jlink.Bind({StandInPath()})) << qPrintable(m_jlink.MissingName());
    }

    // The opening steps of a probe link cycle, each result checked.
    void OpenProbe(uint32_t serial = 123456)
    {
        ASSERT_GE(m_jlink.EmuSelectByUsbSn(serial), 0);
        m_jlink.Open();
        ASSERT_TRUE(m_jlink.IsOpen());
        ASSERT_TRUE(m_jlink.EmuIsConnected());
        m_jlink.TifSelect(JLinkApi::kInterfaceSwd);
        m_jlink.SetSpeed(4000);
        m_jlink.ExecCommand("device=CORTEX-M33");
        ASSERT_EQ(m_jlink.Connect(), 0);
    }

    StandInHandle m_standIn;
    JLinkLibrary m_jlink;
};
