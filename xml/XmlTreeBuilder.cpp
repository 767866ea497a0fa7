#include "xml/XmlTreeBuilder.h"

#include <algorithm>

namespace {

// Past this depth end tags are matched through the name index.
constexpr std::size_t kIndexedDepth = 64;

std::uint32_t LevelFor(std::size_t depth)
{
    return std::uint32_t(std::min<std::size_t>(depth, XmlElementRecord::LevelMask));
}

QString ToQString(const char16_t *text, qsizetype length)
{
    return QString::fromUtf16(text, length);
}

QString ToQString(const char *text, qsizetype length)
{
    return QString::fromLatin1(text, length);
}

} // namespace

template<typename CharT>
XmlTreeBuilder<CharT>::XmlTreeBuilder(const CharT *text, qsizetype length, std::vector<XmlElementRecord> &records,
                                      std::unordered_map<std::uint32_t, XmlDocument::TagLengths> &longTags)
    : m_text(text)
    , m_length(length)
    , m_records(records)
    , m_longTags(longTags)
{
    m_open.reserve(kIndexedDepth);
}

template<typename CharT> QString XmlTreeBuilder<CharT>::Build()
{
    using namespace XmlCharClass;
    const XmlNodeScannerOf<CharT> scanner(m_text, m_length);
    const CharT *const text = m_text;
    const qsizetype end = m_length;
    qsizetype pos = 0;
    for (;;) {
        // Blanks and text up to the next '<' are no part of the tree.
        if (pos < end && text[pos] != u'<') {
            pos = XmlScanDetail::SkipSpaces(text, pos, end);
            if (pos < end && text[pos] != u'<')
                pos = XmlScanDetail::FindLess(text, pos, end);
        }
        // The two tags of nearly every element, "<name>" and "</name>", read
        // here; anything else goes through the scanner.
        if (pos + 1 < end) {
            const CharT next = text[pos + 1];
            if (next == u'/' && !m_open.empty()) {
                // The innermost element's own end tag, its name compared in place.
                const OpenElement &top = m_open.back();
                const qsizetype close = pos + 2 + top.nameLength;
                if (close < end && text[close] == u'>') {
                    const CharT *open = text + top.nameStart;
                    const CharT *name = text + pos + 2;
                    qsizetype i = 0;
                    while (i < top.nameLength && open[i] == name[i])
                        ++i;
                    if (i == top.nameLength) {
                        Close(qsizetype(m_open.size()) - 1, pos, close + 1);
                        pos = close + 1;
                        continue;
                    }
                }
            }
            if (next == u'/') {
                const qsizetype nameStart = pos + 2;
                qsizetype q = nameStart;
                while (q < end && !Is(text[q], NameStop))
                    ++q;
                if (q < end && text[q] == u'>') {
                    EndTag(pos, q + 1, nameStart, q - nameStart);
                    pos = q + 1;
                    continue;
                }
            } else if (IsNameStart(next)) {
                const qsizetype nameStart = pos + 1;
                qsizetype q = nameStart;
                while (q < end && !Is(text[q], NameStop | Quote))
                    ++q;
                if (q < end && text[q] == u'>') {
                    StartTag(pos, q + 1, nameStart, q - nameStart, false);
                    pos = q + 1;
                    continue;
                }
            }
        }
        const XmlNode node = scanner.Scan(pos);
        switch (node.kind) {
        case XmlNodeKind::EndOfText:
            OnEndOfText();
            return m_error;
        case XmlNodeKind::StartTag:
            StartTag(node.start, node.end, node.nameStart, node.nameLength, node.selfClosing);
            break;
        case XmlNodeKind::EndTag:
            EndTag(node.start, node.end, node.nameStart, node.nameLength);
            break;
        case XmlNodeKind::Bad:
            OnBadNode(node);
            break;
        default:
            break; // text, comments, CDATA and the like are not part of the tree
        }
        pos = node.end;
    }
}

template<typename CharT> inline std::uint32_t XmlTreeBuilder<CharT>::NewRecord()
{
    if (m_records.size() == m_records.capacity())
        m_records.reserve(m_records.size() + m_records.size() / 2 + 1);
    m_records.emplace_back();
    return std::uint32_t(m_records.size() - 1);
}

// Constant time: the first child's previous link points at the last child.
template<typename CharT> inline void XmlTreeBuilder<CharT>::AppendChild(std::uint32_t parent, std::uint32_t child)
{
    XmlElementRecord &c = m_records[child];
    c.parent = parent;
    c.nextSibling = 0;
    const std::uint32_t first = m_records[parent].firstChild;
    if (first == 0) {
        m_records[parent].firstChild = child;
        c.previousSibling = child;
        c.flags |= XmlElementRecord::FirstChild;
        return;
    }
    const std::uint32_t last = m_records[first].previousSibling;
    m_records[last].nextSibling = child;
    c.previousSibling = last;
    m_records[first].previousSibling = child;
}

