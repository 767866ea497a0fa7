#include "ops/MemoryOps.h"

#include "link/ChipProfile.h"
#include "link/DiskFile.h"
#include "link/LinkCycle.h"
#include "link/MessageText.h"
#include "ops/HexText.h"
#include "ops/OpsMessages.h"
#include "link/Tr.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <unistd.h>

namespace MemoryOps {

namespace {

// Rounds the length up to whole words, or caps it with a note when the
// rounded length would be above the cap. Never wraps around.
uint32_t RoundAndCap(LinkCycle &cycle, uint32_t length, uint32_t cap, const char *capMessage)
{
    if (length > cap) {
        cycle.Note(Tr(capMessage));
        return cap;
    }
    return (length + 3) & ~3u;
}

// Every byte a transfer moves is checked against the chip table before the
// link is touched: one refused byte refuses the whole transfer, so nothing
// lands in a refused window and nothing is half written.
bool ReadReachable(LinkCycle &cycle, uint32_t address, uint64_t length)
{
    if (const auto refusal = ChipProfile::FirstRefusedRead(cycle.ChipModel(), address, length))
        return cycle.Fail(ChipProfile::RefusalText(*refusal, address));
    return true;
}

bool WriteReachable(LinkCycle &cycle, uint32_t address, uint64_t length)
{
    if (const auto refusal = ChipProfile::FirstRefusedWrite(cycle.ChipModel(), address, length))
        return cycle.Fail(ChipProfile::RefusalText(*refusal, address));
    return true;
}

// The checks shared by both reads, then the length rounded to whole words
// and capped, every byte of it readable. Returns the length, or 0 when a
// check failed (its message is shown).
uint32_t CheckedReadLength(LinkCycle &cycle, uint32_t address, const QString &lengthText, uint32_t cap,
                           const char *capMessage)
{
    if (const auto message = ChipProfile::CheckReadAddress(cycle.ChipModel(), address))
        return cycle.Fail(*message), 0;
    if (address % 4 != 0)
        return cycle.Fail(OpsMessages::kAlign), 0;
    const uint32_t length = HexText::ParseHexText(lengthText);
    if (length == 0)
        return cycle.Fail(OpsMessages::kZeroLength), 0;
    const uint32_t rounded = RoundAndCap(cycle, length, cap, capMessage);
    return ReadReachable(cycle, address, rounded) ? rounded : 0;
}

bool CheckedWriteAddress(LinkCycle &cycle, uint32_t address)
{
    if (const auto message = ChipProfile::CheckWriteAddress(cycle.ChipModel(), address))
        return cycle.Fail(*message);
    if (address % 4 != 0)
        return cycle.Fail(OpsMessages::kAlign);
    return true;
}

// "写入"'s steps after the preface, for a word already known.
bool WriteWholeWord(LinkCycle &cycle, uint32_t address, uint32_t value)
{
    if (!CheckedWriteAddress(cycle, address) || !WriteReachable(cycle, address, 4))
        return false;
    cycle.Buffer().SetWord(0, value);
    if (!cycle.Open() || !cycle.Write(address, 4))
        return false;
    cycle.Close();
    return true;
}

// Both file transfers ask for their file right after the preface.
QString ChooseMemoryFile(OperationEnv &env, LinkCycle &cycle, MemoryFileUse use)
{
    const QString path = env.user.files.ChooseFile(MemoryFileRequest(use));
    if (path.isEmpty())
        cycle.Fail(OpsMessages::kNoFile);
    return path;
}

// Chunk addresses are 32-bit: a file running past the top of the address
// space would wrap around and overwrite low memory.
bool FitsBelowTop(LinkCycle &cycle, qint64 size, uint32_t address)
{
    if (size > (qint64(1) << 32) - address)
        return cycle.Fail(OpsMessages::kFileTooLarge);
    return true;
}

void ReportProgress(OperationEnv &env, qint64 done, qint64 total)
{
    if (env.progress)
        env.progress(done, total);
}

// Between two chunks a transfer asked to end lets the target go as a
// finished one does (leave frame, detach), then says how far it got.
bool StoppedBetweenChunks(OperationEnv &env, LinkCycle &cycle, qint64 done, qint64 total)
{
    if (!env.stopRequested || !env.stopRequested())
        return false;
    cycle.Close();
    cycle.Fail(MessageText::Format(OpsMessages::kTransferStopped, uint32_t(done), uint32_t(total)));
    return true;
}

constexpr int kOutputDeadlineMs = 3000;

// The output's descriptor, closed on every way out.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    bool Close()
    {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

QString OutputRefusal(const QString &path)
{
    if (errno == EINVAL)
        return MessageText::Format(OpsMessages::kNotAnOutput, path.toUtf8().constData());
    return MessageText::Format(OpsMessages::kPathReason, path.toUtf8().constData(), std::strerror(errno));
}

QString InputRefusal(const QString &path)
{
    if (QFileInfo::exists(path) && !DiskFile::IsRegular(path))
        return MessageText::Format(OpsMessages::kNotAnInput, path.toUtf8().constData());
    return QString();
}

QString OutputWriteReason(const QString &path, DiskFile::WriteEnd end)
{
    if (end == DiskFile::WriteEnd::Stalled)
        return MessageText::Format(OpsMessages::kOutputStalled, path.toUtf8().constData(), kOutputDeadlineMs);
    return MessageText::Format(OpsMessages::kPathReason, path.toUtf8().constData(), std::strerror(errno));
}

} // namespace

void Read(OperationEnv &env, const QString &addressText, const QString &lengthText, DumpView &dump)
{
    dump.SetDumpText(QString());
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return;
    const uint32_t address = HexText::ParseHexText(addressText);
    const uint32_t length = CheckedReadLength(cycle, address, lengthText, kDumpCap, OpsMessages::kDumpCapped);
    if (length == 0)
        return;
    if (!cycle.Open() || !cycle.Read(address, length))
        return;
    cycle.Close();
    dump.SetDumpText(HexText::DumpText(cycle.Buffer().data(), length, address));
}

void ReadToFile(OperationEnv &env, const QString &addressText, const QString &lengthText, DumpView &dump)
{
    dump.SetDumpText(QString());
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return;
    const QString path = ChooseMemoryFile(env, cycle, MemoryFileUse::Save);
    if (path.isEmpty())
        return;
    const uint32_t address = HexText::ParseHexText(addressText);
    const uint32_t length = CheckedReadLength(cycle, address, lengthText, kFileCap, OpsMessages::kFileCapped);
    if (length == 0)
        return;
    // A FIFO, a folder or a socket is refused with the other inputs, before
    // the link is touched.
    if (!DiskFile::TakesOutput(path)) {
        errno = EINVAL;
        return void(cycle.Fail(OpsMessages::kOutputCreate, OutputRefusal(path)));
    }
    if (!cycle.Open())
        return;

    // Every write reaches the file at once, so a full disk (or /dev/full)
    // fails that write rather than a final flush nobody checks; a FIFO is
    // refused and a device that stops taking bytes fails by its deadline.
    const int fd = DiskFile::OpenOutput(path);
    if (fd < 0) {
        cycle.Fail(OpsMessages::kOutputCreate, OutputRefusal(path));
        cycle.CloseWithoutLeave();
        return;
    }
    FileDescriptor output(fd);
    const uint32_t chunks = (length + kChunkSize - 1) / kChunkSize;
    for (uint32_t k = 0; k < chunks; ++k) {
        const uint32_t chunkAddress = address + k * kChunkSize;
        const uint32_t chunkSize = std::min(kChunkSize, length - k * kChunkSize);
        if (StoppedBetweenChunks(env, cycle, qint64(k) * kChunkSize, length))
            return;
        if (!cycle.Read(chunkAddress, chunkSize))
            return;
        // A full disk must not pass for a complete image.
        const DiskFile::WriteEnd end = DiskFile::WriteWithin(fd, reinterpret_cast<const char *>(cycle.Buffer().data()),
                                                             chunkSize, kOutputDeadlineMs, env.stopRequested);
        if (end == DiskFile::WriteEnd::Stopped) {
            cycle.Close();
            cycle.Fail(MessageText::Format(OpsMessages::kTransferStopped, k * kChunkSize, length));
            return;
        }
        if (end != DiskFile::WriteEnd::Written) {
            cycle.Fail(OpsMessages::kOutputWrite, OutputWriteReason(path, end));
            return;
        }
        if (k == 0 && cycle.PreviewsFileReads())
            dump.SetDumpText(HexText::PreviewText(cycle.Buffer().data(), chunkSize));
        ReportProgress(env, qint64(k) * kChunkSize + chunkSize, length);
    }
    if (!output.Close()) {
        cycle.Fail(OpsMessages::kOutputWrite, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    cycle.Close();
}

void WriteWord(OperationEnv &env, const QString &addressText, const QString &dataText)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return;
    const uint32_t address = HexText::ParseHexText(addressText);
    if (!CheckedWriteAddress(cycle, address) || !WriteReachable(cycle, address, 4))
        return;
    const QString data = dataText.left(HexText::kDataWordChars);
    if (data.isEmpty())
        return void(cycle.Fail(OpsMessages::kNoData));
    cycle.Buffer().SetWord(0, HexText::ParseHexText(data, HexText::kDataWordChars));
    if (!cycle.Open() || !cycle.Write(address, 4))
        return;
    cycle.Close();
}

bool WriteUnit(OperationEnv &env, uint32_t address, uint32_t size, uint32_t value)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return false;
    if (size != 1 && size != 2)
        return WriteWholeWord(cycle, address, value);
    if (const auto message = ChipProfile::CheckWriteAddress(cycle.ChipModel(), address))
        return cycle.Fail(*message);
    // A link of whole words writes the unit's whole word.
    const uint32_t reach = cycle.WritesBytes() ? address : address & ~3u;
    if (!WriteReachable(cycle, reach, cycle.WritesBytes() ? size : 4))
        return false;
    if (!cycle.Open())
        return false;
    TransferBuffer &buffer = cycle.Buffer();
    if (cycle.WritesBytes()) {
        for (uint32_t i = 0; i < size; ++i)
            buffer[i] = uint8_t(value >> (8 * i));
        if (!cycle.Write(address, size))
            return false;
    } else {
        // The link moves whole words: the unit's bytes go into the word the
        // chip holds now, and the word goes back.
        const uint32_t word = address & ~3u;
        if (!cycle.Read(word, 4))
            return false;
        for (uint32_t i = 0; i < size; ++i)
            buffer[(address - word) + i] = uint8_t(value >> (8 * i));
        if (!cycle.Write(word, 4))
            return false;
    }
    cycle.Close();
    return true;
}

void WriteFromFile(OperationEnv &env, const QString &readAddressText)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return;
    const QString path = ChooseMemoryFile(env, cycle, MemoryFileUse::Load);
    if (path.isEmpty())
        return;
    const uint32_t address = HexText::ParseHexText(readAddressText);
    if (!CheckedWriteAddress(cycle, address))
        return;
    // The size is checked with the other inputs, before the link is touched;
    // once more after the open, for a file that grew in between. Every byte
    // goes out in whole words.
    const auto fits = [&](qint64 size) {
        return FitsBelowTop(cycle, size, address) &&
               WriteReachable(cycle, address, (uint64_t(size) + 3) & ~uint64_t(3));
    };
    if (QFileInfo(path).isFile() && !fits(QFileInfo(path).size()))
        return;
    if (!cycle.Open())
        return;

