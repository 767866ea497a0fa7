#include "link/ConfigFile.h"

#include "link/LinkMessages.h"
#include "link/DiskFile.h"
#include "link/WriterLock.h"

#include "link/IniValues.h"
#include "link/Tr.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString TrimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

bool IsWrappedInQuotes(const QString &text)
{
    if (text.size() < 2)
        return false;
    const QChar open = text.front();
    return (open == u'"' || open == u'\'') && text.back() == open;
}

enum class LineKind { Other, Section, Key };

struct IniLine
{
    QByteArray text;   // the line's bytes without its ending
    QByteArray ending; // "\r\n", "\n", or "" for an unterminated last line
    LineKind kind = LineKind::Other;
    QString name;  // section or key name, blanks trimmed
    QString value; // key value, blanks and one pair of quotes removed
};

void Classify(IniLine &line)
{
    const QString text = TrimBlanks(QString::fromUtf8(line.text));
    if (text.isEmpty() || text.front() == u';' || text.front() == u'#')
        return;
    if (text.front() == u'[') {
        // An unclosed header still starts a section, so the keys below it
        // never fall into the section above.
        const qsizetype close = text.indexOf(u']');
        line.kind = LineKind::Section;
        line.name = TrimBlanks(text.mid(1, close < 0 ? -1 : close - 1));
        return;
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return;
    const QString name = TrimBlanks(text.left(equals));
    if (name.isEmpty())
        return;
    QString value = TrimBlanks(text.mid(equals + 1));
    if (IsWrappedInQuotes(value))
        value = value.mid(1, value.size() - 2);
    line.kind = LineKind::Key;
    line.name = name;
    line.value = value;
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct IniDocument
{
    QByteArray bom;
    std::vector<IniLine> lines;

    static IniDocument Parse(const QByteArray &bytes)
    {
        IniDocument doc;
        qsizetype pos = 0;
        if (bytes.startsWith(kUtf8Bom)) {
            doc.bom = kUtf8Bom;
            pos = kUtf8Bom.size();
        }
        while (pos < bytes.size()) {
            IniLine line;
            // A line ends at LF, CR LF or a lone CR (files from old editors).
            qsizetype end = pos;
            while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
                ++end;
            line.text = bytes.mid(pos, end - pos);
            if (end < bytes.size()) {
                const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
                line.ending = crlf ? QByteArray("\r\n") : QByteArray(1, bytes[end]);
            }
            pos = end + line.ending.size();
            Classify(line);
            doc.lines.push_back(std::move(line));
        }
        return doc;
    }

    QByteArray Serialize() const
    {
        QByteArray out = bom;
        for (const IniLine &line : lines)
            out += line.text + line.ending;
        return out;
    }

    // The file's own line ending, for the lines a write adds.
    QByteArray Ending() const
    {
        for (const IniLine &line : lines)
            if (!line.ending.isEmpty())
                return line.ending;
        return "\n";
    }

    // Index of the first header of that name, or -1.
    qsizetype FindSection(const QString &name) const
    {
        for (qsizetype i = 0; i < qsizetype(lines.size()); ++i)
            if (lines[i].kind == LineKind::Section && SameName(lines[i].name, name))
                return i;
        return -1;
    }

    // One past the last line of the section whose header is at `header`.
    qsizetype SectionEnd(qsizetype header) const
    {
        qsizetype i = header + 1;
        while (i < qsizetype(lines.size()) && lines[i].kind != LineKind::Section)
            ++i;
        return i;
    }

    qsizetype FindKey(qsizetype header, const QString &key) const
    {
        const qsizetype end = SectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i)
            if (lines[i].kind == LineKind::Key && SameName(lines[i].name, key))
                return i;
        return -1;
    }

    // Adds a line after `after`; a line added after an unterminated last line
    // terminates that line and stays unterminated itself.
    void InsertAfter(qsizetype after, QByteArray text)
    {
        IniLine line;
        line.text = std::move(text);
        line.ending = Ending();
        if (after >= 0 && lines[after].ending.isEmpty()) {
            lines[after].ending = Ending();
            line.ending.clear();
        }
        lines.insert(lines.begin() + (after + 1), std::move(line));
    }
};

enum class LoadResult { Loaded, Missing, Unreadable };

LoadResult Load(const QString &path, IniDocument &doc)
{
    const QFileInfo info(path);
    if (!info.exists())
        return LoadResult::Missing;
    // Never a FIFO or a device, never more than a configuration can hold.
    const std::optional<QByteArray> bytes = DiskFile::ReadWhole(path, DiskFile::kTextLimit);
    if (!bytes)
        return LoadResult::Unreadable;
    doc = IniDocument::Parse(*bytes);
    return LoadResult::Loaded;
}

// Text this reader can rewrite byte for byte: UTF-8 without NUL bytes. A
// UTF-16 file, or one in some other encoding, would get UTF-8 lines added.
// A character cut off at the end counts too: a line added after it would
// leave the file not UTF-8 for good.
bool IsRewritable(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

std::optional<QString> Lookup(const IniDocument &doc, const QString &section, const QString &key)
{
    const qsizetype header = doc.FindSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype line = doc.FindKey(header, key);
    if (line < 0)
        return std::nullopt;
    return doc.lines[line].value;
}

IniValues ValuesOf(const IniDocument &doc)
{
    IniValues values;
    std::optional<QString> section; // none before the first header, or a repeated one
    for (const IniLine &line : doc.lines) {
        if (line.kind == LineKind::Section) {
            const QString folded = IniValues::FoldedName(line.name);
            section = values.HasSection(folded) ? std::nullopt : std::optional<QString>(folded);
            if (section)
                values.AddSection(*section);
        } else if (line.kind == LineKind::Key && section) {
            values.Add(*section, IniValues::FoldedName(line.name), line.value);
        }
    }
    return values;
}

IniValues ParseValues(const QByteArray &bytes)
{
    return ValuesOf(IniDocument::Parse(bytes));
}

// The file's values as they are now, parsed only when the file changed.
std::optional<QString> Lookup(const QString &path, const QString &section, const QString &key)
{
    const std::shared_ptr<const IniValues> values = IniFileCache::Current(path, ParseValues);
    if (!values)
        return std::nullopt;
    return values->Find(section, key);
}

// nullopt when the number does not fit in 32 bits.
std::optional<int> ParseLeadingDecimal(const QString &text)
{
    constexpr uint64_t kUnsignedMax = 0xFFFFFFFFu;
    constexpr uint64_t kNegativeMax = 0x80000000u;
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    uint64_t magnitude = 0;
    bool tooLarge = false;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        if (magnitude > kUnsignedMax) {
            tooLarge = true;
            magnitude = kUnsignedMax;
        }
    }
    if (tooLarge || (negative && magnitude > kNegativeMax))
        return std::nullopt;
    if (negative)
        return int(-int64_t(magnitude));
    return int(uint32_t(magnitude)); // 2^31..2^32-1 keep their bit pattern
}

bool HasLineBreakOrNul(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(0));
}

