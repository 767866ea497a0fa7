// jlink_peer JLINKDLL EXEDIR COMMAND [ARGS]
//   bind             prints "bound PATH" or "unbound MISSINGNAME"
//   probes           prints the probe serial numbers, one per line
//   write ADDR WORD  writes one word through the first probe
//   read ADDR        prints the word at ADDR as 8 hex digits
// A failing probe step is named on stderr and the exit code is 1.
#include "link/JLinkLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool OpenFirstProbe(JLinkLibrary &jlink)
{
    const std::vector<uint32_t> probes = jlink.ProbeSerialNumbers();
    if (probes.empty()) {
        std::fprintf(stderr, "no probe\n");
        return false;
    }
    if (jlink.EmuSelectByUsbSn(probes.front()) < 0) {
        std::fprintf(stderr, "jlink_EMU_SelectByUSBSN error\n");
        return false;
    }
    jlink.Open();
    if (!jlink.IsOpen()) {
        std::fprintf(stderr, "jlink_IsOpen error\n");
        return false;
    }
    if (!jlink.EmuIsConnected()) {
        std::fprintf(stderr, "jlink_EMU_IsConnected error\n");
        jlink.Close();
        return false;
    }
    jlink.TifSelect(JLinkApi::kInterfaceSwd);
    jlink.SetSpeed(4000);
    jlink.ExecCommand("device=CORTEX-M33");
    if (jlink.Connect() != 0) {
        std::fprintf(stderr, "jlink_Connect error\n");
        jlink.Close();
        return false;
    }
    return true;
}

int Transfer(JLinkLibrary &jlink, bool write, uint32_t address, uint32_t word)
{
    if (!OpenFirstProbe(jlink))
        return 1;
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(word >> (8 * i));
    const int moved = write ? jlink.WriteMemEx(address, 4, bytes) : jlink.ReadMemEx(address, 4, bytes);
    jlink.Close();
    if (moved != 4) {
        std::fprintf(stderr, "jlink_%sMemEx 0x%08x 0x4 error !\n", write ? "Write" : "Read", address);
        return 1;
    }
    if (!write)
        std::printf("%08X\n",
                    uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: jlink_peer JLINKDLL EXEDIR COMMAND [ARGS]\n");
        return 2;
    }
    JLinkLibrary jlink;
    jlink.Bind(JLinkLibrary::SearchOrder(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])));
    const char *command = argv[3];
    if (std::strcmp(command, "bind") == 0) {
        if (jlink.IsBound())
            std::printf("bound %s\n", qPrintable(jlink.LoadedPath()));
        else
            std::printf("unbound %s\n", qPrintable(jlink.MissingName()));
        return 0;
    }
    if (!jlink.IsBound()) {
        std::fprintf(stderr, "library not bound\n");
        return 1;
    }
    if (std::strcmp(command, "probes") == 0) {
        for (uint32_t serial : jlink.ProbeSerialNumbers())
            std::printf("%u\n", serial);
        return 0;
    }
    if (std::strcmp(command, "write") == 0 && argc == 6)
        return Transfer(jlink, true, uint32_t(std::strtoul(argv[4], nullptr, 16)),
                        uint32_t(std::strtoul(argv[5], nullptr, 16)));
    if (std::strcmp(command, "read") == 0 && argc == 5)
        return Transfer(jlink, false, uint32_t(std::strtoul(argv[4], nullptr, 16)), 0);
    std::fprintf(stderr, "unknown command %s\n", command);
    return 2;
}
