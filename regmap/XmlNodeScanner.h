#pragma once

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

struct XmlNode {
  XmlNodeKind kind = XmlNodeKind::EndOfText;
  qsizetype start = 0;
  qsizetype end = 0;  // where the next node starts
  // Start tag: the tag name; end tag: the name after "</".
  qsizetype nameStart = 0;
  qsizetype nameLength = 0;
  bool selfClosing = false;
  XmlScanProblem problem = XmlScanProblem::None;
  const char* unterminatedKind = nullptr;
  qsizetype problemOffset = 0;

  qsizetype Length() const { return end - start; }
  QString Message() const;
};

// Reads one node at a time from UTF-16 text, never past `end`. The end of the
// range stands for the end of the text, so the same scanner serves the whole
// document and the content of a single element.
class XmlNodeScanner {
public:
  XmlNodeScanner(const char16_t* text, qsizetype end) : m_text(text), m_end(end) {}

  XmlNode Scan(qsizetype pos) const { return ScanAt(pos, false); }

private:
  XmlNode ScanAt(qsizetype pos, bool inDoctype) const;
  XmlNode ScanCharacters(qsizetype pos) const;
  XmlNode ScanStartTag(qsizetype pos) const;
  XmlNode ScanEndTag(qsizetype pos) const;
  XmlNode ScanBang(qsizetype pos, bool inDoctype) const;
  XmlNode ScanDoctype(qsizetype pos) const;
  XmlNode ScanUntilMarker(qsizetype pos, XmlNodeKind kind, qsizetype bodyStart, char16_t markerChar,
                          int markerLength, const char* kindName) const;
  XmlNode Rejected(qsizetype pos, XmlScanProblem problem, qsizetype offset, bool inDoctype) const;
  XmlNode Unterminated(qsizetype pos, const char* kindName) const;
  qsizetype FindGreaterOutsideQuotes(qsizetype from) const;

  const char16_t* m_text;
  qsizetype m_end;
};
