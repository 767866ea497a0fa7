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

// The failure the cycle has just shown, typed.
Result Shown(const LinkCycle &cycle, Outcome outcome, std::optional<uint32_t> address = std::nullopt)
{
    return {outcome, cycle.ShownFailure(), cycle.ShownReason(), address};
}

Result Refuse(LinkCycle &cycle, const QString &message, std::optional<uint32_t> address = std::nullopt)
{
    cycle.Fail(message);
    return Shown(cycle, Outcome::Refused, address);
}

// A catalogue text: shown in the language installed.
Result Refuse(LinkCycle &cycle, const char *message, std::optional<uint32_t> address = std::nullopt)
{
    cycle.Fail(message);
    return Shown(cycle, Outcome::Refused, address);
}

Result FileFailure(LinkCycle &cycle, const char *message, const QString &reason)
{
    cycle.Fail(message, reason);
    return Shown(cycle, Outcome::FileFailed);
}

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
Result ReadReachable(LinkCycle &cycle, uint32_t address, uint64_t length)
{
    if (const auto refusal = ChipProfile::FirstRefusedRead(cycle.ChipModel(), address, length))
        return Refuse(cycle, ChipProfile::RefusalText(*refusal, address), refusal->address);
    return {};
}

Result WriteReachable(LinkCycle &cycle, uint32_t address, uint64_t length)
{
    if (const auto refusal = ChipProfile::FirstRefusedWrite(cycle.ChipModel(), address, length))
        return Refuse(cycle, ChipProfile::RefusalText(*refusal, address), refusal->address);
    return {};
}

// The checks shared by both reads, then the length rounded to whole words
// and capped, every byte of it readable: *length takes the rounded length.
Result CheckedReadLength(LinkCycle &cycle, uint32_t address, uint32_t *length, uint32_t cap, const char *capMessage)
{
    if (const auto message = ChipProfile::CheckReadAddress(cycle.ChipModel(), address))
        return Refuse(cycle, *message, address);
    if (address % 4 != 0)
        return Refuse(cycle, OpsMessages::kAlign, address);
    if (*length == 0)
        return Refuse(cycle, OpsMessages::kZeroLength);
    *length = RoundAndCap(cycle, *length, cap, capMessage);
    return ReadReachable(cycle, address, *length);
}

Result CheckedWriteAddress(LinkCycle &cycle, uint32_t address)
{
    if (const auto message = ChipProfile::CheckWriteAddress(cycle.ChipModel(), address))
        return Refuse(cycle, *message, address);
    if (address % 4 != 0)
        return Refuse(cycle, OpsMessages::kAlign, address);
    return {};
}

// Opens the link; its failure is the link's.
Result Opened(LinkCycle &cycle)
{
    return cycle.Open() ? Result() : Shown(cycle, Outcome::LinkFailed);
}

Result ReadOver(LinkCycle &cycle, uint32_t address, uint32_t byteCount)
{
    return cycle.Read(address, byteCount) ? Result() : Shown(cycle, Outcome::LinkFailed, address);
}

Result WriteOver(LinkCycle &cycle, uint32_t address, uint32_t byteCount)
{
    return cycle.Write(address, byteCount) ? Result() : Shown(cycle, Outcome::LinkFailed, address);
}

// "写入"'s steps after the preface, for a word already known.
Result WriteWholeWord(LinkCycle &cycle, uint32_t address, uint32_t value)
{
    if (Result checked = CheckedWriteAddress(cycle, address); !checked.Succeeded())
        return checked;
    if (Result reachable = WriteReachable(cycle, address, 4); !reachable.Succeeded())
        return reachable;
    cycle.Buffer().SetWord(0, value);
    if (Result opened = Opened(cycle); !opened.Succeeded())
        return opened;
    if (Result written = WriteOver(cycle, address, 4); !written.Succeeded())
        return written;
    cycle.Close();
    return {};
}

// Both file transfers ask for their file right after the preface; an
// empty path is the refusal.
QString ChooseMemoryFile(OperationEnv &env, MemoryFileUse use)
{
    return env.user.files.ChooseFile(MemoryFileRequest(use));
}

// Chunk addresses are 32-bit: a file running past the top of the address
// space would wrap around and overwrite low memory.
Result FitsBelowTop(LinkCycle &cycle, qint64 size, uint32_t address)
{
    if (size > (qint64(1) << 32) - address)
        return Refuse(cycle, OpsMessages::kFileTooLarge, address);
    return {};
}

void ReportProgress(OperationEnv &env, qint64 done, qint64 total)
{
    if (env.progress)
        env.progress(done, total);
}

