#include "xml/XmlDocument.h"

#include "xml/XmlCharClass.h"
#include "xml/XmlNodeScanner.h"
#include "xml/XmlReferenceDecoder.h"
#include "xml/XmlTreeBuilder.h"

#include <QFile>
#include <QStringDecoder>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace XmlCharClass;

namespace {

// Offsets are 32-bit signed in the element records; a UTF-8 file never
// decodes to more code units than it has bytes.
constexpr qint64 kMaxFileBytes = std::numeric_limits<std::int32_t>::max() - 1;

QString SystemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Whether every byte is below 0x80, so each stands for its own UTF-16 code unit.
bool IsAscii(const char *bytes, qsizetype length)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    for (; i + 64 <= length; i += 64) {
        const auto *p = reinterpret_cast<const __m128i *>(bytes + i);
        const __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(p), _mm_loadu_si128(p + 1)),
                                         _mm_or_si128(_mm_loadu_si128(p + 2), _mm_loadu_si128(p + 3)));
        if (_mm_movemask_epi8(any) != 0)
            return false;
    }
#endif
    unsigned char any = 0;
    for (; i < length; ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return any < 0x80;
}

QAnyStringView ViewOf(const char16_t *text, qsizetype length)
{
    return QStringView(text, length);
}

QAnyStringView ViewOf(const char *text, qsizetype length)
{
    return QLatin1StringView(text, length);
}

template<typename CharT> bool SameUnits(const char16_t *name, qsizetype length, const CharT *text)
{
    for (qsizetype i = 0; i < length; ++i) {
        if (name[i] != char16_t(text[i]))
            return false;
    }
    return true;
}

} // namespace

XmlDocument::XmlDocument()
    : m_errorText(QStringLiteral("Empty document"))
    , m_records(1)
{}

bool XmlDocument::LoadFile(const QString &path)
{
    // Opened without blocking: a FIFO in place of the file would otherwise
    // hold the caller forever. Only a regular file is a document.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_errorText = SystemMessage(errno);
        return false;
    }
    struct stat info
    {
    };
    int error = 0;
    if (fstat(fd, &info) != 0)
        error = errno;
    else if (S_ISDIR(info.st_mode))
        error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        error = EINVAL;
    else if (info.st_size > kMaxFileBytes)
        error = EFBIG;
    else if (::fcntl(fd, F_SETFL, 0) != 0) // blocking reads again
        error = errno;
    if (error != 0) {
        ::close(fd);
        m_errorText = SystemMessage(error);
        return false;
    }
    // Straight into the buffer the document keeps: one read, more only if
    // the file comes in pieces.
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, std::size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = errno;
        if (got <= 0)
            break;
        filled += got;
    }
    ::close(fd);
    if (error != 0) {
        m_errorText = SystemMessage(error);
        return false;
    }
    bytes.truncate(filled);
    LoadOwnedBytes(std::move(bytes));
    return true;
}

void XmlDocument::LoadBytes(QByteArrayView bytes)
{
    if (bytes.size() > kMaxFileBytes)
        bytes = bytes.first(kMaxFileBytes);
    if (IsAscii(bytes.data(), bytes.size()))
        LoadAscii(bytes.toByteArray());
    else
        LoadDecoded(bytes);
}

void XmlDocument::LoadBytes(const QByteArray &bytes)
{
    if (bytes.size() > kMaxFileBytes)
        LoadBytes(QByteArrayView(bytes));
    else
        LoadOwnedBytes(bytes);
}

void XmlDocument::LoadOwnedBytes(QByteArray bytes)
{
    if (IsAscii(bytes.constData(), bytes.size()))
        LoadAscii(std::move(bytes));
    else
        LoadDecoded(bytes);
}

void XmlDocument::LoadAscii(QByteArray bytes)
{
    m_text.clear();
    m_bytes = std::move(bytes);
    m_narrow = true;
    const QString count = QString::number(m_bytes.size());
    m_errorText = QStringLiteral("%1 bytes to %2 wide chars").arg(count, count);
    Parse();
}

void XmlDocument::LoadDecoded(QByteArrayView bytes)
{
    m_bytes.clear();
    m_narrow = false;
    // Invalid sequences become U+FFFD; a leading byte-order mark stays as U+FEFF.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    m_text = decoder.decode(bytes);
    m_errorText =
        QStringLiteral("%1 bytes to %2 wide chars").arg(QString::number(bytes.size()), QString::number(m_text.size()));
    Parse();
}

