#pragma once

#include <cstdint>

// Output baud rate a terminal is set to, as termios2 reports it; 0 when
// unknown. Its own unit: the kernel's termios2 header clashes with <termios.h>.
uint32_t LineSpeedOf(int fd);
