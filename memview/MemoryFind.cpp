#include "memview/MemoryFind.h"

#include "link/LinkCycle.h"
#include "link/NumberInput.h"
#include "memview/DetachedUser.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace MemoryFind {

namespace {

std::optional<QByteArray> HexBytes(QString text)
{
    text.replace(QLatin1String("0x"), QString(), Qt::CaseInsensitive);
    text.remove(u' ');
    if (text.isEmpty() || text.size() % 2 != 0)
        return std::nullopt;
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); i += 2) {
        int value = 0;
        for (qsizetype k = i; k < i + 2; ++k) {
            const int digit = QStringLiteral("0123456789abcdef").indexOf(text[k].toLower());
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + digit;
        }
        bytes.append(char(value));
    }
    return bytes;
}

} // namespace

std::optional<Pattern> ParseBytes(const QString &text)
{
    std::optional<QByteArray> bytes = HexBytes(text);
    if (!bytes)
        return std::nullopt;
    return Pattern{*bytes, 1};
}

std::optional<Pattern> ParseWord(const QString &text)
{
    const std::optional<uint64_t> value = NumberInput::Value(text, NumberInput::kAddress);
    if (!value)
        return std::nullopt;
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(uint8_t(*value >> (8 * i))); // as the chip stores it
    return Pattern{bytes, 4};
}

Matcher::Matcher(Pattern pattern)
    : m_pattern(std::move(pattern))
{}

std::optional<uint32_t> Matcher::Feed(uint32_t address, const char *bytes, uint32_t count)
{
    const auto size = uint32_t(m_pattern.bytes.size());
    if (size == 0 || count == 0)
        return std::nullopt;
    if (m_tailEnd != address)
        m_tail.clear();
    QByteArray seen = m_tail;
    seen.append(bytes, qsizetype(count));
    const uint64_t seenFirst = uint64_t(address) - uint64_t(m_tail.size());
    for (qsizetype at = 0; at + qsizetype(size) <= seen.size();) {
        const qsizetype hit = seen.indexOf(m_pattern.bytes, at);
        if (hit < 0)
            break;
        if ((seenFirst + uint64_t(hit)) % m_pattern.alignment == 0)
            return uint32_t(seenFirst + uint64_t(hit));
        at = hit + 1;
    }
    const qsizetype keep = std::min<qsizetype>(seen.size(), qsizetype(size) - 1);
    m_tail = seen.right(keep);
    m_tailEnd = uint64_t(address) + count;
    return std::nullopt;
}

Result Run(const ConfigFile &config, TargetLinks &links, const ReadRules &rules, const Request &request,
           const std::function<void(uint64_t done, uint64_t total)> &progress, const std::function<bool()> &stopped)
{
    const auto cancelled = [&stopped] { return stopped && stopped(); };
    Result result;
    const uint64_t end = std::min(ReadRules::kSpaceSize, uint64_t(request.first) + request.length);
    const std::vector<AddressRun> runs = rules.Runs(request.first, end - request.first, TransferBuffer::kSize);
    uint64_t total = 0;
    for (const AddressRun &run : runs)
        total += run.length;
    Matcher matcher(request.pattern);
    TransferPace pace;
    std::size_t next = 0;
    uint32_t doneInRun = 0; // bytes of runs[next] read already
    while (next < runs.size()) {
        if (cancelled()) {
            result.cancelled = true;
            return result;
        }
        // A cancel also ends the wait for a link another action holds.
        const LinkCycleGateAttempt pass(links.gate, LinkCycleGate::Turn::Background, cancelled);
        if (!pass.Entered()) {
            result.cancelled = true;
            return result;
        }
        DetachedUser user(rules.ChipModel());
        UserContext context = user.Context();
        LinkCycle cycle(config, links, context, LinkCycleGate::Turn::Background);
        if (!cycle.Preface() || !cycle.Open()) {
            result.failure = user.failures.value(0);
            return result;
        }
        uint32_t inCycle = 0;
        while (next < runs.size() && inCycle < kCycleBytes && !cancelled()) {
            const AddressRun &run = runs[next];
            const AddressRun piece{run.first + doneInRun, std::min(run.length - doneInRun, pace.Bytes())};
            const auto started = std::chrono::steady_clock::now();
            if (!cycle.Read(piece.first, piece.length)) {
                result.failure = user.failures.value(0);
                return result;
            }
            pace.Took(piece.length, std::chrono::steady_clock::now() - started);
            doneInRun += piece.length;
            if (doneInRun == run.length) {
                ++next;
                doneInRun = 0;
            }
            inCycle += piece.length;
            result.searched += piece.length;
            // The run's words may reach past the stretch asked for.
            const uint64_t from = std::max<uint64_t>(piece.first, request.first);
            const uint64_t to = std::min<uint64_t>(piece.End(), end);
            const auto *bytes = reinterpret_cast<const char *>(cycle.Buffer().data()) + (from - piece.first);
            if (from < to)
                result.found = matcher.Feed(uint32_t(from), bytes, uint32_t(to - from));
            if (progress)
                progress(result.searched, total);
            if (result.found) {
                cycle.Close();
                return result;
            }
        }
        cycle.Close();
    }
    result.cancelled = cancelled() && next < runs.size();
    return result;
}

uint32_t TransferPace::Bytes() const
{
    return m_bytes;
}

void TransferPace::Took(uint32_t bytes, std::chrono::steady_clock::duration time)
{
    // What the link moves in the aim's time at the speed just seen, at most
    // four times the last transfer (a quick one says little of a slow link).
    const double seconds = std::max(std::chrono::duration<double>(time).count(), 1e-6);
    const double fitting = double(bytes) / seconds * std::chrono::duration<double>(kAim).count();
    const double limit = std::min<double>(4.0 * bytes, TransferBuffer::kSize);
    const auto next = uint32_t(std::clamp<double>(fitting, kLeast, limit));
    m_bytes = std::max<uint32_t>(kLeast, next & ~3u);
}

} // namespace MemoryFind
