#pragma once

#include "xml/XmlElementRecord.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <unordered_map>
#include <vector>

// A small read-only XML reader with a cursor. The whole file is indexed once
// into a table of element records that point into the text; element text is
// decoded only when asked for. A file of ASCII bytes only (nearly every SVD
// file) is read as it is, one byte a code unit; any other is decoded into
// UTF-16 first. Offsets are UTF-16 code units either way. It never validates,
// reads attributes only when asked and never stops on bad input: the first problem is
// kept as a positioned message and a usable tree is built anyway.
//
// Walk: FindElement("") finds the root; EnterElement goes into the current
// element; FindElement(name) moves to the next child of that name;
// LeaveElement comes back out and remembers where the walk was.
class XmlDocument
{
public:
    struct TagLengths
    {
        std::int32_t startTag = 0;
        std::int32_t endTag = 0;
    };

    XmlDocument();

    // Reads the file whole and parses it. False only when the file could not be
    // read; the document is then left as it was, with the system's reason as the
    // error text. Well-formedness is IsSound()'s business.
    bool LoadFile(const QString &path);
    // The same as LoadFile once the bytes are in memory. Given a QByteArray
    // of ASCII, the document shares it instead of copying it.
    void LoadBytes(QByteArrayView bytes);
    void LoadBytes(const QByteArray &bytes);

    bool IsSound() const;
    QString ErrorText() const { return m_errorText; }

    bool FindElement(QStringView name);
    bool EnterElement();
    bool LeaveElement();
    QString ElementText() const;
    // The same two readings for any element by its record index, without
    // moving the cursor. An absent attribute reads as an empty string.
    QString ElementTextOf(std::uint32_t index) const;
    // The same text as a view into the document when it needs no decoding,
    // else into `decoded`, which then holds ElementTextOf(index).
    QAnyStringView ElementTextView(std::uint32_t index, QString &decoded) const;
    QString AttributeOf(std::uint32_t index, QStringView name) const;
    // Puts the cursor back on the document, so one parse serves several walks.
    void Rewind();

    // Inspection of the parse, for tests and tools. Text() is a copy when the
    // document is read as bytes.
    QString Text() const;
    qsizetype TextLength() const { return m_narrow ? m_bytes.size() : m_text.size(); }
    std::uint32_t RecordCount() const { return std::uint32_t(m_records.size()); }
    const XmlElementRecord &Record(std::uint32_t index) const { return m_records[index]; }
    TagLengths TagLengthsOf(std::uint32_t index) const;
    QAnyStringView TagName(std::uint32_t index) const;
    // TagName(index) == name, without measuring the name first.
    bool TagIs(std::uint32_t index, QStringView name) const;
    std::uint32_t Parent() const { return m_parent; }
    std::uint32_t Current() const { return m_current; }

private:
    struct Span
    {
        qsizetype start;
        qsizetype length;
    };

    // LoadBytes for bytes the document may keep as they are.
    void LoadOwnedBytes(QByteArray bytes);
    void LoadAscii(QByteArray bytes);
    void LoadDecoded(QByteArrayView bytes);
    void Parse();
    template<typename CharT> QString ParseText(const CharT *text, qsizetype length);
    // Calls f(text, length) with the document's text in its own code units.
    template<typename F> decltype(auto) WithText(F &&f) const
    {
        if (m_narrow)
            return f(m_bytes.constData(), m_bytes.size());
        return f(reinterpret_cast<const char16_t *>(m_text.constData()), m_text.size());
    }
    Span TagNameSpan(std::uint32_t index) const;
    bool NameMatches(std::uint32_t index, QStringView name) const;

    // One of the two holds the text: m_bytes when it is all ASCII.
    bool m_narrow = false;
    QByteArray m_bytes;
    QString m_text;
    QString m_errorText;
    std::vector<XmlElementRecord> m_records;
    // True tag lengths of the rare element whose tags outgrow the packed word.
    std::unordered_map<std::uint32_t, TagLengths> m_longTags;
    std::uint32_t m_parent = 0;
    std::uint32_t m_current = 0;
    std::uint32_t m_remembered = 0;
};
