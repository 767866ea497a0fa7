#pragma once

#include <QString>

// Decodes the five predefined entity references and numeric character
// references in element text; anything else after '&' is kept as written.
class XmlReferenceDecoder
{
public:
    // Appends text[0, length) to `out` with its references decoded. A reference
    // is decoded only when it lies wholly inside the given range. The narrow
    // form reads a text of ASCII bytes.
    static void AppendDecoded(QString &out, const char16_t *text, qsizetype length);
    static void AppendDecoded(QString &out, const char *text, qsizetype length);

private:
    template<typename CharT> static void Append(QString &out, const CharT *text, qsizetype length);
    template<typename CharT> static qsizetype DecodeNumeric(QString &out, const CharT *text, qsizetype length);
};
