// UART link over the simulated chip on a pseudo-terminal, next to a raw
// exchange of the same sizes through a bare pseudo-terminal pair (what the
// machine can do at best), and the processor time a link spends waiting
// for a reply that never comes.
//
// Links: corvane_link corvane_simchip

#include "link/TransferBuffer.h"
#include "link/UartLink.h"
#include "SimulatedChip.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRequestBytes = 14;
constexpr int kReplyOverhead = 8; // header, reply code and status

// --- The link against the simulated chip -------------------------------

struct LinkRig
{
    explicit LinkRig(int speedIndex)
        : chip("VX21A")
        , link(buffer, [] { return QString("VX21A"); })
    {
        chip.SetRecording(false);
        if (!chip.Start())
            return;
        port = link.OpenPort(chip.PortPath(), speedIndex);
        ready = port.IsOpen() && link.EnterDebugMode(port);
    }

    SimulatedChip chip;
    TransferBuffer buffer;
    UartLink link;
    SerialPort port;
    bool ready = false;
};

void BM_LinkRead(benchmark::State &state)
{
    const auto count = uint16_t(state.range(0));
    LinkRig rig(int(state.range(1)));
    if (!rig.ready) {
        state.SkipWithError("simulated chip not reachable");
        return;
    }
    for (auto _ : state) {
        if (!rig.link.ReadMem(rig.port, 0x20000000, count)) {
            state.SkipWithError("read failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * count);
}
BENCHMARK(BM_LinkRead)
    ->ArgNames({"bytes", "speed"})
    ->Args({4, 1})
    ->Args({16384, 1})
    ->Args({4, 6})
    ->Args({16384, 6})
    ->UseRealTime();

// --- The same exchange through a bare pseudo-terminal pair --------------

// The far side answers each request of kRequestBytes with `replyBytes`.
struct RawPair
{
    explicit RawPair(int replyBytes)
        : reply(std::size_t(replyBytes), 0x5A)
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return;
        slave = ::open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (slave < 0)
            return;
        termios tio;
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
        far = std::thread([this] { Serve(); });
    }

    ~RawPair()
    {
        stop = true;
        if (far.joinable())
            far.join();
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
    }

    void Serve()
    {
        uint8_t request[kRequestBytes];
        int got = 0;
        while (!stop) {
            pollfd pfd{master, POLLIN, 0};
            if (::poll(&pfd, 1, 50) <= 0)
                continue;
            const ssize_t n = ::read(master, request + got, std::size_t(kRequestBytes - got));
            if (n <= 0)
                continue;
            got += int(n);
            if (got < kRequestBytes)
                continue;
            got = 0;
            std::size_t done = 0;
            while (done < reply.size()) {
                const ssize_t put = ::write(master, reply.data() + done, reply.size() - done);
                if (put > 0)
                    done += std::size_t(put);
            }
        }
    }

    bool Exchange(std::vector<uint8_t> &into)
    {
        const uint8_t request[kRequestBytes] = {0x7E, 0x79};
        if (::write(slave, request, kRequestBytes) != kRequestBytes)
            return false;
        std::size_t got = 0;
        while (got < into.size()) {
            pollfd pfd{slave, POLLIN, 0};
            if (::poll(&pfd, 1, 1000) <= 0)
                return false;
            const ssize_t n = ::read(slave, into.data() + got, into.size() - got);
            if (n > 0)
                got += std::size_t(n);
        }
        return true;
    }

    std::vector<uint8_t> reply;
    int master = -1;
    int slave = -1;
    std::atomic<bool> stop{false};
    std::thread far;
};

void BM_RawPtyExchange(benchmark::State &state)
{
    const int count = int(state.range(0));
    RawPair pair(count + kReplyOverhead);
    std::vector<uint8_t> into(std::size_t(count + kReplyOverhead));
    if (pair.slave < 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    for (auto _ : state) {
        if (!pair.Exchange(into)) {
            state.SkipWithError("exchange failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * count);
}
BENCHMARK(BM_RawPtyExchange)->ArgName("bytes")->Arg(4)->Arg(16384)->UseRealTime();

// --- Waiting for a reply that never comes -------------------------------

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A read whose reply never comes waits its whole 1000 ms limit.
void BM_WaitForMissingReply(benchmark::State &state)
{
    LinkRig rig(1);
    if (!rig.ready) {
        state.SkipWithError("simulated chip not reachable");
        return;
    }
    double wall = 0, threadCpu = 0, processCpu = 0;
    for (auto _ : state) {
        rig.chip.InjectNoAnswer(1);
        QElapsedTimer timer;
        const double threadBefore = CpuSeconds(RUSAGE_THREAD);
        const double processBefore = CpuSeconds(RUSAGE_SELF);
        timer.start();
        if (rig.link.ReadMem(rig.port, 0x20000000, 4)) {
            state.SkipWithError("a reply came");
            break;
        }
        wall += double(timer.nsecsElapsed()) / 1e9;
        threadCpu += CpuSeconds(RUSAGE_THREAD) - threadBefore;
        processCpu += CpuSeconds(RUSAGE_SELF) - processBefore;
    }
    state.counters["wait_ms"] = 1000 * wall / double(state.iterations());
    state.counters["link_cpu_pct"] = 100 * threadCpu / wall;
    state.counters["process_cpu_pct"] = 100 * processCpu / wall;
}
BENCHMARK(BM_WaitForMissingReply)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
