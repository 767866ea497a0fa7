#pragma once

#include <cstdint>

// The meanings of the numbers the control panel stores in COMMON (and shows
// as the entries of its lists, in this order). The file keeps plain
// integers, so any number can come back; each type says how an unknown one
// is read.

// DATA_TYPE. The operations take every value other than Offline, JLink and Gdb
// as the UART link; the snapshot capture, which reads the panel's entry,
// captures through JLink, Uart and Gdb and takes any other entry as nothing to
// capture.
enum class DataSource : int32_t {
    Offline = 0, // "离线数据"
    JLink = 1,   // "JLINK读取"
    Uart = 2,    // "UART读取"
    Gdb = 3,     // "GDB读取"
};

// HEX_DEC. New rows show hexadecimal for Hexadecimal only; converting the
// shown values leaves them as they are for an unknown value.
enum class NumberBase : int32_t {
    Decimal = 0,     // "DEC"
    Hexadecimal = 1, // "HEX"
};

// REG_WR. Every value other than Immediate writes from the context menu.
enum class RegisterWriteMode : int32_t {
    Immediate = 0,   // "立即写入"
    ContextMenu = 1, // "右键菜单写入"
};

constexpr int32_t Stored(DataSource value)
{
    return static_cast<int32_t>(value);
}
constexpr int32_t Stored(NumberBase value)
{
    return static_cast<int32_t>(value);
}
constexpr int32_t Stored(RegisterWriteMode value)
{
    return static_cast<int32_t>(value);
}