template<typename CharT>
inline void XmlTreeBuilder<CharT>::SetTagLengths(std::uint32_t index, qsizetype startTag, qsizetype endTag)
{
    XmlElementRecord &r = m_records[index];
    if (startTag <= qsizetype(XmlElementRecord::kStartTagMax) && endTag <= qsizetype(XmlElementRecord::kEndTagMax)) {
        r.tagLengths = std::uint32_t(startTag) | (std::uint32_t(endTag) << XmlElementRecord::kStartTagBits);
        if (r.flags & XmlElementRecord::LongTags) {
            r.flags &= ~std::uint32_t(XmlElementRecord::LongTags);
            m_longTags.erase(index);
        }
        return;
    }
    r.tagLengths = ~std::uint32_t(0);
    r.flags |= XmlElementRecord::LongTags;
    m_longTags[index] = {std::int32_t(startTag), std::int32_t(endTag)};
}

template<typename CharT>
inline void XmlTreeBuilder<CharT>::StartTag(qsizetype start, qsizetype end, qsizetype nameStart, qsizetype nameLength,
                                            bool selfClosing)
{
    const std::uint32_t index = NewRecord();
    XmlElementRecord &r = m_records[index];
    r.start = std::int32_t(start);
    r.length = std::int32_t(end - start);
    r.flags = LevelFor(m_open.size());
    AppendChild(m_currentParent, index);
    SetTagLengths(index, end - start, 0);
    if (selfClosing)
        return;
    Push({index, std::int32_t(nameStart), std::int32_t(nameLength)});
    m_currentParent = index;
}

template<typename CharT>
inline void XmlTreeBuilder<CharT>::EndTag(qsizetype start, qsizetype end, qsizetype nameStart, qsizetype nameLength)
{
    const std::basic_string_view<CharT> name = NameView(nameStart, nameLength);
    // Nearly always the innermost element: its short name compared in place.
    qsizetype depth = -1;
    if (!m_open.empty() && m_open.back().nameLength == nameLength) {
        const CharT *open = m_text + m_open.back().nameStart;
        qsizetype i = 0;
        while (i < nameLength && open[i] == name[std::size_t(i)])
            ++i;
        if (i == nameLength)
            depth = qsizetype(m_open.size()) - 1;
    }
    if (depth < 0)
        depth = FindOpen(name);
    if (depth < 0) {
        m_records[0].flags |= XmlElementRecord::IllFormed;
        MarkBad(m_currentParent);
        if (m_error.isEmpty())
            m_error = QStringLiteral("No start tag for end tag '%1' at offset %2")
                          .arg(ToQString(name.data(), qsizetype(name.size())), QString::number(start));
        return;
    }
    if (depth + 1 < qsizetype(m_open.size())) {
        const OpenElement &innermost = m_open.back();
        if (m_error.isEmpty())
            m_error = QStringLiteral("End tag '%1' at offset %2 does not match start tag '%3' at offset %4")
                          .arg(ToQString(name.data(), qsizetype(name.size())), QString::number(start + 1),
                               NameOf(innermost), QString::number(m_records[innermost.index].start));
        CloseNotEnded(depth + 1);
    }
    Close(depth, start, end);
}

// Ends the open element at stack position `depth`, the innermost one, with
// the end tag at [start, end).
template<typename CharT> inline void XmlTreeBuilder<CharT>::Close(qsizetype depth, qsizetype start, qsizetype end)
{
    const std::uint32_t index = m_open[std::size_t(depth)].index;
    XmlElementRecord &r = m_records[index];
    const qsizetype startTag =
        r.flags & XmlElementRecord::LongTags ? m_longTags[index].startTag : qsizetype(r.PackedStartTagLength());
    r.length = std::int32_t(end - r.start);
    SetTagLengths(index, startTag, end - start);
    PopTo(depth);
    m_currentParent = m_records[index].parent;
}

template<typename CharT> void XmlTreeBuilder<CharT>::OnBadNode(const XmlNode &node)
{
    m_records[0].flags |= XmlElementRecord::IllFormed;
    MarkBad(m_currentParent);
    if (m_error.isEmpty())
        m_error = node.Message();
}

template<typename CharT> void XmlTreeBuilder<CharT>::OnEndOfText()
{
    if (m_open.empty())
        return;
    const OpenElement &innermost = m_open.back();
    if (m_error.isEmpty())
        m_error = QStringLiteral("Element '%1' at offset %2 not ended")
                      .arg(NameOf(innermost), QString::number(m_records[innermost.index].start));
    CloseNotEnded(0);
}