// Between two chunks a transfer asked to end lets the target go as a
// finished one does (leave frame, detach), then says how far it got.
Result Stopped(LinkCycle &cycle, qint64 done, qint64 total)
{
    cycle.Close();
    cycle.Fail(MessageText::Format(OpsMessages::kTransferStopped, uint32_t(done), uint32_t(total)));
    return Shown(cycle, Outcome::Stopped);
}

bool StopRequested(OperationEnv &env)
{
    return env.stopRequested && env.stopRequested();
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

Result Read(OperationEnv &env, uint32_t address, uint32_t length, DumpView &dump)
{
    dump.SetDumpText(QString());
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return Shown(cycle, Outcome::Offline);
    if (Result checked = CheckedReadLength(cycle, address, &length, kDumpCap, OpsMessages::kDumpCapped);
        !checked.Succeeded())
        return checked;
    if (Result opened = Opened(cycle); !opened.Succeeded())
        return opened;
    if (Result read = ReadOver(cycle, address, length); !read.Succeeded())
        return read;
    cycle.Close();
    dump.SetDumpText(HexText::DumpText(cycle.Buffer().data(), length, address));
    return {};
}

Result ReadToFile(OperationEnv &env, uint32_t address, uint32_t length, DumpView &dump)
{
    dump.SetDumpText(QString());
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return Shown(cycle, Outcome::Offline);
    const QString path = ChooseMemoryFile(env, MemoryFileUse::Save);
    if (path.isEmpty())
        return Refuse(cycle, OpsMessages::kNoFile);
    if (Result checked = CheckedReadLength(cycle, address, &length, kFileCap, OpsMessages::kFileCapped);
        !checked.Succeeded())
        return checked;
    // A FIFO, a folder or a socket is refused with the other inputs, before
    // the link is touched.
    if (!DiskFile::TakesOutput(path)) {
        errno = EINVAL;
        return FileFailure(cycle, OpsMessages::kOutputCreate, OutputRefusal(path));
    }
    if (Result opened = Opened(cycle); !opened.Succeeded())
        return opened;

    // Every write reaches the file at once, so a full disk (or /dev/full)
    // fails that write rather than a final flush nobody checks; a FIFO is
    // refused and a device that stops taking bytes fails by its deadline.
    const int fd = DiskFile::OpenOutput(path);
    if (fd < 0) {
        Result failed = FileFailure(cycle, OpsMessages::kOutputCreate, OutputRefusal(path));
        cycle.CloseWithoutLeave();
        return failed;
    }
    FileDescriptor output(fd);
    const uint32_t chunks = (length + kChunkSize - 1) / kChunkSize;
    for (uint32_t k = 0; k < chunks; ++k) {
        const uint32_t chunkAddress = address + k * kChunkSize;
        const uint32_t chunkSize = std::min(kChunkSize, length - k * kChunkSize);
        if (StopRequested(env))
            return Stopped(cycle, qint64(k) * kChunkSize, length);
        if (Result read = ReadOver(cycle, chunkAddress, chunkSize); !read.Succeeded())
            return read;
        // A full disk must not pass for a complete image.
        const DiskFile::WriteEnd end = DiskFile::WriteWithin(fd, reinterpret_cast<const char *>(cycle.Buffer().data()),
                                                             chunkSize, kOutputDeadlineMs, env.stopRequested);
        if (end == DiskFile::WriteEnd::Stopped)
            return Stopped(cycle, qint64(k) * kChunkSize, length);
        if (end != DiskFile::WriteEnd::Written)
            return FileFailure(cycle, OpsMessages::kOutputWrite, OutputWriteReason(path, end));
        if (k == 0 && cycle.PreviewsFileReads())
            dump.SetDumpText(HexText::PreviewText(cycle.Buffer().data(), chunkSize));
        ReportProgress(env, qint64(k) * kChunkSize + chunkSize, length);
    }
    if (!output.Close())
        return FileFailure(cycle, OpsMessages::kOutputWrite, QString::fromLocal8Bit(std::strerror(errno)));
    cycle.Close();
    return {};
}

Result WriteWord(OperationEnv &env, uint32_t address, std::optional<uint32_t> word)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return Shown(cycle, Outcome::Offline);
    if (Result checked = CheckedWriteAddress(cycle, address); !checked.Succeeded())
        return checked;
    if (Result reachable = WriteReachable(cycle, address, 4); !reachable.Succeeded())
        return reachable;
    if (!word)
        return Refuse(cycle, OpsMessages::kNoData);
    cycle.Buffer().SetWord(0, *word);
    if (Result opened = Opened(cycle); !opened.Succeeded())
        return opened;
    if (Result written = WriteOver(cycle, address, 4); !written.Succeeded())
        return written;
    cycle.Close();
    return {};
}

