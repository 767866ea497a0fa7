// Vendor SVD files as the standard writes them: its number forms, trimmed
// names, derivations from array elements and derivations that add to what
// they copy, spans of wide registers, addresses that never wrap and lists
// that are shared rather than copied. One small fixture per rule.
#include "SvdDescribe.h"
#include "regmap/RegisterRowTree.h"
#include "regmap/SvdDeviceModel.h"
#include "regmap/SvdText.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct Row
{
    const char16_t *peripheral;
    QString expected;
};

void ExpectPeripherals(const char *fixture, std::initializer_list<Row> rows)
{
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(FixturePath(fixture)));
    for (const Row &row : rows) {
        SCOPED_TRACE(QString::fromUtf16(row.peripheral).toStdString());
        EXPECT_EQ(Describe(SvdDeviceModel::ReadPeripheral(document, row.peripheral)), row.expected);
    }
}

const char kNoBaseAddress[] = "failed [svd] peripherals->peripheral->baseAddress not find!\n";
const char kNoAddressOffset[] = "failed [svd] peripherals->peripheral->registers->register->addressOffset  not find!\n";
const char kNoBitOffset[] =
    "failed [svd] peripherals->peripheral->registers->register->fields->field->bitOffset not find!\n";
const char kNoBitWidth[] =
    "failed [svd] peripherals->peripheral->registers->register->fields->field->bitWidth not find!\n";

} // namespace

TEST(SvdText, ReadsNumbersAsSvdFilesWriteThem)
{
    using SvdText::NumberForm;
    struct Case
    {
        const char16_t *text;
        NumberForm form;
        std::optional<std::uint32_t> value;
    };
    const Case cases[] = {
        {u"0x1F", NumberForm::Plain, 0x1F},
        {u"0X1f", NumberForm::Plain, 0x1F},
        {u"40", NumberForm::Plain, 40},
        {u" \n\t42 \r\n", NumberForm::Plain, 42},
        {u"+7", NumberForm::Plain, 7},
        {u"#1010", NumberForm::Plain, 10},
        {u"1k", NumberForm::Plain, 1024},
        {u"0x10K", NumberForm::Plain, 0x4000},
        {u"2M", NumberForm::Plain, 0x200000},
        {u"3g", NumberForm::Plain, 0xC0000000},
        {u"#1m", NumberForm::Plain, 0x100000},
        {u"0x00000000FFFFFFFF", NumberForm::Plain, 0xFFFFFFFF},
        {u"4294967295", NumberForm::Plain, 0xFFFFFFFF},
        {u"#1x1", NumberForm::EnumeratedValue, 5},
        {u"#xX", NumberForm::EnumeratedValue, 0},
        {u"0b11", NumberForm::EnumeratedValue, 3},
        {u"0b1x0", NumberForm::EnumeratedValue, 4},
        {u" +0b001 ", NumberForm::EnumeratedValue, 1},
        // Not wholly such a number, or past 32 bits.
        {u"4294967296", NumberForm::Plain, std::nullopt},
        {u"0x100000000", NumberForm::Plain, std::nullopt},
        {u"4G", NumberForm::Plain, std::nullopt},
        {u"1T", NumberForm::Plain, std::nullopt},
        {u"#1x1", NumberForm::Plain, std::nullopt},
        {u"0x1x", NumberForm::EnumeratedValue, std::nullopt},
        {u"0b11", NumberForm::Plain, std::nullopt},
        {u"0b", NumberForm::EnumeratedValue, std::nullopt},
        {u"0b102", NumberForm::EnumeratedValue, std::nullopt},
        {u"1C", NumberForm::Plain, std::nullopt},
        {u"12abc", NumberForm::Plain, std::nullopt},
        {u"1 0", NumberForm::Plain, std::nullopt},
        {u"1kk", NumberForm::Plain, std::nullopt},
        {u"-1", NumberForm::Plain, std::nullopt},
        {u"++1", NumberForm::Plain, std::nullopt},
        {u"#2", NumberForm::Plain, std::nullopt},
        {u"", NumberForm::Plain, std::nullopt},
        {u"  ", NumberForm::Plain, std::nullopt},
        {u"0x", NumberForm::Plain, std::nullopt},
        {u"#", NumberForm::Plain, std::nullopt},
        {u"k", NumberForm::Plain, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(SvdText::ReadSvdNumber(QStringView(c.text), c.form), c.value);
    }
}

TEST(SvdStandard, NumbersAreReadInEveryPlaceAsTheStandardWritesThem)
{
    ExpectPeripherals(
        "numbers.svd",
        {
            // Decimal offsets and positions, binary, scaled, a binary dim; a
            // 64-bit reset value does not fit and leaves none; enumerated
            // values in binary with don't-care digits, and one that is no number.
            {u"FORMS", "FORMS 40000000 908\n"
                       " DEC 28 40000028 [] reset=0xa mask=0xff\n"
                       "  HEXPOS 1 2 []\n  BINPOS 4 2 []\n  E 8 4 [] {DONTCARE=0x5,HEX=0xa,DEC=0xc,CBIN=0x3}\n"
                       " BIN 30 40000030 []\n KILO 400 40000400 [] size=16\n"
                       " A0 800 40000800 []\n A1 808 40000808 []\n A2 810 40000810 []\n"
                       " WIDE 900 40000900 [] size=64\n"},
            {u"GIGA", "GIGA c0000000 4\n"},
            {u"MEGA", "MEGA 100000 4\n"},
            // Numbers that are none: the message of the missing element.
            {u"BADBASE", kNoBaseAddress},
            {u"BIGBASE", kNoBaseAddress},
            {u"BADOFFSET", kNoAddressOffset},
            {u"HEXLESS", kNoAddressOffset},
            {u"BADBITOFFSET", kNoBitOffset},
            {u"BADBITWIDTH", kNoBitWidth},
            {u"BADLSB", kNoBitOffset},
            {u"BADRANGE", kNoBitOffset},
            // Elements without such a message name themselves.
            {u"BADDIM", "failed [svd] R%s dim two not a number!\n"},
            {u"BADINCREMENT", "failed [svd] R%s dimIncrement 4 bytes not a number!\n"},
            {u"BADSIZE", "failed [svd] R size wide not a number!\n"},
        });
}

TEST(SvdStandard, EnumeratedValuesReadInEveryFormTheSchemaAllows)
{
    ExpectPeripherals("enum-values.svd",
                      {{u"VENDOR", "VENDOR 40010000 4\n CTRL 0 40010000 []\n"
                                   "  MODE 0 3 [] {IDLE=0x0,RUN=0x1,SLEEP=0x2,HALT=0x4,STOP=0x5,TEST=0x6,OFF=0x7}\n"
                                   "  CLKSEL 4 2 [] {HSI=0x0,HSE=0x1,PLL=0x2,LSI=0x3}\n"}});
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(FixturePath("enum-values.svd")));
    const QStringList texts = EnumeratedValueTexts(document);
    EXPECT_EQ(texts.size(), 11);
    for (const QString &text : texts)
        EXPECT_TRUE(SvdText::ReadSvdNumber(text, SvdText::NumberForm::EnumeratedValue)) << text.toStdString();
}