void XmlDocument::Parse()
{
    const QString loadNote = m_errorText;
    QString error;
    Rewind();
    m_records.clear();
    // Sample vendor files hold an element per 40 to 50 characters; reserving
    // for one per 32 avoids a regrowth copy, and untouched capacity costs no pages.
    m_records.reserve(std::size_t(TextLength() / 32 + 8));
    m_records.emplace_back();
    m_longTags.clear();

    if (TextLength() == 0)
        error = QStringLiteral("Empty document");
    else
        error = WithText([this](const auto *text, qsizetype length) { return ParseText(text, length); });

    Rewind();
    if (loadNote.isEmpty())
        m_errorText = error;
    else if (error.isEmpty())
        m_errorText = loadNote;
    else
        m_errorText = loadNote + QStringLiteral(", ") + error;
}

template<typename CharT> QString XmlDocument::ParseText(const CharT *text, qsizetype length)
{
    XmlTreeBuilder<CharT> builder(text, length, m_records, m_longTags);
    QString error = builder.Build();
    XmlElementRecord &document = m_records[0];
    document.length = std::int32_t(length);
    if (m_records.size() > 1) {
        document.firstChild = 1;
        if (m_records[1].nextSibling != 0)
            error = QStringLiteral("Root element has sibling");
    } else {
        error = QStringLiteral("No root element");
    }
    return error;
}

QString XmlDocument::Text() const
{
    return m_narrow ? QString::fromLatin1(m_bytes) : m_text;
}

bool XmlDocument::IsSound() const
{
    const XmlElementRecord &document = m_records[0];
    return (document.flags & XmlElementRecord::IllFormed) == 0 && document.firstChild != 0 &&
           m_records[document.firstChild].nextSibling == 0;
}

bool XmlDocument::FindElement(QStringView name)
{
    std::uint32_t candidate = m_current != 0 ? m_records[m_current].nextSibling : m_records[m_parent].firstChild;
    for (; candidate != 0; candidate = m_records[candidate].nextSibling) {
        if (name.isEmpty() || NameMatches(candidate, name)) {
            m_current = candidate;
            m_remembered = 0;
            return true;
        }
    }
    return false;
}

bool XmlDocument::EnterElement()
{
    if (m_current == 0)
        return false;
    m_parent = m_current;
    m_current = m_remembered;
    m_remembered = 0;
    return true;
}

bool XmlDocument::LeaveElement()
{
    if (m_parent == 0)
        return false;
    m_remembered = m_current;
    m_current = m_parent;
    m_parent = m_records[m_parent].parent;
    return true;
}

void XmlDocument::Rewind()
{
    m_parent = 0;
    m_current = 0;
    m_remembered = 0;
}

XmlDocument::TagLengths XmlDocument::TagLengthsOf(std::uint32_t index) const
{
    const XmlElementRecord &r = m_records[index];
    if (r.flags & XmlElementRecord::LongTags)
        return m_longTags.at(index);
    return {std::int32_t(r.PackedStartTagLength()), std::int32_t(r.PackedEndTagLength())};
}

// The name as the cursor sees it: from the first character after '<' and any
// blanks, up to the first blank or markup character.
XmlDocument::Span XmlDocument::TagNameSpan(std::uint32_t index) const
{
    if (index == 0)
        return {0, 0};
    return WithText([this, index](const auto *text, qsizetype end) -> Span {
        qsizetype pos = m_records[index].start + 1;
        while (pos < end && IsSpace(text[pos]))
            ++pos;
        qsizetype stop = pos;
        while (stop < end && !Is(text[stop], MatchStop))
            ++stop;
        return {pos, stop - pos};
    });
}

QAnyStringView XmlDocument::TagName(std::uint32_t index) const
{
    if (index == 0)
        return {};
    const Span name = TagNameSpan(index);
    return WithText([name](const auto *text, qsizetype) { return ViewOf(text + name.start, name.length); });
}

bool XmlDocument::TagIs(std::uint32_t index, QStringView name) const
{
    if (index == 0)
        return name.isEmpty();
    return WithText([&](const auto *text, qsizetype end) {
        const qsizetype pos = m_records[index].start + 1;
        const qsizetype stop = pos + name.size();
        if (stop >= end || IsSpace(text[pos])) {
            const Span tag = TagNameSpan(index);
            return tag.length == name.size() && SameUnits(name.utf16(), name.size(), text + tag.start);
        }
        return SameUnits(name.utf16(), name.size(), text + pos) && Is(text[stop], MatchStop);
    });
}

// Exact on the whole tag name; anything in `name` from a blank, '=', '/', '['
// or ']' on is ignored.
bool XmlDocument::NameMatches(std::uint32_t index, QStringView name) const
{
    const Span tag = TagNameSpan(index);
    if (tag.length > name.size())
        return false;
    const bool same =
        WithText([&](const auto *text, qsizetype) { return SameUnits(name.utf16(), tag.length, text + tag.start); });
    if (!same)
        return false;
    return tag.length == name.size() || Is(name[tag.length].unicode(), NameTail);
}

