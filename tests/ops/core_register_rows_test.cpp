// The core register grid's rows: values in either base, the fields of xPSR
// and CONTROL, registers a server did not give, and the values a person types.

#include "ops/CoreRegisterRows.h"

#include <gtest/gtest.h>

namespace {

const CoreRegisterRows::Row *Find(const std::vector<CoreRegisterRows::Row> &rows, const QString &name)
{
    for (const CoreRegisterRows::Row &row : rows)
        if (row.name == name)
            return &row;
    return nullptr;
}

} // namespace

TEST(CoreRegisterRows, ParsesWhatAPersonTypesInEitherBase)
{
    struct Case
    {
        const char *typed;
        bool hex;
        std::optional<uint32_t> value;
    };
    const Case cases[] = {
        {"12", false, 12u},
        {"12", true, 0x12u},
        {"0x12", false, 0x12u},
        {" 0XcafE1234 ", false, 0xCAFE1234u},
        {"4294967295", false, 0xFFFFFFFFu},
        {"4294967296", false, std::nullopt},
        {"FFFFFFFF", true, 0xFFFFFFFFu},
        {"1FFFFFFFF", true, std::nullopt},
        {"ff", false, std::nullopt},
        {"0x", true, std::nullopt},
        {"", true, std::nullopt},
        {"-1", false, std::nullopt},
        {"1 2", false, std::nullopt},
        {"１２", false, std::nullopt}, // full-width digits are no number here
    };
    for (const Case &c : cases)
        EXPECT_EQ(CoreRegisterRows::ParseTyped(QString::fromUtf8(c.typed), c.hex), c.value) << c.typed << " " << c.hex;
}

TEST(CoreRegisterRows, RowsSayReadNotGivenAndNotRead)
{
    const std::vector<CoreRegister> shown{CoreRegister::R0, CoreRegister::MSP, CoreRegister::BASEPRI,
                                          CoreRegister::XPSR};
    const auto notRead = CoreRegisterRows::Build(shown, {{CoreRegister::R0, 5}}, false);
    for (const auto &row : notRead)
        EXPECT_EQ(CoreRegisterRows::ValueText(row, true), "") << row.name.toStdString();

    const auto rows = CoreRegisterRows::Build(shown, {{CoreRegister::R0, 0x2A}, {CoreRegister::BASEPRI, 0x40}}, true);
    EXPECT_EQ(CoreRegisterRows::ValueText(*Find(rows, "R0"), true), "0x0000002A");
    EXPECT_EQ(CoreRegisterRows::ValueText(*Find(rows, "R0"), false), "42");
    EXPECT_EQ(CoreRegisterRows::ValueText(*Find(rows, "BASEPRI"), true), "0x40") << "a packed byte";
    EXPECT_EQ(CoreRegisterRows::ValueText(*Find(rows, "MSP"), true), "not given by the server");
    EXPECT_EQ(CoreRegisterRows::ValueText(*Find(rows, "xPSR"), false), "not given by the server");
    EXPECT_TRUE(Find(rows, "xPSR")->fields.empty());
    EXPECT_TRUE(Find(rows, "R0")->writable);
    EXPECT_FALSE(Find(rows, "BASEPRI")->writable);
}

TEST(CoreRegisterRows, XpsrAndControlFieldsAreDecoded)
{
    // IT/ICI split over bits 26:25 (IT[1:0]) and 15:10 (IT[7:2]); IRQ 3 is exception 19.
    const uint32_t xpsr = (1u << 30) | (1u << 27) | (0x2u << 25) | (1u << 24) | (0x5u << 16) | (0x2Bu << 10) | 19;
    const auto rows = CoreRegisterRows::Build({CoreRegister::XPSR, CoreRegister::CONTROL},
                                              {{CoreRegister::XPSR, xpsr}, {CoreRegister::CONTROL, 0x9}}, true);
    struct Field
    {
        const char *reg, *name;
        uint32_t value;
        const char *meaning;
    };
    const Field fields[] = {
        {"xPSR", "N", 0, "clear"},
        {"xPSR", "Z", 1, "set"},
        {"xPSR", "Q", 1, "set"},
        {"xPSR", "T", 1, "Thumb state"},
        {"xPSR", "GE", 5, ""},
        {"xPSR", "IT/ICI", (0x2Bu << 2) | 0x2, ""},
        {"xPSR", "Exception", 19, "IRQ 3"},
        {"CONTROL", "nPRIV", 1, "unprivileged in Thread mode"},
        {"CONTROL", "SPSEL", 0, "Thread mode uses MSP"},
        {"CONTROL", "FPCA", 0, "no floating-point context"},
        {"CONTROL", "SFPA", 1, "the floating-point context belongs to the Secure state"},
    };
    for (const Field &f : fields) {
        const auto *reg = Find(rows, f.reg);
        ASSERT_NE(reg, nullptr);
        const auto *field = Find(reg->fields, f.name);
        ASSERT_NE(field, nullptr) << f.name;
        EXPECT_EQ(field->value, f.value) << f.name;
        EXPECT_EQ(field->meaning, f.meaning) << f.name;
    }
    const auto cleared = CoreRegisterRows::Build({CoreRegister::XPSR}, {{CoreRegister::XPSR, 0}}, true);
    EXPECT_EQ(Find(cleared.front().fields, "T")->meaning, "Thumb bit clear: the next instruction faults");
    EXPECT_EQ(CoreRegisterRows::ValueText(*Find(cleared.front().fields, "Exception"), true), "0x000");
    EXPECT_EQ(Find(cleared.front().fields, "Exception")->meaning, "Thread mode");
}