template<typename CharT> qsizetype XmlTreeBuilder<CharT>::FindOpen(std::basic_string_view<CharT> name)
{
    if (m_open.empty())
        return -1;
    const OpenElement &top = m_open.back();
    if (NameView(top.nameStart, top.nameLength) == name)
        return qsizetype(m_open.size()) - 1;
    if (!m_indexed && m_open.size() > kIndexedDepth) {
        m_indexed = true;
        for (std::size_t depth = 0; depth < m_open.size(); ++depth)
            m_openByName[NameView(m_open[depth].nameStart, m_open[depth].nameLength)].push_back(std::uint32_t(depth));
    }
    if (m_indexed) {
        const auto it = m_openByName.find(name);
        return it == m_openByName.end() || it->second.empty() ? -1 : qsizetype(it->second.back());
    }
    for (qsizetype depth = qsizetype(m_open.size()) - 2; depth >= 0; --depth) {
        const OpenElement &open = m_open[std::size_t(depth)];
        if (NameView(open.nameStart, open.nameLength) == name)
            return depth;
    }
    return -1;
}

// Closes the open elements from stack position `keep` up as not ended. Done
// outermost first, which gives the same tree as closing innermost first:
// every child of a closed element ends up, in document order, directly under
// the element below `keep` (or the document), right after the element it was
// in. Each element moves at most once, so deep unclosed nesting stays linear.
template<typename CharT> void XmlTreeBuilder<CharT>::CloseNotEnded(qsizetype keep)
{
    const std::uint32_t target = keep > 0 ? m_open[std::size_t(keep - 1)].index : 0;
    const std::uint32_t childLevel = target == 0 ? 0 : LevelFor(m_records[target].Level() + 1);
    bool badMarkup = false;
    m_records[0].flags |= XmlElementRecord::IllFormed;
    for (std::size_t depth = std::size_t(keep); depth < m_open.size(); ++depth) {
        const std::uint32_t index = m_open[depth].index;
        XmlElementRecord &r = m_records[index];
        badMarkup |= (r.flags & XmlElementRecord::BadMarkup) != 0;
        r.flags &= ~std::uint32_t(XmlElementRecord::BadMarkup);
        r.flags |= XmlElementRecord::NotEnded;
        const qsizetype startTag =
            r.flags & XmlElementRecord::LongTags ? m_longTags[index].startTag : qsizetype(r.PackedStartTagLength());
        r.length = std::int32_t(startTag);
        SetTagLengths(index, startTag, 0);

        const std::uint32_t first = m_records[index].firstChild;
        if (first == 0)
            continue;
        const std::uint32_t last = m_records[first].previousSibling;
        for (std::uint32_t child = first; child != 0; child = m_records[child].nextSibling) {
            XmlElementRecord &c = m_records[child];
            c.parent = target;
            c.flags =
                (c.flags & ~std::uint32_t(XmlElementRecord::LevelMask | XmlElementRecord::FirstChild)) | childLevel;
        }
        // The closed element is the target's last child: splice its children in after it.
        const std::uint32_t targetFirst = m_records[target].firstChild;
        m_records[index].nextSibling = first;
        m_records[first].previousSibling = index;
        m_records[targetFirst].previousSibling = last;
        m_records[index].firstChild = 0;
    }
    if (badMarkup)
        m_records[target].flags |= XmlElementRecord::BadMarkup;
    PopTo(keep);
}

template<typename CharT> inline void XmlTreeBuilder<CharT>::Push(const OpenElement &open)
{
    if (m_indexed)
        m_openByName[NameView(open.nameStart, open.nameLength)].push_back(std::uint32_t(m_open.size()));
    m_open.push_back(open);
}

template<typename CharT> inline void XmlTreeBuilder<CharT>::PopTo(qsizetype depth)
{
    if (m_indexed) {
        for (qsizetype d = qsizetype(m_open.size()) - 1; d >= depth; --d) {
            const OpenElement &open = m_open[std::size_t(d)];
            m_openByName[NameView(open.nameStart, open.nameLength)].pop_back();
        }
    }
    m_open.resize(std::size_t(depth));
}

template<typename CharT> void XmlTreeBuilder<CharT>::MarkBad(std::uint32_t parent)
{
    m_records[parent].flags |= XmlElementRecord::BadMarkup;
}

template<typename CharT> QString XmlTreeBuilder<CharT>::NameOf(const OpenElement &open) const
{
    return ToQString(m_text + open.nameStart, open.nameLength);
}

template class XmlTreeBuilder<char16_t>;
template class XmlTreeBuilder<char>;
