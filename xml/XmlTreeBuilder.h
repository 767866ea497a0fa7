#pragma once

#include "xml/XmlDocument.h"
#include "xml/XmlElementRecord.h"
#include "xml/XmlNodeScanner.h"

#include <QString>

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

// Turns the node stream of a document into the element table. Unclosed
// elements are closed as "not ended": their children move up to become their
// following siblings. Keeps only the first error it meets. Reads UTF-16 text
// or a text of ASCII bytes.
template<typename CharT> class XmlTreeBuilder
{
public:
    XmlTreeBuilder(const CharT *text, qsizetype length, std::vector<XmlElementRecord> &records,
                   std::unordered_map<std::uint32_t, XmlDocument::TagLengths> &longTags);

    // Builds the tree below record 0, which must be cleared and present.
    // Returns the first error met, empty when none.
    QString Build();

private:
    struct OpenElement
    {
        std::uint32_t index;
        std::int32_t nameStart;
        std::int32_t nameLength;
    };

    std::uint32_t NewRecord();
    void AppendChild(std::uint32_t parent, std::uint32_t child);
    void SetTagLengths(std::uint32_t index, qsizetype startTag, qsizetype endTag);
    void StartTag(qsizetype start, qsizetype end, qsizetype nameStart, qsizetype nameLength, bool selfClosing);
    void EndTag(qsizetype start, qsizetype end, qsizetype nameStart, qsizetype nameLength);
    void Close(qsizetype depth, qsizetype start, qsizetype end);
    void OnBadNode(const XmlNode &node);
    void OnEndOfText();
    qsizetype FindOpen(std::basic_string_view<CharT> name);
    void CloseNotEnded(qsizetype keep);
    void Push(const OpenElement &open);
    void PopTo(qsizetype depth);
    void MarkBad(std::uint32_t parent);
    QString NameOf(const OpenElement &open) const;
    std::basic_string_view<CharT> NameView(qsizetype start, qsizetype length) const
    {
        return std::basic_string_view<CharT>(m_text + start, std::size_t(length));
    }

    const CharT *m_text;
    qsizetype m_length;
    std::vector<XmlElementRecord> &m_records;
    std::unordered_map<std::uint32_t, XmlDocument::TagLengths> &m_longTags;
    std::vector<OpenElement> m_open;
    std::uint32_t m_currentParent = 0;
    QString m_error;
    // Once the open stack grows deep, end tags are matched through this index
    // (name -> stack depths, innermost last) so a flood of stray end tags
    // cannot make the parse quadratic.
    bool m_indexed = false;
    std::unordered_map<std::basic_string_view<CharT>, std::vector<std::uint32_t>> m_openByName;
};

extern template class XmlTreeBuilder<char16_t>;
extern template class XmlTreeBuilder<char>;
