// Every box that takes a number reads it here, each in its form: the table
// holds the register rows' reading, the memory window's and corvane-cli's,
// the panel's lenient ones and the probe box's.
#include "link/NumberInput.h"

#include <QString>

#include <gtest/gtest.h>

#include <optional>

namespace {

using NumberInput::Form;
using NumberInput::Reading;

constexpr Form kHexRow = NumberInput::RegisterValue(true);
constexpr Form kDecRow = NumberInput::RegisterValue(false);
constexpr Form kAddress = NumberInput::kAddress;
constexpr Form kPanel = NumberInput::kPanelField;
constexpr Form kPanelWord = NumberInput::kPanelWord;
constexpr Form kProbe = NumberInput::kProbeSerial;
constexpr Form kCHex{16, 32, false, false, false, Reading::Leading};
constexpr Form kStrictHex{}; // a box that takes hex digits only, no blanks between

TEST(NumberInput, EachFormReadsWhatItsBoxTakes)
{
    constexpr bool kTooWide = true;
    struct Case
    {
        QString text;
        Form form;
        std::optional<uint64_t> value; // nothing: no number of the form
        bool tooWide = false;          // a number, but wider than the form
    };
    const QString longField = QString(37, u' ') + QStringLiteral("12345");
    const Case cases[] = {
        // Register rows, in the window's base.
        {u"0E000105"_qs, kHexRow, 0x0E000105u},
        {u"10"_qs, kHexRow, 0x10u},
        {u"10"_qs, kDecRow, 10u},
        {u"0x10"_qs, kDecRow, 0x10u},
        {u"0X1f"_qs, kDecRow, 0x1Fu},
        {u"#101"_qs, kHexRow, 5u},
        {u"0b101"_qs, kDecRow, 5u},
        {u"0b101"_qs, kHexRow, 5u},
        {u"  42  "_qs, kDecRow, 42u},
        {u"5 (FAST)"_qs, kDecRow, 5u},
        {u"0x5 (FAST)"_qs, kHexRow, 5u},
        {u"FFFFFFFF"_qs, kHexRow, 0xFFFFFFFFu},
        {u"4294967295"_qs, kDecRow, 0xFFFFFFFFu},
        {u"100000000"_qs, kHexRow, 0x100000000u},
        {u"4294967296"_qs, kDecRow, 0x100000000u},
        {u"0x1122334455667788"_qs, kDecRow, 0x1122334455667788u},
        {u"18446744073709551615"_qs, kDecRow, 0xFFFFFFFFFFFFFFFFu},
        {u"18446744073709551616"_qs, kDecRow, std::nullopt, kTooWide},
        {u"10000000000000000"_qs, kHexRow, std::nullopt, kTooWide},
        {u"E"_qs, kDecRow, std::nullopt},
        {u"0E000105"_qs, kDecRow, std::nullopt},
        {u"12abc"_qs, kDecRow, std::nullopt},
        {u"-1"_qs, kDecRow, std::nullopt},
        {u""_qs, kHexRow, std::nullopt},
        {u"0x"_qs, kHexRow, std::nullopt},
        {u"#2"_qs, kHexRow, std::nullopt},
        {u"1 2"_qs, kDecRow, std::nullopt},
        {u"zz10"_qs, kHexRow, std::nullopt},
        {u"10zz"_qs, kHexRow, std::nullopt},
        {u"(FAST)"_qs, kHexRow, std::nullopt},
        // Addresses and lengths of the memory window and corvane-cli, find's word.
        {u"20001000"_qs, kAddress, 0x20001000u},
        {u"0xADC"_qs, kAddress, 0xADCu},
        {u"0x2000 1000"_qs, kAddress, 0x20001000u},
        {u" 0x10 "_qs, kAddress, 0x10u},
        {u"FFFFFFFF"_qs, kAddress, 0xFFFFFFFFu},
        {u"000000010"_qs, kAddress, 0x10u}, // leading zeros widen nothing
        {u"123456789"_qs, kAddress, std::nullopt, kTooWide},
        {u"12G4"_qs, kAddress, std::nullopt},
        {u"zz10"_qs, kAddress, std::nullopt},
        {u"10zz"_qs, kAddress, std::nullopt},
        {u"-10"_qs, kAddress, std::nullopt},
        {u"0b10"_qs, kAddress, 0xB10u}, // no binary prefix in an address
        {u""_qs, kAddress, std::nullopt},
        {u"   "_qs, kAddress, std::nullopt},
        {u"0x"_qs, kAddress, std::nullopt},
        {u"1 2"_qs, kStrictHex, std::nullopt},
        {u"C0FFEE33"_qs, kStrictHex, 0xC0FFEE33u},
        // The panel's boxes: the hex digits at the end, never refused.
        {u""_qs, kPanel, 0u},
        {u"0"_qs, kPanel, 0u},
        {u"20000000"_qs, kPanel, 0x20000000u},
        {u"0x20000000"_qs, kPanel, 0x20000000u}, // the scan stops at the x
        {u"0X1f"_qs, kPanel, 0x1Fu},
        {u"20 00 00 00"_qs, kPanel, 0x20000000u},
        {u"0x2000 0000"_qs, kPanel, 0x20000000u},
        {u"   "_qs, kPanel, 0u},
        {u"12G34"_qs, kPanel, 0x34u},
        {u"abcdef"_qs, kPanel, 0xABCDEFu},
        {u"ABCDEF"_qs, kPanel, 0xABCDEFu},
        {u"FFFFFFFF"_qs, kPanel, 0xFFFFFFFFu},
        {u"123456789"_qs, kPanel, 0x23456789u}, // the ninth digit falls off
        {u"1FFFFFFFFF"_qs, kPanel, 0xFFFFFFFFu},
        {u"-10"_qs, kPanel, 0x10u},
        {u"10\t"_qs, kPanel, 0u}, // a tab is no blank: the scan stops at once
        {u"zz10"_qs, kPanel, 0x10u},
        {u"10zz"_qs, kPanel, 0u},
        {longField, kPanel, 0x1u},                 // only the box's 38 characters count
        {u"0x12345678"_qs, kPanelWord, 0x123456u}, // the data box keeps 8
        {u"12345678"_qs, kPanelWord, 0x12345678u},
        // The probe box, and any box read as the C library reads.
        {u"0x40"_qs, kCHex, 0x40u},
        {u"40"_qs, kCHex, 0x40u},
        {u"16"_qs, kCHex, 0x16u},
        {u"0X1f"_qs, kCHex, 0x1Fu},
        {u" \t\n0x10"_qs, kCHex, 0x10u},
        {u""_qs, kCHex, 0u},
        {u"zz"_qs, kCHex, 0u},
        {u"0x"_qs, kCHex, 0u},
        {u"0xG"_qs, kCHex, 0u},
        {u"FFFFFFFF"_qs, kCHex, 0xFFFFFFFFu},
        {u"0x100000000"_qs, kCHex, 0xFFFFFFFFu},
        {u"-0x10"_qs, kCHex, 0xFFFFFFF0u},
        {u"+7"_qs, kProbe, 7u},
        {u"-1"_qs, kProbe, 0xFFFFFFFFu},
        {u"0x3"_qs, kProbe, 0u},
        {u"12abc"_qs, kProbe, 12u},
        {u"4294967295"_qs, kProbe, 0xFFFFFFFFu},
        {u"99999999999"_qs, kProbe, 0xFFFFFFFFu},
        {u"\n  31 "_qs, kProbe, 31u},
        {u"- 5"_qs, kProbe, 0u},
        {u"10zz"_qs, kProbe, 10u},
        {u"zz10"_qs, kProbe, 0u},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text.toStdString() << "\" base " << c.form.base << " reading "
                                        << int(c.form.reading));
        EXPECT_EQ(NumberInput::Value(c.text, c.form), c.value);
        const std::optional<NumberInput::Number> number = NumberInput::Read(c.text, c.form);
        EXPECT_EQ(number.has_value(), c.value.has_value() || c.tooWide);
        if (number) {
            EXPECT_EQ(number->tooWide, c.tooWide);
        }
        if (c.form.reading != Reading::Whole) {
            EXPECT_EQ(NumberInput::Lenient(c.text, c.form), c.value.value_or(0));
        }
    }
}

} // namespace
