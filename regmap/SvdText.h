#pragma once

#include <QAnyStringView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// How SVD element texts become numbers and descriptions.
namespace SvdText {

// Which of the file's number forms a text is written in.
enum class NumberForm {
    Plain,           // every number but an enumerated value
    EnumeratedValue, // binary also as "0b"; binary "x" digits (don't care) count as 0
};

// A number as SVD files write it: blanks around it, an optional "+", then
// "0x"/"0X" and hexadecimal digits, "#" and binary digits, or decimal
// digits, then an optional scaling suffix k, M or G (either case: times
// 1024, 1024^2, 1024^3). Nothing when the text is not wholly such a number
// or the value does not fit 32 bits.
std::optional<std::uint32_t> ReadSvdNumber(QAnyStringView text, NumberForm form = NumberForm::Plain);

// Removes every run of `runLength` consecutive spaces, found left to right
// without overlap (a run of 25 spaces keeps 5 when runLength is 10).
QString RemoveSpaceRuns(const QString &text, int runLength);
// Whether the text holds a run of at least `runLength` spaces.
bool HasSpaceRun(QStringView text, int runLength);

} // namespace SvdText