bool IsStorableName(const QString &name)
{
    return !name.isEmpty() && TrimBlanks(name) == name && !HasLineBreakOrNul(name);
}

bool IsStorableSection(const QString &section)
{
    return IsStorableName(section) && !section.contains(u']');
}

bool IsStorableKey(const QString &key)
{
    return IsStorableName(key) && !key.contains(u'=') && key.front() != u'[' && key.front() != u';' &&
           key.front() != u'#';
}

QByteArray EncodeValue(const QString &text)
{
    const bool needsQuotes = TrimBlanks(text) != text || IsWrappedInQuotes(text);
    return (needsQuotes ? u'"' + text + u'"' : text).toUtf8();
}

// The bytes of a key line up to its value: the key as spelled, the "=" and
// the blanks after it.
QByteArray ValuePrefix(const QByteArray &line)
{
    qsizetype pos = line.indexOf('=') + 1;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    return line.left(pos);
}

} // namespace

ConfigFile::ConfigFile(QString path)
    : m_path(std::move(path))
{}

const QString &ConfigFile::Path() const
{
    return m_path;
}

std::shared_ptr<const IniValues> ConfigFile::Values() const
{
    return IniFileCache::Current(m_path, ParseValues);
}

int ConfigFile::ReadInt(const QString &section, const QString &key, int defaultValue) const
{
    const std::optional<QString> value = Lookup(m_path, section, key);
    if (!value)
        return defaultValue;
    return ParseLeadingDecimal(*value).value_or(defaultValue);
}

namespace {

// At most size - 1 characters, never half of a surrogate pair.
QString CutToReadSize(QString text, int size)
{
    if (size <= 0)
        return {};
    if (text.size() > size - 1) {
        qsizetype keep = size - 1;
        if (keep > 0 && text[keep - 1].isHighSurrogate())
            --keep;
        text.truncate(keep);
    }
    return text;
}

} // namespace

QString ConfigFile::ReadText(const QString &section, const QString &key, const QString &defaultText, int size) const
{
    return CutToReadSize(Lookup(m_path, section, key).value_or(defaultText), size);
}

