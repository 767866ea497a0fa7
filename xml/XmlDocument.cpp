#include "xml/XmlDocument.h"

#include "xml/XmlCharClass.h"
#include "xml/XmlNodeScanner.h"
#include "xml/XmlReferenceDecoder.h"
#include "xml/XmlTreeBuilder.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstdio>
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
    std::FILE *file = fd < 0 ? nullptr : ::fdopen(fd, "rb");
    if (file == nullptr) {
        m_errorText = SystemMessage(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    struct stat info
    {
    };
    int error = 0;
    qint64 size = -1;
    if (fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        error = EINVAL;
    } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        error = errno;
    } else if (fseeko(file, 0, SEEK_END) != 0 || (size = ftello(file)) < 0 || fseeko(file, 0, SEEK_SET) != 0) {
        error = errno;
    } else if (size > kMaxFileBytes) {
        error = EFBIG;
    }
    if (error != 0) {
        std::fclose(file);
        m_errorText = SystemMessage(error);
        return false;
    }
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    const std::size_t read = std::fread(bytes.data(), 1, std::size_t(size), file);
    const bool failed = std::ferror(file) != 0;
    error = errno;
    std::fclose(file);
    if (failed) {
        m_errorText = SystemMessage(error);
        return false;
    }
    bytes.truncate(qsizetype(read));
    LoadBytes(bytes);
    return true;
}

void XmlDocument::LoadBytes(QByteArrayView bytes)
{
    if (bytes.size() > kMaxFileBytes)
        bytes = bytes.first(kMaxFileBytes);
    // Invalid sequences become U+FFFD; a leading byte-order mark stays as U+FEFF.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    m_text = decoder.decode(bytes);
    m_longTags.clear();
    m_errorText = QStringLiteral("%1%2 bytes to %3 wide chars")
                      .arg(QString(), QString::number(bytes.size()), QString::number(m_text.size()));
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
    m_records.reserve(std::size_t(m_text.size() / 32 + 8));
    m_records.emplace_back();
    m_longTags.clear();

    if (m_text.isEmpty()) {
        error = QStringLiteral("Empty document");
    } else {
        XmlTreeBuilder builder(reinterpret_cast<const char16_t *>(m_text.constData()), m_text.size(), m_records,
                               m_longTags);
        error = builder.Build();
        XmlElementRecord &document = m_records[0];
        document.length = std::int32_t(m_text.size());
        if (m_records.size() > 1) {
            document.firstChild = 1;
            if (m_records[1].nextSibling != 0)
                error = QStringLiteral("Root element has sibling");
        } else {
            error = QStringLiteral("No root element");
        }
    }

    Rewind();
    if (loadNote.isEmpty())
        m_errorText = error;
    else if (error.isEmpty())
        m_errorText = loadNote;
    else
        m_errorText = loadNote + QStringLiteral(", ") + error;
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
QStringView XmlDocument::TagName(std::uint32_t index) const
{
    if (index == 0)
        return {};
    const char16_t *text = reinterpret_cast<const char16_t *>(m_text.constData());
    const qsizetype end = m_text.size();
    qsizetype pos = m_records[index].start + 1;
    while (pos < end && IsSpace(text[pos]))
        ++pos;
    qsizetype stop = pos;
    while (stop < end && !Is(text[stop], MatchStop))
        ++stop;
    return QStringView(text + pos, stop - pos);
}

bool XmlDocument::TagIs(std::uint32_t index, QStringView name) const
{
    if (index == 0)
        return name.isEmpty();
    const char16_t *text = reinterpret_cast<const char16_t *>(m_text.constData());
    const qsizetype pos = m_records[index].start + 1;
    const qsizetype stop = pos + name.size();
    if (stop >= m_text.size() || IsSpace(text[pos]))
        return TagName(index) == name;
    return std::equal(name.utf16(), name.utf16() + name.size(), text + pos) && Is(text[stop], MatchStop);
}

// Exact on the whole tag name; anything in `name` from a blank, '=', '/', '['
// or ']' on is ignored.
bool XmlDocument::NameMatches(std::uint32_t index, QStringView name) const
{
    const QStringView tag = TagName(index);
    if (tag.size() > name.size())
        return false;
    if (name.first(tag.size()) != tag)
        return false;
    return tag.size() == name.size() || Is(name[tag.size()].unicode(), NameTail);
}

QString XmlDocument::ElementText() const
{
    return ElementTextOf(m_current);
}

QString XmlDocument::AttributeOf(std::uint32_t index, QStringView name) const
{
    if (index == 0 || index >= m_records.size())
        return {};
    const char16_t *text = reinterpret_cast<const char16_t *>(m_text.constData());
    const qsizetype tagStart = m_records[index].start;
    const qsizetype tagEnd = tagStart + TagLengthsOf(index).startTag;
    qsizetype pos = tagStart + 1 + TagName(index).size();
    while (pos < tagEnd) {
        while (pos < tagEnd && (IsSpace(text[pos]) || text[pos] == u'/'))
            ++pos;
        const qsizetype nameStart = pos;
        while (pos < tagEnd && !IsSpace(text[pos]) && text[pos] != u'=' && text[pos] != u'>' && text[pos] != u'/')
            ++pos;
        const QStringView attribute(text + nameStart, pos - nameStart);
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
        const char16_t quote = text[pos++];
        const qsizetype valueStart = pos;
        while (pos < tagEnd && text[pos] != quote)
            ++pos;
        if (attribute == name) {
            QString value;
            XmlReferenceDecoder::AppendDecoded(value, text + valueStart, pos - valueStart);
            return value;
        }
        ++pos;
    }
    return {};
}

QString XmlDocument::ElementTextOf(std::uint32_t index) const
{
    if (index >= m_records.size())
        return {};
    const XmlElementRecord &r = m_records[index];
    const TagLengths tags = index == 0 ? TagLengths{} : TagLengthsOf(index);
    if (r.firstChild != 0 || r.length == tags.startTag)
        return {};

    const char16_t *text = reinterpret_cast<const char16_t *>(m_text.constData());
    const qsizetype contentStart = qsizetype(r.start) + tags.startTag;
    const qsizetype contentLength = qsizetype(r.length) - tags.startTag - tags.endTag;
    if (contentLength <= 0)
        return {};
    const char16_t *content = text + contentStart;
    QString result;
    if (std::find(content, content + contentLength, u'<') == content + contentLength) {
        XmlReferenceDecoder::AppendDecoded(result, content, contentLength);
        return result;
    }

    // Mixed content: text pieces and CDATA sections count, markup does not.
    const qsizetype contentEnd = contentStart + contentLength;
    const XmlNodeScanner scanner(text, contentEnd);
    for (qsizetype pos = contentStart; pos < contentEnd;) {
        const XmlNode node = scanner.Scan(pos);
        if (node.kind == XmlNodeKind::Text) {
            XmlReferenceDecoder::AppendDecoded(result, text + node.start, node.Length());
        } else if (node.kind == XmlNodeKind::CData) {
            // "<![CDATA[" ... "]]>"; a section cut short of its opening keeps nothing.
            const qsizetype innerStart = node.start + 9;
            const qsizetype innerEnd = node.end - 3;
            if (innerEnd > innerStart)
                result.append(reinterpret_cast<const QChar *>(text + innerStart), innerEnd - innerStart);
        } else if (node.kind == XmlNodeKind::EndOfText) {
            break;
        }
        pos = node.end;
    }
    return result;
}