QString XmlDocument::ElementText() const
{
    return ElementTextOf(m_current);
}

QString XmlDocument::AttributeOf(std::uint32_t index, QStringView name) const
{
    if (index == 0 || index >= m_records.size())
        return {};
    const qsizetype tagStart = m_records[index].start;
    const qsizetype tagEnd = tagStart + TagLengthsOf(index).startTag;
    const Span tagName = TagNameSpan(index);
    return WithText([&](const auto *text, qsizetype) -> QString {
        qsizetype pos = tagName.start + tagName.length;
        while (pos < tagEnd) {
            while (pos < tagEnd && (IsSpace(text[pos]) || text[pos] == u'/'))
                ++pos;
            const qsizetype nameStart = pos;
            while (pos < tagEnd && !IsSpace(text[pos]) && text[pos] != u'=' && text[pos] != u'>' && text[pos] != u'/')
                ++pos;
            const qsizetype attributeLength = pos - nameStart;
            while (pos < tagEnd && IsSpace(text[pos]))
                ++pos;
            if (pos >= tagEnd || text[pos] != u'=') {
                if (pos == nameStart)
                    ++pos; // a stray character: step over it
                continue;
            }
            ++pos;
            while (pos < tagEnd && IsSpace(text[pos]))
                ++pos;
            if (pos >= tagEnd || !Is(text[pos], Quote))
                continue;
            const auto quote = text[pos++];
            const qsizetype valueStart = pos;
            while (pos < tagEnd && text[pos] != quote)
                ++pos;
            if (attributeLength == name.size() && SameUnits(name.utf16(), name.size(), text + nameStart)) {
                QString value;
                XmlReferenceDecoder::AppendDecoded(value, text + valueStart, pos - valueStart);
                return value;
            }
            ++pos;
        }
        return {};
    });
}

QString XmlDocument::ElementTextOf(std::uint32_t index) const
{
    if (index >= m_records.size())
        return {};
    const XmlElementRecord &r = m_records[index];
    const TagLengths tags = index == 0 ? TagLengths{} : TagLengthsOf(index);
    if (r.firstChild != 0 || r.length == tags.startTag)
        return {};

    const qsizetype contentStart = qsizetype(r.start) + tags.startTag;
    const qsizetype contentLength = qsizetype(r.length) - tags.startTag - tags.endTag;
    if (contentLength <= 0)
        return {};
    return WithText([&](const auto *text, qsizetype) {
        const auto *content = text + contentStart;
        QString result;
        if (std::find(content, content + contentLength, u'<') == content + contentLength) {
            if (std::find(content, content + contentLength, u'&') == content + contentLength)
                return ViewOf(content, contentLength).toString();
            XmlReferenceDecoder::AppendDecoded(result, content, contentLength);
            return result;
        }

        // Mixed content: text pieces and CDATA sections count, markup does not.
        const qsizetype contentEnd = contentStart + contentLength;
        const XmlNodeScannerOf<std::remove_cv_t<std::remove_reference_t<decltype(*text)>>> scanner(text, contentEnd);
        for (qsizetype pos = contentStart; pos < contentEnd;) {
            const XmlNode node = scanner.Scan(pos);
            if (node.kind == XmlNodeKind::Text) {
                XmlReferenceDecoder::AppendDecoded(result, text + node.start, node.Length());
            } else if (node.kind == XmlNodeKind::CData) {
                // "<![CDATA[" ... "]]>"; a section cut short of its opening keeps nothing.
                const qsizetype innerStart = node.start + 9;
                const qsizetype innerEnd = node.end - 3;
                if (innerEnd > innerStart)
                    result.append(ViewOf(text + innerStart, innerEnd - innerStart).toString());
            } else if (node.kind == XmlNodeKind::EndOfText) {
                break;
            }
            pos = node.end;
        }
        return result;
    });
}

QAnyStringView XmlDocument::ElementTextView(std::uint32_t index, QString &decoded) const
{
    if (index == 0 || index >= m_records.size())
        return {};
    const XmlElementRecord &record = m_records[index];
    if (record.firstChild == 0) {
        const TagLengths tags = TagLengthsOf(index);
        const qsizetype length = qsizetype(record.length) - tags.startTag - tags.endTag;
        if (record.length == tags.startTag || length <= 0)
            return {};
        const qsizetype start = qsizetype(record.start) + tags.startTag;
        const bool plain = WithText([&](const auto *text, qsizetype) {
            const auto *content = text + start;
            for (qsizetype i = 0; i < length; ++i) {
                if (content[i] == u'&' || content[i] == u'<')
                    return false;
            }
            return true;
        });
        if (plain)
            return WithText([&](const auto *text, qsizetype) { return ViewOf(text + start, length); });
    }
    decoded = ElementTextOf(index);
    return decoded;
}
