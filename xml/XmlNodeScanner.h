#pragma once

#include "xml/XmlCharClass.h"

#include <QString>

#include <cstdint>

// The kinds of node the scanner tells apart. Only start and end tags shape the
// element tree; the rest is skipped by the tree builder and, inside element
// content, picked apart by the text reader.
enum class XmlNodeKind : std::uint8_t {
    EndOfText,
    Whitespace,
    Text,
    StartTag,
    EndTag,
    ProcessingInstruction,
    Comment,
    CData,
    Doctype,
    Bad,
};

// Why a node is bad. The message is formatted only when someone records it,
// so a broken file costs no string work beyond its first error.
enum class XmlScanProblem : std::uint8_t {
    None,
    IncorrectTagNameCharacter,
    IncorrectBangTag,
    IncorrectCommentTag,
    IncorrectTag,
    Unterminated,
};

struct XmlNode
{
    XmlNodeKind kind = XmlNodeKind::EndOfText;
    qsizetype start = 0;
    qsizetype end = 0; // where the next node starts
    // Start tag: the tag name; end tag: the name after "</".
    qsizetype nameStart = 0;
    qsizetype nameLength = 0;
    bool selfClosing = false;
    XmlScanProblem problem = XmlScanProblem::None;
    const char *unterminatedKind = nullptr;
    qsizetype problemOffset = 0;

    qsizetype Length() const { return end - start; }
    QString Message() const;
};

// Reads one node at a time from UTF-16 text, or from a text of ASCII bytes
// (one code unit each), never past `end`. The end of the range stands for the
// end of the text, so the same scanner serves the whole document and the
// content of a single element.
template<typename CharT> class XmlNodeScannerOf
{
public:
    XmlNodeScannerOf(const CharT *text, qsizetype end)
        : m_text(text)
        , m_end(end)
    {}

    XmlNode Scan(qsizetype pos) const { return ScanAt(pos, false); }

private:
    XmlNode ScanAt(qsizetype pos, bool inDoctype) const;
    XmlNode ScanCharacters(qsizetype pos) const;
    XmlNode ScanStartTag(qsizetype pos) const;
    XmlNode ScanEndTag(qsizetype pos) const;
    XmlNode ScanBang(qsizetype pos, bool inDoctype) const;
    XmlNode ScanDoctype(qsizetype pos) const;
    XmlNode ScanUntilMarker(qsizetype pos, XmlNodeKind kind, qsizetype bodyStart, char16_t markerChar, int markerLength,
                            const char *kindName) const;
    XmlNode Rejected(qsizetype pos, XmlScanProblem problem, qsizetype offset, bool inDoctype) const;
    XmlNode Unterminated(qsizetype pos, const char *kindName) const;
    qsizetype FindGreaterOutsideQuotes(qsizetype from) const;

    const CharT *m_text;
    qsizetype m_end;
};

using XmlNodeScanner = XmlNodeScannerOf<char16_t>;

// The scanning of text, whitespace and tags is inlined into its callers: it
// is the parser's inner loop.

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstring>

namespace XmlScanDetail {

// Text runs are most of an SVD file: look for the next '<' eight code units
// at a time.
inline qsizetype FindLess(const char16_t *text, qsizetype from, qsizetype end)
{
    qsizetype q = from;
#if defined(__SSE2__)
    const __m128i less = _mm_set1_epi16(u'<');
    for (; q + 8 <= end; q += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + q));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, less));
        if (mask != 0)
            return q + __builtin_ctz(unsigned(mask)) / 2;
    }
#endif
    while (q < end && text[q] != u'<')
        ++q;
    return q;
}

// Indentation between tags is the other bulk: step over blanks sixteen bytes
// at a time in a text of bytes.
inline qsizetype SkipSpaces(const char *text, qsizetype from, qsizetype end)
{
    qsizetype q = from;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    for (; q + 16 <= end; q += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + q));
        const __m128i blank =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, space), _mm_cmpeq_epi8(chunk, tab)),
                         _mm_or_si128(_mm_cmpeq_epi8(chunk, lineFeed), _mm_cmpeq_epi8(chunk, carriageReturn)));
        const unsigned other = ~unsigned(_mm_movemask_epi8(blank)) & 0xFFFFu;
        if (other != 0)
            return q + __builtin_ctz(other);
    }
#endif
    while (q < end && XmlCharClass::IsSpace(text[q]))
        ++q;
    return q;
}

inline qsizetype SkipSpaces(const char16_t *text, qsizetype from, qsizetype end)
{
    qsizetype q = from;
    while (q < end && XmlCharClass::IsSpace(text[q]))
        ++q;
    return q;
}