Result WriteUnit(OperationEnv &env, uint32_t address, uint32_t size, uint32_t value)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return Shown(cycle, Outcome::Offline);
    if (size != 1 && size != 2)
        return WriteWholeWord(cycle, address, value);
    if (const auto message = ChipProfile::CheckWriteAddress(cycle.ChipModel(), address))
        return Refuse(cycle, *message, address);
    // A link of whole words writes the unit's whole word.
    const uint32_t reach = cycle.WritesBytes() ? address : address & ~3u;
    if (Result reachable = WriteReachable(cycle, reach, cycle.WritesBytes() ? size : 4); !reachable.Succeeded())
        return reachable;
    if (Result opened = Opened(cycle); !opened.Succeeded())
        return opened;
    TransferBuffer &buffer = cycle.Buffer();
    if (cycle.WritesBytes()) {
        for (uint32_t i = 0; i < size; ++i)
            buffer[i] = uint8_t(value >> (8 * i));
        if (Result written = WriteOver(cycle, address, size); !written.Succeeded())
            return written;
    } else {
        // The link moves whole words: the unit's bytes go into the word the
        // chip holds now, and the word goes back.
        const uint32_t word = address & ~3u;
        if (Result read = ReadOver(cycle, word, 4); !read.Succeeded())
            return read;
        for (uint32_t i = 0; i < size; ++i)
            buffer[(address - word) + i] = uint8_t(value >> (8 * i));
        if (Result written = WriteOver(cycle, word, 4); !written.Succeeded())
            return written;
    }
    cycle.Close();
    return {};
}

Result WriteFromFile(OperationEnv &env, uint32_t address)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return Shown(cycle, Outcome::Offline);
    const QString path = ChooseMemoryFile(env, MemoryFileUse::Load);
    if (path.isEmpty())
        return Refuse(cycle, OpsMessages::kNoFile);
    if (Result checked = CheckedWriteAddress(cycle, address); !checked.Succeeded())
        return checked;
    // The size is checked with the other inputs, before the link is touched;
    // once more after the open, for a file that grew in between. Every byte
    // goes out in whole words.
    const auto fits = [&](qint64 size) {
        if (Result below = FitsBelowTop(cycle, size, address); !below.Succeeded())
            return below;
        return WriteReachable(cycle, address, (uint64_t(size) + 3) & ~uint64_t(3));
    };
    if (QFileInfo(path).isFile())
        if (Result fitting = fits(QFileInfo(path).size()); !fitting.Succeeded())
            return fitting;
    if (Result opened = Opened(cycle); !opened.Succeeded())
        return opened;

    // Never blocks on a FIFO or a device, which are no input file.
    QFile file;
    const int fd = DiskFile::OpenRegular(path);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        Result failed = FileFailure(cycle, OpsMessages::kInputOpen, InputRefusal(path));
        cycle.CloseWithoutLeave();
        return failed;
    }
    const qint64 size = file.size();
    if (Result fitting = fits(size); !fitting.Succeeded()) {
        cycle.Close();
        return fitting;
    }
    const qint64 chunks = (size + kChunkSize - 1) / kChunkSize;
    for (qint64 k = 0; k < chunks; ++k) {
        const uint32_t chunkAddress = address + uint32_t(k) * kChunkSize;
        const uint32_t chunkSize = uint32_t(std::min<qint64>(kChunkSize, size - k * kChunkSize));
        if (StopRequested(env))
            return Stopped(cycle, k * kChunkSize, size);
        uint8_t *data = cycle.Buffer().data();
        // A file that shrinks while it is written must not send stale buffer
        // bytes as its content.
        if (file.read(reinterpret_cast<char *>(data), chunkSize) != chunkSize)
            return FileFailure(cycle, OpsMessages::kInputRead, QString());
        // Whole words go out over the UART link: the bytes past the file's end
        // are zeros, not leftovers of an earlier transfer.
        std::memset(data + chunkSize, 0, ((chunkSize + 3) & ~3u) - chunkSize);
        if (Result written = WriteOver(cycle, chunkAddress, chunkSize); !written.Succeeded())
            return written;
        ReportProgress(env, k * kChunkSize + chunkSize, size);
    }
    cycle.Close();
    return {};
}

} // namespace MemoryOps
