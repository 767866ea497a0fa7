#include "link/GdbCoreRegisters.h"

#include "link/GdbRemote.h"
#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"

#include <QXmlStreamReader>

#include <cctype>

namespace {

// Included files nest rarely more than once and are few; a server that
// loops or includes without end is cut off.
constexpr int kIncludeDepth = 4;
constexpr int kIncludeCount = 64;
// GDB's own numbers stay far below; a larger regnum is no register of ours.
constexpr int kLargestNumber = 4096;
constexpr int kFeatureChunk = 0x3F0;

struct ParseState
{
    int next = 0;
    int includes = 0;
    QHash<QByteArray, GdbCoreRegisters::Described> registers;
};

void ParseInto(const QByteArray &xml, const std::function<QByteArray(const QByteArray &)> &fetch, int depth,
               ParseState *state)
{
    QXmlStreamReader reader(xml);
    // Servers write xi:include without declaring its namespace.
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView element = reader.qualifiedName();
        const QXmlStreamAttributes attributes = reader.attributes();
        if ((element == u"xi:include" || element == u"include") && depth < kIncludeDepth &&
            state->includes < kIncludeCount) {
            ++state->includes;
            const QByteArray href = attributes.value("href").toLatin1();
            if (!href.isEmpty())
                ParseInto(fetch(href), fetch, depth + 1, state);
        } else if (element == u"reg") {
            bool ok = false;
            const int regnum = attributes.value("regnum").toInt(&ok);
            if (ok)
                state->next = regnum;
            if (state->next < 0 || state->next >= kLargestNumber) {
                state->next = kLargestNumber; // no usable number for it and those after it
                continue;
            }
            const int bits = qBound(0, attributes.value("bitsize").toInt(), 1024);
            state->registers.insert(attributes.value("name").toLatin1().toLower(), {state->next, bits});
            ++state->next;
        }
    }
}

// The binary escapes of a qXfer reply (the runs are expanded by then).
QByteArray Unescape(const QByteArray &data)
{
    QByteArray out;
    out.reserve(data.size());
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] == '}' && i + 1 < data.size())
            out.append(char(data[++i] ^ 0x20));
        else
            out.append(data[i]);
    }
    return out;
}

// Target byte order, little-endian for a Cortex-M.
std::optional<uint32_t> WordOf(const QByteArray &hex)
{
    if (hex.size() < 8)
        return std::nullopt;
    for (int i = 0; i < 8; ++i)
        if (!std::isxdigit(uchar(hex[i])))
            return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(hex.left(8));
    return uint32_t(uint8_t(bytes[0])) | uint32_t(uint8_t(bytes[1])) << 8 | uint32_t(uint8_t(bytes[2])) << 16 |
           uint32_t(uint8_t(bytes[3])) << 24;
}

bool IsErrorReply(const QByteArray &reply)
{
    return reply.startsWith('E') && (reply.size() == 3 || reply.startsWith("E."));
}

} // namespace

GdbCoreRegisters::GdbCoreRegisters(LinkCycle &cycle, GdbRemote &gdb, bool foundRunning)
    : m_cycle(cycle)
    , m_gdb(gdb)
    , m_foundRunning(foundRunning)
{}

QHash<QByteArray, GdbCoreRegisters::Described>
GdbCoreRegisters::Parse(const QByteArray &xml, const std::function<QByteArray(const QByteArray &)> &fetch)
{
    ParseState state;
    ParseInto(xml, fetch, 0, &state);
    return state.registers;
}

// The server stopped the core when the link opened; one that ran before
// was stopped by that opening, not by the user.
std::optional<bool> GdbCoreRegisters::Halted()
{
    return !m_foundRunning;
}