TEST(SvdStandard, NamesAndDerivedFromTextsAreTrimmed)
{
    const QString trim = " CTRL 0 @000 []\n  MDIV3EN 0 1 [] {ON=0x1}\n  COPY 1 1 [] {ON=0x1}\n"
                         " CTRL2 4 @004 []\n  MDIV3EN 0 1 [] {ON=0x1}\n  COPY 1 1 [] {ON=0x1}\n"
                         " C.R 10 @010 []\n R2 20 @020 []\n";
    ExpectPeripherals("names.svd", {
                                       {u"TRIM", "TRIM 1000 24\n" + QString(trim).replace(u'@', u'1')},
                                       {u"TRIM2", "TRIM2 2000 24\n" + QString(trim).replace(u'@', u'2')},
                                       {u"ARR1", "ARR1 3004 4\n"},
                                       {u" TRIM", "not present"},
                                   });
    EXPECT_EQ(SvdDeviceModel::ReadPeripheralNames(FixturePath("names.svd")),
              QStringList({"TRIM", "TRIM2", "ARR0", "ARR1"}));
}

TEST(SvdStandard, DerivedFromMayNameOneElementOfAnArray)
{
    const char pfs[] = "  PODR 0 1 []\n";
    ExpectPeripherals(
        "array-element.svd",
        {
            // Registers, clusters and fields derived from an element take its
            // offset or bit position, and its index in the description; a
            // register named like the element it derives from is not its own base.
            {u"PFS", QStringLiteral("PFS 40040800 204\n"
                                    " P100PFS 40 40040840 [Pin 100] size=16\n%1"
                                    " P101PFS 44 40040844 [Pin 101] size=16\n%1"
                                    " P102PFS 48 40040848 [Pin 102] size=16\n%1"
                                    " P200PFS 80 40040880 [Pin 100] size=16\n%1"
                                    " P102ALIAS 48 40040848 [Pin 102] size=16\n%1"
                                    " P101PFS 90 40040890 [Pin 101] size=16\n%1"
                                    " CH0.CFG 100 40040900 []\n CH1.CFG 110 40040910 []\n CHX.CFG 110 40040910 []\n"
                                    " PINS 200 40040a00 []\n"
                                    "  PIN0 0 2 []\n  PIN1 2 2 []\n  PIN2 4 2 []\n  PIN3 6 2 []\n  LAST 6 2 []\n")
                         .arg(QLatin1StringView(pfs))},
            // The literal R1 is found before element 1 of R%s.
            {u"LITERAL", "LITERAL 1000 24\n R0 0 1000 [] size=8\n R1 4 1004 [] size=8\n R1 10 1010 [] size=16\n"
                         " D 20 1020 [] size=16\n"},
            // Peripherals: the element's base address unless one of their own.
            {u"PORTX", "PORTX 7100 14\n IN 10 7110 []\n"},
            {u"PORTY", "PORTY 9000 14\n IN 10 9010 []\n"},
            {u"PORTZ", "failed [svd] PORTZ derivedFrom PORT2 not find!\n"},
        });
}

