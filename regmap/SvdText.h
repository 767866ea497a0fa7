#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// How SVD element texts become numbers and descriptions.
namespace SvdText {

// Reads an unsigned number the way the C library's wcstoul does: leading
// blanks, an optional sign, for base 16 an optional "0x"/"0X", then the digits
// of the base up to the first other character. No digits give 0; a value
// beyond 32 bits gives 0xFFFFFFFF; a minus sign negates modulo 2^32.
std::uint32_t ReadNumber(QStringView text, int base);

// Reads a number whose base comes from its prefix: "0x"/"0X" hexadecimal,
// "#" or "0b"/"0B" binary (an "x" there is a don't-care bit and counts as 0),
// decimal otherwise; the digits otherwise read as ReadNumber reads them.
std::uint32_t ReadPrefixedNumber(QStringView text);

// Removes every run of `runLength` consecutive spaces, found left to right
// without overlap (a run of 25 spaces keeps 5 when runLength is 10).
QString RemoveSpaceRuns(const QString &text, int runLength);

} // namespace SvdText
