#include "regmap/XmlNodeScanner.h"

#include "regmap/XmlCharClass.h"

using namespace XmlCharClass;

QString XmlNode::Message() const {
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

XmlNode XmlNodeScanner::ScanAt(qsizetype pos, bool inDoctype) const {
  XmlNode node;
  node.start = pos;
  if (pos >= m_end) {
    node.end = m_end;
    return node;
  }
  if (m_text[pos] != u'<') return ScanCharacters(pos);
  if (pos + 1 >= m_end) return Unterminated(pos, inDoctype ? "Doctype" : "tag");
  const char16_t next = m_text[pos + 1];
  if (IsNameStart(next)) return ScanStartTag(pos);
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
XmlNode XmlNodeScanner::ScanCharacters(qsizetype pos) const {
  XmlNode node;
  node.start = pos;
  qsizetype q = pos;
  while (q < m_end && IsSpace(m_text[q])) ++q;
  if (q >= m_end || m_text[q] == u'<') {
    node.kind = XmlNodeKind::Whitespace;
    node.end = q;
    return node;
  }
  while (q < m_end && m_text[q] != u'<') ++q;
  node.kind = XmlNodeKind::Text;
  node.end = q;
  return node;
}

qsizetype XmlNodeScanner::FindGreaterOutsideQuotes(qsizetype from) const {
  char16_t quote = 0;
  for (qsizetype q = from; q < m_end; ++q) {
    const char16_t c = m_text[q];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == u'>') {
      return q;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    }
  }
  return -1;
}

XmlNode XmlNodeScanner::ScanStartTag(qsizetype pos) const {
  const qsizetype nameStart = pos + 1;
  qsizetype q = nameStart;
  bool quoteInName = false;
  while (q < m_end) {
    const char16_t c = m_text[q];
    if (Is(c, NameStop)) break;
    quoteInName |= Is(c, Quote);
    ++q;
  }
  const qsizetype nameEnd = q;
  // Quotes in the name open runs like anywhere else in the tag; the rare name
  // with one is scanned again from its start.
  const qsizetype gt = FindGreaterOutsideQuotes(quoteInName ? nameStart : nameEnd);
  if (gt < 0) return Unterminated(pos, "Element tag");

  XmlNode node;
  node.kind = XmlNodeKind::StartTag;
  node.start = pos;
  node.end = gt + 1;
  node.nameStart = nameStart;
  node.nameLength = nameEnd - nameStart;
  if (gt - 1 > pos + 1 && m_text[gt - 1] == u'/') {
    const qsizetype slash = gt - 1;
    const char16_t before = m_text[slash - 1];
    node.selfClosing = slash == nameEnd || IsSpace(before) || Is(before, Quote);
  }
  return node;
}

XmlNode XmlNodeScanner::ScanEndTag(qsizetype pos) const {
  const qsizetype nameStart = pos + 2;
  qsizetype q = nameStart;
  while (q < m_end && !Is(m_text[q], NameStop)) ++q;
  const qsizetype nameEnd = q;
  while (q < m_end && m_text[q] != u'>') ++q;
  if (q >= m_end) return Unterminated(pos, "Element end tag");

  XmlNode node;
  node.kind = XmlNodeKind::EndTag;
  node.start = pos;
  node.end = q + 1;
  node.nameStart = nameStart;
  node.nameLength = nameEnd - nameStart;
  return node;
}

XmlNode XmlNodeScanner::ScanBang(qsizetype pos, bool inDoctype) const {
  const char* const nestedKind = inDoctype ? "Doctype" : nullptr;
  if (pos + 2 >= m_end) return Unterminated(pos, nestedKind ? nestedKind : "tag");
  switch (m_text[pos + 2]) {
    case u'-':
      if (pos + 3 >= m_end) return Unterminated(pos, nestedKind ? nestedKind : "Comment");
      if (m_text[pos + 3] != u'-') return Rejected(pos, XmlScanProblem::IncorrectCommentTag, pos, inDoctype);
      return ScanUntilMarker(pos, XmlNodeKind::Comment, pos + 4, u'-', 2, nestedKind ? nestedKind : "Comment");
    case u'[':
      if (inDoctype) return Rejected(pos, XmlScanProblem::IncorrectBangTag, pos, inDoctype);
      if (pos + 3 >= m_end) return Unterminated(pos, "CDATA Section");
      if (m_text[pos + 3] != u'C') return Rejected(pos, XmlScanProblem::IncorrectTag, pos, inDoctype);
      return ScanUntilMarker(pos, XmlNodeKind::CData, pos + 4, u']', 2, "CDATA Section");
    case u'D':
      if (inDoctype) return Rejected(pos, XmlScanProblem::IncorrectBangTag, pos, inDoctype);
      return ScanDoctype(pos);
    case u'E':
    case u'A':
    case u'N': {
      const qsizetype gt = FindGreaterOutsideQuotes(pos + 2);
      if (gt < 0) return Unterminated(pos, "Doctype");
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
XmlNode XmlNodeScanner::ScanDoctype(qsizetype pos) const {
  qsizetype lastGreater = pos;
  qsizetype q = pos + 2;
  while (q < m_end) {
    const char16_t c = m_text[q];
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
      if (nested.problem == XmlScanProblem::Unterminated) return Unterminated(pos, "Doctype");
      XmlNode node = nested;
      node.start = pos;
      node.problemOffset = lastGreater;
      return node;
    }
    if (m_text[nested.end - 1] == u'>') lastGreater = nested.end - 1;
    q = nested.end;
  }
  return Unterminated(pos, "Doctype");
}

// Comments, CDATA sections and processing instructions end at a '>' that the
// marker characters complete; the marker may not overlap the opening.
XmlNode XmlNodeScanner::ScanUntilMarker(qsizetype pos, XmlNodeKind kind, qsizetype bodyStart, char16_t markerChar,
                                        int markerLength, const char* kindName) const {
  for (qsizetype q = bodyStart + markerLength; q < m_end; ++q) {
    if (m_text[q] != u'>') continue;
    bool complete = true;
    for (int i = 1; i <= markerLength; ++i) complete &= m_text[q - i] == markerChar;
    if (!complete) continue;
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
XmlNode XmlNodeScanner::Rejected(qsizetype pos, XmlScanProblem problem, qsizetype offset, bool inDoctype) const {
  char16_t quote = 0;
  for (qsizetype q = pos + 1; q < m_end; ++q) {
    const char16_t c = m_text[q];
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
      if (c == quote) quote = 0;
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

XmlNode XmlNodeScanner::Unterminated(qsizetype pos, const char* kindName) const {
  XmlNode node;
  node.kind = XmlNodeKind::Bad;
  node.start = pos;
  node.end = m_end;
  node.problem = XmlScanProblem::Unterminated;
  node.unterminatedKind = kindName;
  node.problemOffset = pos;
  return node;
}
