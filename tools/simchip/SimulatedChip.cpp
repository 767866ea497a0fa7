#include "SimulatedChip.h"

#include "LineSpeed.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using ChipBusView::ByteOrder;

namespace {

constexpr uint8_t kStatusOk = 0x06;
const QByteArray kAttention("ATVX21");

uint8_t At(const QByteArray &bytes, int index)
{
    return uint8_t(bytes[index]);
}

void ReverseWords(QByteArray &bytes)
{
    for (int i = 0; i + 4 <= bytes.size(); i += 4) {
        std::swap(bytes[i], bytes[i + 3]);
        std::swap(bytes[i + 1], bytes[i + 2]);
    }
}

} // namespace

SimulatedChip::SimulatedChip(const QString &model)
    : m_model(model)
    , m_order(ChipBusView::FrameByteOrder(model))
    , m_decoder(m_order)
{}

SimulatedChip::~SimulatedChip()
{
    Stop();
}

bool SimulatedChip::Start()
{
    if (m_order == ByteOrder::Unsupported || m_thread.joinable())
        return false;
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        CloseDescriptors();
        return false;
    }
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0 || pipe2(m_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        CloseDescriptors();
        return false;
    }
    struct termios tio;
    if (tcgetattr(m_slave, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(m_slave, TCSANOW, &tio);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_portPath = QString::fromLocal8Bit(name);
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void SimulatedChip::Stop()
{
    if (m_thread.joinable()) {
        const char stop = 1;
        [[maybe_unused]] const ssize_t put = ::write(m_stopPipe[1], &stop, 1);
        m_thread.join();
    }
    CloseDescriptors();
}

void SimulatedChip::CloseDescriptors()
{
    for (int *fd : {&m_master, &m_slave, &m_stopPipe[0], &m_stopPipe[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

uint32_t SimulatedChip::LineBaud() const
{
    return m_slave >= 0 ? LineSpeedOf(m_slave) : 0;
}

void SimulatedChip::Serve()
{
    std::vector<char> chunk(65536);
    for (;;) {
        int timeoutMs = -1;
        {
            std::lock_guard lock(m_mutex);
            if (!m_scheduled.empty()) {
                const auto wait = m_scheduled.begin()->first - Clock::now();
                timeoutMs = int(std::max<int64_t>(0, std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
            }
        }
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno != EINTR)
            return;
        if (fds[1].revents)
            return;
        if (fds[0].revents & POLLIN) {
            const ssize_t got = ::read(m_master, chunk.data(), chunk.size());
            if (got > 0) {
                std::lock_guard lock(m_mutex);
                m_receivedBytes += got;
                m_decoder.Feed(chunk.data(), int(got));
                while (const auto frame = m_decoder.Next())
                    Answer(*frame);
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Nobody on the line: wait for a stop or a schedule, not a spin.
            ::poll(&fds[1], 1, timeoutMs < 0 ? 10 : std::min(timeoutMs, 10));
        }
        EmitDue();
    }
}

void SimulatedChip::Answer(const RequestDecoder::Frame &frame)
{
    if (m_recording)
        m_frames.append(frame.bytes);
    m_framesChanged.notify_all();

    const QByteArray &payload = frame.payload;
    QByteArray reply;
    if (payload.size() == 8 && payload.startsWith(kAttention)) {
        const uint16_t command = uint16_t(At(payload, 6) << 8 | At(payload, 7));
        if (command == 0x0521) {
            m_debugMode = true;
            ++m_enterCount;
            reply = Reply(0xD1, {});
        } else if (command == 0x1821) {
            m_debugMode = false;
            ++m_leaveCount;
        }
    } else if (m_debugMode && payload.size() >= 8 && At(payload, 0) == 0x40) {
        const uint32_t address = Field32(payload, 2);
        const int bytes = Field16(payload, 6) * 4;
        if (At(payload, 1) == 0x72 && payload.size() == 8) {
            QByteArray data(bytes, '\0');
            CountReads(address, bytes);
            m_memory.Read(address, reinterpret_cast<uint8_t *>(data.data()), bytes);
            OverlayDebugRegisters(address, data);
            if (m_order == ByteOrder::Big)
                ReverseWords(data);
            reply = Reply(0xD2, data);
        } else if (At(payload, 1) == 0x77 && payload.size() == 8 + bytes) {
            QByteArray data = payload.mid(8);
            if (m_order == ByteOrder::Big)
                ReverseWords(data);
            m_memory.Write(address, reinterpret_cast<const uint8_t *>(data.constData()), bytes);
            PassToDebugRegisters(address, data);
            reply = Reply(0xD3, {});
        }
    }
    if (reply.isEmpty())
        return; // leave, or nothing the chip understands: no answer

    const ReplyFaults::Outcome outcome = m_faults.Shape(reply);
    const Clock::time_point due = Clock::now() + std::chrono::milliseconds(outcome.delayMs);
    if (!outcome.reply.isEmpty())
        Schedule(due, outcome.reply);
    if (!outcome.trailing.isEmpty())
        Schedule(due + std::chrono::milliseconds(outcome.trailingDelayMs), outcome.trailing);
}

// The core's debug registers answer in place of the memory behind them;
// what the host writes is kept in memory too, as the record of its requests.
void SimulatedChip::OverlayDebugRegisters(uint32_t busAddress, QByteArray &data) const
{
    for (int offset = 0; offset + 4 <= data.size(); offset += 4) {
        const uint32_t address = busAddress + uint32_t(offset);
        if (!m_core.Covers(address))
            continue;
        const uint32_t word = m_core.ReadWord(address);
        for (int i = 0; i < 4; ++i)
            data[offset + i] = char(word >> (8 * i));
    }
}

void SimulatedChip::PassToDebugRegisters(uint32_t busAddress, const QByteArray &data)
{
    for (int offset = 0; offset + 4 <= data.size(); offset += 4) {
        const uint32_t address = busAddress + uint32_t(offset);
        if (m_core.Covers(address))
            m_core.WriteWord(address, uint32_t(At(data, offset)) | uint32_t(At(data, offset + 1)) << 8 |
                                          uint32_t(At(data, offset + 2)) << 16 | uint32_t(At(data, offset + 3)) << 24);
    }
}

bool SimulatedChip::CoreHalted() const
{
    std::lock_guard lock(m_mutex);
    return m_core.Halted();
}

void SimulatedChip::SetCoreHalted(bool halted)
{
    std::lock_guard lock(m_mutex);
    m_core.SetHalted(halted);
}

uint32_t SimulatedChip::CoreRegister(uint8_t selector) const
{
    std::lock_guard lock(m_mutex);
    return m_core.Register(selector);
}

void SimulatedChip::SetCoreRegister(uint8_t selector, uint32_t value)
{
    std::lock_guard lock(m_mutex);
    m_core.SetRegister(selector, value);
}

void SimulatedChip::InjectRegisterReadyNever(bool never)
{
    std::lock_guard lock(m_mutex);
    m_core.SetReadyNever(never);
}

void SimulatedChip::CountReads(uint32_t busAddress, int bytes)
{
    for (const uint32_t counter : m_counters) {
        if (counter - busAddress >= uint32_t(bytes))
            continue;
        uint8_t word[4];
        m_memory.Read(counter, word, 4);
        const uint32_t next =
            (uint32_t(word[0]) | uint32_t(word[1]) << 8 | uint32_t(word[2]) << 16 | uint32_t(word[3]) << 24) + 1;
        for (int i = 0; i < 4; ++i)
            word[i] = uint8_t(next >> (8 * i));
        m_memory.Write(counter, word, 4);
    }
}

void SimulatedChip::AddFreeRunningCounter(uint32_t address)
{
    std::lock_guard lock(m_mutex);
    m_counters.push_back(ChipBusView::BusAddress(m_order, address));
}

QByteArray SimulatedChip::Reply(uint8_t code, const QByteArray &data) const
{
    const int length = int(data.size()) + 2;
    QByteArray frame("\x7E\x79", 2);
    if (m_order == ByteOrder::Big) {
        frame.append(char(length >> 8)).append(char(length));
        frame.append(QByteArray("\x00\x00\x00\x00\x10\x00\x00\x00", 8));
    } else {
        frame.append(char(length)).append(char(length >> 8));
        frame.append(QByteArray("\x10\x00", 2));
    }
    frame.append(char(code)).append(data).append(char(kStatusOk));
    return frame;
}

uint32_t SimulatedChip::Field32(const QByteArray &payload, int offset) const
{
    if (m_order == ByteOrder::Big)
        return uint32_t(Field16(payload, offset)) << 16 | Field16(payload, offset + 2);
    return uint32_t(Field16(payload, offset + 2)) << 16 | Field16(payload, offset);
}

uint16_t SimulatedChip::Field16(const QByteArray &payload, int offset) const
{
    if (m_order == ByteOrder::Big)
        return uint16_t(At(payload, offset) << 8 | At(payload, offset + 1));
    return uint16_t(At(payload, offset + 1) << 8 | At(payload, offset));
}

void SimulatedChip::Schedule(Clock::time_point due, const QByteArray &bytes)
{
    m_scheduled.emplace(due, bytes); // equal times keep their order
}

void SimulatedChip::EmitDue()
{
    for (;;) {
        QByteArray bytes;
        {
            std::lock_guard lock(m_mutex);
            if (m_scheduled.empty() || m_scheduled.begin()->first > Clock::now())
                return;
            bytes = m_scheduled.begin()->second;
            m_scheduled.erase(m_scheduled.begin());
        }
        if (!WriteAll(bytes))
            return;
    }
}

// False when told to stop while the line was full.
bool SimulatedChip::WriteAll(const QByteArray &bytes)
{
    int done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (put > 0) {
            done += int(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return true; // the line is gone; the bytes are lost as on a wire
        pollfd fds[2] = {{m_master, POLLOUT, 0}, {m_stopPipe[0], POLLIN, 0}};
        ::poll(fds, 2, 100);
        if (fds[1].revents)
            return false;
    }
    return true;
}

QByteArray SimulatedChip::Peek(uint32_t address, int count) const
{
    std::lock_guard lock(m_mutex);
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i)
        m_memory.Read(ChipBusView::BusAddress(m_order, address + uint32_t(i)),
                      reinterpret_cast<uint8_t *>(bytes.data()) + i, 1);
    return bytes;
}

void SimulatedChip::Poke(uint32_t address, const QByteArray &bytes)
{
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < bytes.size(); ++i)
        m_memory.Write(ChipBusView::BusAddress(m_order, address + uint32_t(i)),
                       reinterpret_cast<const uint8_t *>(bytes.constData()) + i, 1);
}

uint32_t SimulatedChip::PeekWord(uint32_t address) const
{
    const QByteArray bytes = Peek(address, 4);
    return uint32_t(At(bytes, 0)) | uint32_t(At(bytes, 1)) << 8 | uint32_t(At(bytes, 2)) << 16 |
           uint32_t(At(bytes, 3)) << 24;
}

void SimulatedChip::PokeWord(uint32_t address, uint32_t value)
{
    const char bytes[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    Poke(address, QByteArray(bytes, 4));
}

QByteArray SimulatedChip::PeekBus(uint32_t busAddress, int count) const
{
    std::lock_guard lock(m_mutex);
    QByteArray bytes(count, '\0');
    m_memory.Read(busAddress, reinterpret_cast<uint8_t *>(bytes.data()), count);
    return bytes;
}

void SimulatedChip::PokeBus(uint32_t busAddress, const QByteArray &bytes)
{
    std::lock_guard lock(m_mutex);
    m_memory.Write(busAddress, reinterpret_cast<const uint8_t *>(bytes.constData()), int(bytes.size()));
}

QList<QByteArray> SimulatedChip::ReceivedFrames() const
{
    std::lock_guard lock(m_mutex);
    return m_frames;
}

qint64 SimulatedChip::ReceivedByteCount() const
{
    std::lock_guard lock(m_mutex);
    return m_receivedBytes;
}

bool SimulatedChip::WaitForFrames(int count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_framesChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                    [&] { return m_frames.size() >= count; });
}

void SimulatedChip::ClearRecord()
{
    std::lock_guard lock(m_mutex);
    m_frames.clear();
    m_receivedBytes = 0;
}

void SimulatedChip::SetRecording(bool on)
{
    std::lock_guard lock(m_mutex);
    m_recording = on;
}

int SimulatedChip::EnterCount() const
{
    std::lock_guard lock(m_mutex);
    return m_enterCount;
}

int SimulatedChip::LeaveCount() const
{
    std::lock_guard lock(m_mutex);
    return m_leaveCount;
}

bool SimulatedChip::InDebugMode() const
{
    std::lock_guard lock(m_mutex);
    return m_debugMode;
}

void SimulatedChip::InjectReplyBytes(const QByteArray &bytes, int replies)
{
    std::lock_guard lock(m_mutex);
    m_faults.Replace(bytes, replies);
}

void SimulatedChip::InjectNoAnswer(int replies)
{
    std::lock_guard lock(m_mutex);
    m_faults.NoAnswer(replies);
}

void SimulatedChip::InjectNoise(const QByteArray &noise, int replies)
{
    std::lock_guard lock(m_mutex);
    m_faults.Noise(noise, replies);
}

void SimulatedChip::InjectCutShort(int keepBytes, int replies)
{
    std::lock_guard lock(m_mutex);
    m_faults.CutShort(keepBytes, replies);
}

void SimulatedChip::InjectWrongStatus(uint8_t status, int replies)
{
    std::lock_guard lock(m_mutex);
    m_faults.WrongStatus(status, replies);
}

void SimulatedChip::InjectDelay(int delayMs, int replies)
{
    std::lock_guard lock(m_mutex);
    m_faults.Delay(delayMs, replies);
}

void SimulatedChip::InjectAfterReply(const QByteArray &bytes, int delayMs, int replies)
{
    std::lock_guard lock(m_mutex);
    m_faults.AfterReply(bytes, delayMs, replies);
}

void SimulatedChip::DeferFaults(int replies)
{
    std::lock_guard lock(m_mutex);
    m_faults.Defer(replies);
}

void SimulatedChip::ClearFaults()
{
    std::lock_guard lock(m_mutex);
    m_faults.Clear();
}