TEST(SvdStandard, DerivedElementsAddTheirOwnToWhatTheyCopy)
{
    ExpectPeripherals(
        "derived-adds.svd",
        {
            // Own registers added, an own one of a copied name in that one's place.
            {u"TMR14", "TMR14 40018000 54\n CTRL1 0 40018000 [] size=16\n CNT 24 40018024 [Own counter]\n"
                       " DIV 28 40018028 [] size=16\n RMP 50 40018050 [] size=16\n"},
            // An own register deriving from the name it replaces derives from the copied one.
            {u"TMR15", "TMR15 40019000 34\n CTRL1 0 40019000 [] size=16\n CNT 30 40019030 [Counter] size=16\n"
                       " DIV 28 40019028 [] size=16\n"},
            // Clusters add registers, registers add fields; own enumerated
            // values replace the copied list.
            {u"INSIDE", "INSIDE 5000 2c\n A.X 0 5000 []\n A.Y 4 5004 []\n B.X 1c 501c []\n B.Y 14 5014 []\n"
                        " B.Z 18 5018 []\n"
                        " R 20 5020 []\n  F 0 2 [] {OFF=0x0,ON=0x1}\n  G 2 1 []\n"
                        " S 24 5024 []\n  F 0 2 [] {OFF=0x0,ON=0x1}\n  G 4 2 []\n  H 3 1 []\n"
                        " T 28 5028 []\n  F 0 2 [] {IDLE=0x2}\n  G 2 1 []\n"},
        });
}

TEST(SvdStandard, SpanCountsEachRegisterWhole)
{
    ExpectPeripherals("span.svd",
                      {
                          {u"CLINT", "CLINT 2000000 c000\n msip 0 2000000 []\n mtimecmp 4000 2004000 [] size=64\n"
                                     " mtime bff8 200bff8 [] size=64\n"},
                          {u"NARROW", "NARROW 1000 7\n B0 0 1000 [] size=8\n B3 3 1003 [] size=8\n"},
                          {u"WIDEINSIDE", "WIDEINSIDE 2000 18\n W 10 2010 [] size=64\n L 8 2008 []\n"},
                          {u"ODD", "ODD 3000 6\n H 0 3000 [] size=48\n"},
                      });
}

TEST(SvdStandard, AddressesNeverWrapRound)
{
    ExpectPeripherals("wrap.svd",
                      {
                          {u"EDGE", "EDGE fffffff0 10\n R0 0 fffffff0 []\n R1 4 fffffff4 []\n R2 8 fffffff8 []\n"
                                    " R3 c fffffffc []\n"},
                          {u"TOP", "failed [svd] R4 address past 0xFFFFFFFF !\n"},
                          {u"FAROFFSET", "failed [svd] FAR address past 0xFFFFFFFF !\n"},
                          {u"WHOLE", "failed [svd] WHOLE span past 0xFFFFFFFF !\n"},
                          {u"WIDELAST", "failed [svd] W address past 0xFFFFFFFF !\n"},
                          {u"CLUSTERED", "failed [svd] C1.R address past 0xFFFFFFFF !\n"},
                          {u"EMPTY", "failed [svd] EMPTY address past 0xFFFFFFFF !\n"},
                          {u"PORT1", "PORT1 ffffff00 4\n"},
                          {u"PORT2", "failed [svd] PORT2 address past 0xFFFFFFFF !\n"},
                      });
}

