// corvane-simchip: a simulated VX21 chip in UART debug mode on a
// pseudo-terminal, for trying Corvane without a board.

#include "SimulatedChip.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

void Usage()
{
    std::fprintf(stderr, "usage: corvane-simchip --model VX21A|VX21C|VX21D [--demo]\n");
}

// Recognisable, non-zero contents: SRAM words count up from 0xC0DE0000, and
// every peripheral word carries the low bits of its own address.
void SeedDemoMemory(SimulatedChip &chip)
{
    for (uint32_t i = 0; i < 1024; ++i)
        chip.PokeWord(0x20000000u + 4 * i, 0xC0DE0000u | i);
    for (uint32_t base : {0x40000000u, 0x50000000u})
        for (uint32_t offset = 0; offset < 0x100000u; offset += 4)
            chip.PokeWord(base + offset, (base >> 4) | 0x0A000000u | offset);
    // The counters (CNT) of TIM1 and TIM2 run: every read sees them one further.
    for (uint32_t counter : {0x40009024u, 0x4000A024u})
        chip.AddFreeRunningCounter(counter);
}

} // namespace

int main(int argc, char **argv)
{
    QString model;
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--model") == 0 && i + 1 < argc) {
            model = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--demo") == 0) {
            demo = true;
        } else {
            Usage();
            return 2;
        }
    }
    if (model.isEmpty()) {
        Usage();
        return 2;
    }

    // Signals are taken by sigwait below; the serving thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimulatedChip chip(model);
    if (demo)
        SeedDemoMemory(chip);
    if (!chip.Start()) {
        std::fprintf(stderr,
                     "corvane-simchip: %s has no UART debug mode here, or no pseudo-terminal "
                     "could be opened (models: VX21A, VX21C, VX21D)\n",
                     qPrintable(model));
        return 1;
    }
    std::printf("%s\n", qPrintable(chip.PortPath()));
    std::fflush(stdout);

    std::fprintf(stderr, "Simulated %s in UART debug mode on %s\n", qPrintable(model), qPrintable(chip.PortPath()));
    std::fprintf(stderr,
                 "In Corvane choose the data source \"UART读取\", chip %s, and enter %s as the "
                 "serial port (any speed works).\n",
                 qPrintable(model), qPrintable(chip.PortPath()));
    if (demo)
        std::fprintf(stderr, "Demo memory: 0x20000000.. counts up from 0xC0DE0000; the peripheral "
                             "ranges 0x40000000 and 0x50000000 (1 MiB each) hold non-zero words; the counters of TIM1 "
                             "and TIM2 (0x40009024, 0x4000A024) count up at every read.\n");
    std::fprintf(stderr, "Press Ctrl+C to stop.\n");

    int signal = 0;
    sigwait(&stopSignals, &signal);
    chip.Stop();
    std::fprintf(stderr, "Simulated chip stopped (%d enter, %d leave requests served).\n", chip.EnterCount(),
                 chip.LeaveCount());
    return 0;
}
