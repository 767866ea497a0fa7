#pragma once

#include <QString>

// The ids of the control panel and its controls. A control's object name is
// its id as a decimal number, which is how tests and scripts find it, so the
// numbers never change.
enum class PanelControlId : int {
    Panel = 102,
    ChipList = 1001,
    ProbeList = 1002,
    JLinkSpeedList = 1003,
    SerialPortList = 1004,
    UartSpeedList = 1005,
    DataSourceList = 1007,
    PeripheralList = 1008,
    FirstWindowBox = 1010, // "WND0"; slot k has FirstWindowBox + k
    PortLabel = 1016,
    SpeedLabel = 1017,
    CaptureButton = 1019, // "数据读取"
    ExpandList = 1020,
    ReadAddressField = 1021,
    DumpView = 1022,
    ReadButton = 1023,
    ReadLengthField = 1024,
    ReadToFileButton = 1025,
    WriteButton = 1026,
    WriteFromFileButton = 1027,
    WatchdogOffButton = 1028,
    HaltHcpuButton = 1029,
    HaltLcpuButton = 1030,
    CleanCacheButton = 1031,
    NumberBaseList = 1032,
    RegisterWriteList = 1033,
    WriteDataField = 1034,
    WriteAddressField = 1035,
    RegisterWriteLabel = 1036,
    UpdateButton = 1037, // "更新": converts the shown values to the chosen number base
    GdbServerField = 1040,
    RunButton = 1041,          // "运行": lets the halted cores run
    HaltStateLabel = 1042,     // whether the selected target is halted
    MemoryWindowButton = 1043, // "内存窗口"
    CoreWindowButton = 1044,   // "内核窗口"
};

// The object name of a control: its id in decimal.
inline QString PanelObjectName(PanelControlId id)
{
    return QString::number(static_cast<int>(id));
}

// The object name of the box that opens the register window of a slot.
inline QString WindowBoxObjectName(int slot)
{
    return QString::number(static_cast<int>(PanelControlId::FirstWindowBox) + slot);
}
