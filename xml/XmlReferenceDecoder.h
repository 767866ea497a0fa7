#pragma once

#include <QString>

// Decodes the five predefined entity references and numeric character
// references in element text; anything else after '&' is kept as written.
class XmlReferenceDecoder
{
public:
    // Appends text[0, length) to `out` with its references decoded. A reference
    // is decoded only when it lies wholly inside the given range.
    static void AppendDecoded(QString &out, const char16_t *text, qsizetype length);

private:
    static qsizetype DecodeNumeric(QString &out, const char16_t *text, qsizetype length);
};