bool GdbCoreRegisters::FetchFeatures(const QByteArray &annex, QByteArray *text)
{
    text->clear();
    for (;;) {
        QByteArray reply;
        const QByteArray request = "qXfer:features:read:" + annex + ':' + QByteArray::number(text->size(), 16) + ',' +
                                   QByteArray::number(kFeatureChunk, 16);
        if (!m_gdb.Exchange(request, &reply))
            return false;
        if (reply.isEmpty() || (reply[0] != 'm' && reply[0] != 'l')) {
            text->clear();
            return true; // no description, or not this file
        }
        text->append(Unescape(reply.mid(1)));
        if (reply[0] == 'l' || reply.size() == 1)
            return true;
    }
}

bool GdbCoreRegisters::LoadDescription()
{
    if (m_described)
        return true;
    QByteArray xml;
    if (!FetchFeatures("target.xml", &xml))
        return false;
    bool fetchFailed = false;
    m_registers = Parse(xml, [&](const QByteArray &href) {
        QByteArray included;
        if (!fetchFailed && !FetchFeatures(href, &included))
            fetchFailed = true;
        return included;
    });
    m_described = !fetchFailed;
    return m_described;
}

bool GdbCoreRegisters::LoadBlock()
{
    if (m_blockLoaded)
        return true;
    QByteArray reply;
    if (!m_gdb.Exchange("g", &reply))
        return false;
    m_blockLoaded = true;
    if (!IsErrorReply(reply))
        m_block = reply;
    return true;
}

CoreRegisterPort::Outcome GdbCoreRegisters::LinkFailed(const char *registerName, bool write)
{
    m_cycle.Fail(
        MessageText::Format(write ? LinkMessages::kGdbRegisterWrite : LinkMessages::kGdbRegisterRead, registerName),
        m_gdb.FailureReason());
    m_cycle.Close();
    return Outcome::Failed;
}

CoreRegisterPort::Outcome GdbCoreRegisters::Read(CoreRegister id, uint32_t *value)
{
    const CoreRegisterInfo &info = CoreRegisters::Info(id);
    if (!LoadDescription())
        return LinkFailed(info.name, false);
    const auto described = m_registers.constFind(QByteArray(info.gdbName));
    std::optional<int> number;
    if (described != m_registers.constEnd())
        number = described->number;
    else if (m_registers.isEmpty() && id <= CoreRegister::PC)
        number = int(id); // without a description the block starts with r0 to pc
    if (!number)
        return Outcome::NotGiven;

    if (m_singleReads) {
        QByteArray reply;
        if (!m_gdb.Exchange('p' + QByteArray::number(*number, 16), &reply))
            return LinkFailed(info.name, false);
        if (!reply.isEmpty()) {
            const auto word = WordOf(reply);
            if (!word)
                return Outcome::NotGiven; // "E14", or "xxxxxxxx": the server does not have it
            *value = *word;
            return Outcome::Done;
        }
        m_singleReads = false;
    }
    // The block holds the registers in number order; a description names
    // each one's size (numbers it skips take no room, as a server that sent
    // it leaves them out), the core registers are words without one.
    if (!LoadBlock())
        return LinkFailed(info.name, false);
    qsizetype offset = m_registers.isEmpty() ? qsizetype(*number) * 8 : 0;
    for (const Described &other : std::as_const(m_registers))
        if (other.number < *number)
            offset += other.bits / 4;
    const auto word = WordOf(m_block.mid(offset, 8));
    if (!word)
        return Outcome::NotGiven;
    *value = *word;
    return Outcome::Done;
}

CoreRegisterPort::Outcome GdbCoreRegisters::Write(CoreRegister id, uint32_t value)
{
    const CoreRegisterInfo &info = CoreRegisters::Info(id);
    if (!LoadDescription())
        return LinkFailed(info.name, true);
    const auto described = m_registers.constFind(QByteArray(info.gdbName));
    int number = int(id);
    if (described != m_registers.constEnd())
        number = described->number;
    else if (!m_registers.isEmpty() || id > CoreRegister::PC)
        return Outcome::NotGiven;
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (8 * i));
    QByteArray reply;
    if (!m_gdb.Exchange('P' + QByteArray::number(number, 16) + '=' + bytes.toHex(), &reply))
        return LinkFailed(info.name, true);
    return reply == "OK" ? Outcome::Done : Outcome::NotGiven;
}