    // Never blocks on a FIFO or a device, which are no input file.
    QFile file;
    const int fd = DiskFile::OpenRegular(path);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        cycle.Fail(OpsMessages::kInputOpen, InputRefusal(path));
        cycle.CloseWithoutLeave();
        return;
    }
    const qint64 size = file.size();
    if (!fits(size)) {
        cycle.Close();
        return;
    }
    const qint64 chunks = (size + kChunkSize - 1) / kChunkSize;
    for (qint64 k = 0; k < chunks; ++k) {
        const uint32_t chunkAddress = address + uint32_t(k) * kChunkSize;
        const uint32_t chunkSize = uint32_t(std::min<qint64>(kChunkSize, size - k * kChunkSize));
        if (StoppedBetweenChunks(env, cycle, k * kChunkSize, size))
            return;
        uint8_t *data = cycle.Buffer().data();
        // A file that shrinks while it is written must not send stale buffer
        // bytes as its content.
        if (file.read(reinterpret_cast<char *>(data), chunkSize) != chunkSize) {
            cycle.Fail(OpsMessages::kInputRead);
            return;
        }
        // Whole words go out over the UART link: the bytes past the file's end
        // are zeros, not leftovers of an earlier transfer.
        std::memset(data + chunkSize, 0, ((chunkSize + 3) & ~3u) - chunkSize);
        if (!cycle.Write(chunkAddress, chunkSize))
            return;
        ReportProgress(env, k * kChunkSize + chunkSize, size);
    }
    cycle.Close();
}

} // namespace MemoryOps