QStringList ConfigFile::ReadTextList(const QString &section, const QString &countKey, const char *keyFormat,
                                     int size) const
{
    const std::shared_ptr<const IniValues> values = IniFileCache::Current(m_path, ParseValues);
    if (!values)
        return {};
    const std::optional<QString> countText = values->Find(section, countKey);
    const int count = countText ? std::clamp(ParseLeadingDecimal(*countText).value_or(0), 0, kListLimit) : 0;
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << CutToReadSize(values->Find(section, QString::asprintf(keyFormat, i)).value_or(QString()), size);
    return texts;
}

bool ConfigFile::WriteText(const QString &section, const QString &key, const QString &text)
{
    m_writeFailure.clear();
    if (HasLineBreakOrNul(text))
        return NotStorable(section, key);
    return UpdateText(section, key, [&](const QString &) { return text; });
}

bool ConfigFile::NotStorable(const QString &section, const QString &key)
{
    return Failed(QString::asprintf(Tr(LinkMessages::kConfigNotStorable).toUtf8().constData(),
                                    m_path.toUtf8().constData(), section.toUtf8().constData(),
                                    key.toUtf8().constData()));
}

bool ConfigFile::UpdateText(const QString &section, const QString &key,
                            const std::function<QString(const QString &)> &change)
{
    m_writeFailure.clear();
    if (!IsStorableSection(section) || !IsStorableKey(key))
        return NotStorable(section, key);

    // Another writer (a second program, a script) changing another key in
    // between would otherwise be undone by this rename.
    const WriterLock lock(m_path, m_lockWaitMs);
    if (!lock.IsHeld())
        return Failed(LinkMessages::kConfigHeld);
    DiskFile::RemoveAbandoned(m_path);

    IniDocument doc;
    const LoadResult loaded = Load(m_path, doc);
    if (loaded == LoadResult::Unreadable)
        return Failed(LinkMessages::kConfigUnreadable); // rewriting would lose what we could not read
    const QByteArray before = doc.Serialize();
    if (loaded == LoadResult::Loaded && !IsRewritable(before))
        return Failed(LinkMessages::kConfigNotUtf8);
    const QString text = change(Lookup(doc, section, key).value_or(QString()));
    if (HasLineBreakOrNul(text))
        return NotStorable(section, key);

    const qsizetype header = doc.FindSection(section);
    if (text.isEmpty()) {
        // Every copy goes, or the next one would show through.
        if (header >= 0)
            for (qsizetype line = doc.FindKey(header, key); line >= 0; line = doc.FindKey(header, key))
                doc.lines.erase(doc.lines.begin() + line);
    } else if (header < 0) {
        doc.InsertAfter(qsizetype(doc.lines.size()) - 1, '[' + section.toUtf8() + ']');
        doc.InsertAfter(qsizetype(doc.lines.size()) - 1, key.toUtf8() + '=' + EncodeValue(text));
    } else if (const qsizetype line = doc.FindKey(header, key); line >= 0) {
        doc.lines[line].text = ValuePrefix(doc.lines[line].text) + EncodeValue(text);
    } else {
        qsizetype after = header;
        for (qsizetype i = header + 1; i < doc.SectionEnd(header); ++i)
            if (doc.lines[i].kind == LineKind::Key)
                after = i;
        doc.InsertAfter(after, key.toUtf8() + '=' + EncodeValue(text));
    }

    const QByteArray content = doc.Serialize();
    if (content == before && loaded == LoadResult::Loaded)
        return true;
    if (content.isEmpty() && loaded == LoadResult::Missing)
        return true; // removing from a missing file creates nothing
    if (!DiskFile::Replace(m_path, content, m_beforeRename)) {
        // The file is replaced through a new file beside it: a writable file
        // in a folder that takes no new file cannot be changed safely.
        const bool folderRefuses = errno == EACCES || errno == EPERM || errno == EROFS;
        return Failed(folderRefuses ? LinkMessages::kConfigFolderRefuses : LinkMessages::kConfigWriteError);
    }
    IniFileCache::Remember(m_path, content, ParseValues(content));
    return true;
}

bool ConfigFile::WriteInt(const QString &section, const QString &key, int value)
{
    return WriteText(section, key, QString::asprintf("%d", value));
}

void ConfigFile::SetBeforeRenameHook(std::function<bool()> hook)
{
    m_beforeRename = std::move(hook);
}

const QString &ConfigFile::WriteFailure() const
{
    return m_writeFailure;
}

void ConfigFile::SetFailureReport(std::function<void(const QString &)> report)
{
    m_failureReport = std::move(report);
}

bool ConfigFile::Failed(const QString &message)
{
    m_writeFailure = message;
    if (m_failureReport)
        m_failureReport(m_writeFailure);
    return false;
}

bool ConfigFile::Failed(const char *format)
{
    return Failed(QString::asprintf(Tr(format).toUtf8().constData(), m_path.toUtf8().constData()));
}
