#include "LineSpeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

uint32_t LineSpeedOf(int fd)
{
    struct termios2 tio;
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return 0;
    return tio.c_ospeed;
}