inline qsizetype FindLess(const char *text, qsizetype from, qsizetype end)
{
#if defined(__SSE2__)
    // Most texts are a short name or number: a few chunks here, the rest
    // left to memchr.
    const __m128i less = _mm_set1_epi8('<');
    for (int chunk = 0; chunk < 4 && from + 16 <= end; ++chunk, from += 16) {
        const int mask =
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + from)), less));
        if (mask != 0)
            return from + __builtin_ctz(unsigned(mask));
    }
#endif
    if (from >= end)
        return end;
    const void *found = std::memchr(text + from, '<', std::size_t(end - from));
    return found != nullptr ? static_cast<const char *>(found) - text : end;
}

} // namespace XmlScanDetail

template<typename CharT> inline XmlNode XmlNodeScannerOf<CharT>::ScanAt(qsizetype pos, bool inDoctype) const
{
    XmlNode node;
    node.start = pos;
    if (pos >= m_end) {
        node.end = m_end;
        return node;
    }
    if (m_text[pos] != u'<')
        return ScanCharacters(pos);
    if (pos + 1 >= m_end)
        return Unterminated(pos, inDoctype ? "Doctype" : "tag");
    const CharT next = m_text[pos + 1];
    if (XmlCharClass::IsNameStart(next))
        return ScanStartTag(pos);
    switch (next) {
    case u'/':
        return ScanEndTag(pos);
    case u'?':
        return ScanUntilMarker(pos, XmlNodeKind::ProcessingInstruction, pos + 2, u'?', 1,
                               inDoctype ? "Doctype" : "Processing instruction");
    case u'!':
        return ScanBang(pos, inDoctype);
    default:
        return Rejected(pos, XmlScanProblem::IncorrectTagNameCharacter, pos, inDoctype);
    }
}

// Text and whitespace: everything up to the next '<'. A run of blanks counts
// as whitespace only when nothing else comes before that '<'.
template<typename CharT> inline XmlNode XmlNodeScannerOf<CharT>::ScanCharacters(qsizetype pos) const
{
    XmlNode node;
    node.start = pos;
    const qsizetype q = XmlScanDetail::SkipSpaces(m_text, pos, m_end);
    if (q >= m_end || m_text[q] == u'<') {
        node.kind = XmlNodeKind::Whitespace;
        node.end = q;
        return node;
    }
    node.kind = XmlNodeKind::Text;
    node.end = XmlScanDetail::FindLess(m_text, q, m_end);
    return node;
}

template<typename CharT> inline qsizetype XmlNodeScannerOf<CharT>::FindGreaterOutsideQuotes(qsizetype from) const
{
    CharT quote = 0;
    for (qsizetype q = from; q < m_end; ++q) {
        const CharT c = m_text[q];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == u'>') {
            return q;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        }
    }
    return -1;
}

template<typename CharT> inline XmlNode XmlNodeScannerOf<CharT>::ScanStartTag(qsizetype pos) const
{
    const qsizetype nameStart = pos + 1;
    qsizetype q = nameStart;
    bool quoteInName = false;
    while (q < m_end) {
        const CharT c = m_text[q];
        if (XmlCharClass::Is(c, XmlCharClass::NameStop | XmlCharClass::Quote)) {
            if (XmlCharClass::Is(c, XmlCharClass::NameStop))
                break;
            quoteInName = true;
        }
        ++q;
    }
    const qsizetype nameEnd = q;
    // Quotes in the name open runs like anywhere else in the tag; the rare name
    // with one is scanned again from its start.
    const qsizetype gt = FindGreaterOutsideQuotes(quoteInName ? nameStart : nameEnd);
    if (gt < 0)
        return Unterminated(pos, "Element tag");

    XmlNode node;
    node.kind = XmlNodeKind::StartTag;
    node.start = pos;
    node.end = gt + 1;
    node.nameStart = nameStart;
    node.nameLength = nameEnd - nameStart;
    if (gt - 1 > pos + 1 && m_text[gt - 1] == u'/') {
        const qsizetype slash = gt - 1;
        const CharT before = m_text[slash - 1];
        node.selfClosing =
            slash == nameEnd || XmlCharClass::IsSpace(before) || XmlCharClass::Is(before, XmlCharClass::Quote);
    }
    return node;
}

template<typename CharT> inline XmlNode XmlNodeScannerOf<CharT>::ScanEndTag(qsizetype pos) const
{
    const qsizetype nameStart = pos + 2;
    qsizetype q = nameStart;
    while (q < m_end && !XmlCharClass::Is(m_text[q], XmlCharClass::NameStop))
        ++q;
    const qsizetype nameEnd = q;
    while (q < m_end && m_text[q] != u'>')
        ++q;
    if (q >= m_end)
        return Unterminated(pos, "Element end tag");

    XmlNode node;
    node.kind = XmlNodeKind::EndTag;
    node.start = pos;
    node.end = q + 1;
    node.nameStart = nameStart;
    node.nameLength = nameEnd - nameStart;
    return node;
}

extern template class XmlNodeScannerOf<char16_t>;
extern template class XmlNodeScannerOf<char>;
