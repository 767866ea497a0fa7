#include "xml/XmlNodeScanner.h"

#include "xml/XmlCharClass.h"

using namespace XmlCharClass;

QString XmlNode::Message() const
{
    const int offset = int(problemOffset);
    switch (problem) {
    case XmlScanProblem::IncorrectTagNameCharacter:
        return QStringLiteral("Incorrect tag name character at offset %1").arg(offset);
    case XmlScanProblem::IncorrectBangTag:
        return QStringLiteral("Incorrect ! tag at offset %1").arg(offset);
    case XmlScanProblem::IncorrectCommentTag:
        return QStringLiteral("Incorrect comment tag at offset %1").arg(offset);
    case XmlScanProblem::IncorrectTag:
        return QStringLiteral("Incorrect tag at offset %1").arg(offset);
    case XmlScanProblem::Unterminated:
        return QStringLiteral("%1 at offset %2 unterminated").arg(QLatin1StringView(unterminatedKind)).arg(offset);
    case XmlScanProblem::None:
        break;
    }
    return {};
}

template<typename CharT> XmlNode XmlNodeScannerOf<CharT>::ScanBang(qsizetype pos, bool inDoctype) const
{
    const char *const nestedKind = inDoctype ? "Doctype" : nullptr;
    if (pos + 2 >= m_end)
        return Unterminated(pos, nestedKind ? nestedKind : "tag");
    switch (m_text[pos + 2]) {
    case u'-':
        if (pos + 3 >= m_end)
            return Unterminated(pos, nestedKind ? nestedKind : "Comment");
        if (m_text[pos + 3] != u'-')
            return Rejected(pos, XmlScanProblem::IncorrectCommentTag, pos, inDoctype);
        return ScanUntilMarker(pos, XmlNodeKind::Comment, pos + 4, u'-', 2, nestedKind ? nestedKind : "Comment");
    case u'[':
        if (inDoctype)
            return Rejected(pos, XmlScanProblem::IncorrectBangTag, pos, inDoctype);
        if (pos + 3 >= m_end)
            return Unterminated(pos, "CDATA Section");
        if (m_text[pos + 3] != u'C')
            return Rejected(pos, XmlScanProblem::IncorrectTag, pos, inDoctype);
        return ScanUntilMarker(pos, XmlNodeKind::CData, pos + 4, u']', 2, "CDATA Section");
    case u'D':
        if (inDoctype)
            return Rejected(pos, XmlScanProblem::IncorrectBangTag, pos, inDoctype);
        return ScanDoctype(pos);
    case u'E':
    case u'A':
    case u'N': {
        const qsizetype gt = FindGreaterOutsideQuotes(pos + 2);
        if (gt < 0)
            return Unterminated(pos, "Doctype");
        XmlNode node;
        node.kind = XmlNodeKind::Doctype;
        node.start = pos;
        node.end = gt + 1;
        return node;
    }
    default:
        return Rejected(pos, XmlScanProblem::IncorrectBangTag, pos, inDoctype);
    }
}

// A DOCTYPE ends at the first '>' of its own level; a '<' inside it opens a
// nested node (declarations, comments) scanned by the same rules.
template<typename CharT> XmlNode XmlNodeScannerOf<CharT>::ScanDoctype(qsizetype pos) const
{
    qsizetype lastGreater = pos;
    qsizetype q = pos + 2;
    while (q < m_end) {
        const CharT c = m_text[q];
        if (c == u'>') {
            XmlNode node;
            node.kind = XmlNodeKind::Doctype;
            node.start = pos;
            node.end = q + 1;
            return node;
        }
        if (c != u'<') {
            ++q;
            continue;
        }
        const XmlNode nested = ScanAt(q, true);
        if (nested.kind == XmlNodeKind::Bad) {
            if (nested.problem == XmlScanProblem::Unterminated)
                return Unterminated(pos, "Doctype");
            XmlNode node = nested;
            node.start = pos;
            node.problemOffset = lastGreater;
            return node;
        }
        if (m_text[nested.end - 1] == u'>')
            lastGreater = nested.end - 1;
        q = nested.end;
    }
    return Unterminated(pos, "Doctype");
}

// Comments, CDATA sections and processing instructions end at a '>' that the
// marker characters complete; the marker may not overlap the opening.
template<typename CharT>
XmlNode XmlNodeScannerOf<CharT>::ScanUntilMarker(qsizetype pos, XmlNodeKind kind, qsizetype bodyStart,
                                                 char16_t markerChar, int markerLength, const char *kindName) const
{
    for (qsizetype q = bodyStart + markerLength; q < m_end; ++q) {
        if (m_text[q] != u'>')
            continue;
        bool complete = true;
        for (int i = 1; i <= markerLength; ++i)
            complete &= m_text[q - i] == markerChar;
        if (!complete)
            continue;
        XmlNode node;
        node.kind = kind;
        node.start = pos;
        node.end = q + 1;
        return node;
    }
    return Unterminated(pos, kindName);
}

// A rejected tag runs to the first '>' outside quotes, or stops just before
// the next '<' whatever the quotes, so a stray apostrophe cannot swallow the
// rest of the document.
template<typename CharT>
XmlNode XmlNodeScannerOf<CharT>::Rejected(qsizetype pos, XmlScanProblem problem, qsizetype offset, bool inDoctype) const
{
    CharT quote = 0;
    for (qsizetype q = pos + 1; q < m_end; ++q) {
        const CharT c = m_text[q];
        if (c == u'<') {
            XmlNode node;
            node.kind = XmlNodeKind::Bad;
            node.start = pos;
            node.end = q;
            node.problem = problem;
            node.problemOffset = offset;
            return node;
        }
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == u'>') {
            XmlNode node;
            node.kind = XmlNodeKind::Bad;
            node.start = pos;
            node.end = q + 1;
            node.problem = problem;
            node.problemOffset = offset;
            return node;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        }
    }
    return Unterminated(pos, inDoctype ? "Doctype" : "tag");
}

template<typename CharT> XmlNode XmlNodeScannerOf<CharT>::Unterminated(qsizetype pos, const char *kindName) const
{
    XmlNode node;
    node.kind = XmlNodeKind::Bad;
    node.start = pos;
    node.end = m_end;
    node.problem = XmlScanProblem::Unterminated;
    node.unterminatedKind = kindName;
    node.problemOffset = pos;
    return node;
}

template class XmlNodeScannerOf<char16_t>;
template class XmlNodeScannerOf<char>;