// Fields deriving one list of enumerated values share it, and it counts once
// against the bound of a walk (262 144 registers, fields and values); values
// count like registers and fields.
TEST(SvdStandard, EnumeratedValueListsAreSharedAndCountedOnce)
{
    const auto values = [](int count) {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += "<enumeratedValue><name>V</name><value>" + QByteArray::number(i) + "</value></enumeratedValue>";
        return text;
    };
    // 1 002 fields of 300 values: 300 600 values if each field counted its own.
    QByteArray copies;
    for (int i = 0; i < 1000; ++i)
        copies += "<field derivedFrom=\"BIG\"><name>C" + QByteArray::number(i) + "</name></field>";
    const QByteArray svd = "<device><peripherals>"
                           "<peripheral><name>SHARED</name><baseAddress>0</baseAddress><registers>"
                           "<register><name>R</name><addressOffset>0</addressOffset><fields>"
                           "<field><name>BIG</name><bitOffset>0</bitOffset><bitWidth>32</bitWidth>"
                           "<enumeratedValues><name>BIGV</name>" +
                           values(300) + "</enumeratedValues></field>" + copies +
                           "<field><name>NAMED</name><bitOffset>0</bitOffset><bitWidth>32</bitWidth>"
                           "<enumeratedValues derivedFrom=\"BIGV\"/></field></fields></register>"
                           "<register derivedFrom=\"R\"><name>S</name><addressOffset>4</addressOffset></register>"
                           "</registers></peripheral>"
                           // 196 610 registers and fields, then 70 000 values.
                           "<peripheral><name>TOOMANY</name><baseAddress>0</baseAddress><registers>"
                           "<register><dim>65536</dim><dimIncrement>4</dimIncrement><name>R%s</name>"
                           "<addressOffset>0</addressOffset><fields>"
                           "<field><name>A</name><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field>"
                           "<field><name>B</name><bitOffset>1</bitOffset><bitWidth>1</bitWidth></field>"
                           "</fields></register>"
                           "<register><name>E</name><addressOffset>0x40000</addressOffset><fields>"
                           "<field><name>F</name><bitOffset>0</bitOffset><bitWidth>32</bitWidth><enumeratedValues>" +
                           values(70000) +
                           "</enumeratedValues></field></fields></register></registers></peripheral>"
                           "</peripherals></device>";
    XmlDocument document;
    document.LoadBytes(svd);
    const SvdPeripheralResult shared = SvdDeviceModel::ReadPeripheral(document, u"SHARED");
    ASSERT_EQ(shared.outcome, SvdPeripheralResult::Outcome::Found) << shared.message.toStdString();
    ASSERT_EQ(shared.peripheral.registers.size(), 2);
    const SvdEnumValue *list = shared.peripheral.registers[0].fields[0].enumValues.constData();
    for (const SvdRegister &reg : shared.peripheral.registers) {
        ASSERT_EQ(reg.fields.size(), 1002);
        for (const SvdField &field : reg.fields) {
            SCOPED_TRACE((reg.name + u'.' + field.name).toStdString());
            ASSERT_EQ(field.enumValues.size(), 300);
            ASSERT_EQ(field.enumValues.constData(), list);
        }
    }
    EXPECT_EQ(Describe(SvdDeviceModel::ReadPeripheral(document, u"TOOMANY")),
              "failed [svd] TOOMANY expands to more than 262144 elements!\n");
}

// The register rows take what the SVD file says of each register and field.
TEST(SvdStandard, RowsShowTheRegistersAccessResetAndReadAction)
{
    const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(FixturePath("properties.svd"), u"PROPS");
    ASSERT_EQ(result.outcome, SvdPeripheralResult::Outcome::Found) << result.message.toStdString();
    RegisterRowTree tree;
    const RegisterRow *peripheral = tree.AppendPeripheral(result.peripheral, {});
    struct Expected
    {
        const char *name;
        const char *access;
        std::optional<std::uint32_t> reset;
        std::optional<std::uint32_t> mask;
        const char *readAction;
        bool valueEditable;
    };
    const Expected expected[] = {
        {"A", "read-write", 0x1234, 0xFFFF, "clear", true},
        {"B", "read-write", 0x1234, 0xFFFF, "clear", true},  // from its base
        {"C", "read-only", 0x11, 0xFFFFFFFF, "", false},     // from the peripheral and the device
        {"K.D", "read-only", 0x22, std::nullopt, "", false}, // from the cluster; its mask is no number
    };
    ASSERT_EQ(peripheral->ChildCount(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Expected &e = expected[i];
        const RegisterRow &reg = *peripheral->Child(i);
        SCOPED_TRACE(e.name);
        EXPECT_EQ(reg.BareName(), QLatin1StringView(e.name));
        EXPECT_EQ(reg.Traits().access, QLatin1StringView(e.access));
        EXPECT_EQ(reg.Traits().resetValue, e.reset);
        EXPECT_EQ(reg.Traits().resetMask, e.mask);
        EXPECT_EQ(reg.Traits().readAction, QLatin1StringView(e.readAction));
        EXPECT_EQ(reg.Traits().readHasSideEffect, *e.readAction != 0);
        EXPECT_EQ(reg.Child(0)->IsEditable(), e.valueEditable);
    }
    // A field's own access, else its register's.
    const RegisterRow &a = *peripheral->Child(0);
    ASSERT_EQ(a.ChildCount(), 3u);
    EXPECT_EQ(a.Child(1)->Traits().access, "write-only");
    EXPECT_EQ(a.Child(2)->Traits().access, "read-write");
}
