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

// Reads one node at a time from UTF-16 text, never past `end`. The end of the
// range stands for the end of the text, so the same scanner serves the whole
// document and the content of a single element.
class XmlNodeScanner
{
public:
    XmlNodeScanner(const char16_t *text, qsizetype end)
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

    const char16_t *m_text;
    qsizetype m_end;
};

// The scanning of text, whitespace and tags is inlined into its callers: it
// is the parser's inner loop.

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

} // namespace XmlScanDetail

inline XmlNode XmlNodeScanner::ScanAt(qsizetype pos, bool inDoctype) const
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
    const char16_t next = m_text[pos + 1];
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
inline XmlNode XmlNodeScanner::ScanCharacters(qsizetype pos) const
{
    XmlNode node;
    node.start = pos;
    qsizetype q = pos;
    while (q < m_end && XmlCharClass::IsSpace(m_text[q]))
        ++q;
    if (q >= m_end || m_text[q] == u'<') {
        node.kind = XmlNodeKind::Whitespace;
        node.end = q;
        return node;
    }
    node.kind = XmlNodeKind::Text;
    node.end = XmlScanDetail::FindLess(m_text, q, m_end);
    return node;
}

inline qsizetype XmlNodeScanner::FindGreaterOutsideQuotes(qsizetype from) const
{
    char16_t quote = 0;
    for (qsizetype q = from; q < m_end; ++q) {
        const char16_t c = m_text[q];
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

inline XmlNode XmlNodeScanner::ScanStartTag(qsizetype pos) const
{
    const qsizetype nameStart = pos + 1;
    qsizetype q = nameStart;
    bool quoteInName = false;
    while (q < m_end) {
        const char16_t c = m_text[q];
        if (XmlCharClass::Is(c, XmlCharClass::NameStop))
            break;
        quoteInName |= XmlCharClass::Is(c, XmlCharClass::Quote);
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
        const char16_t before = m_text[slash - 1];
        node.selfClosing =
            slash == nameEnd || XmlCharClass::IsSpace(before) || XmlCharClass::Is(before, XmlCharClass::Quote);
    }
    return node;
}

inline XmlNode XmlNodeScanner::ScanEndTag(qsizetype pos) const
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
