// The register map rules of standard SVD files, one fixture peripheral per
// case, and the sample vendor files read whole.
#include "SvdDescribe.h"
#include "regmap/SvdDeviceModel.h"
#include "xml/XmlDocument.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char kFieldsXY[] = "  X 0 4 [x bits]\n  Y 4 4 [x bits]\n";

QString WithXY(const char *registerLine)
{
    return QString::fromUtf8(registerLine) + QString::fromUtf8(kFieldsXY);
}

} // namespace

TEST(SvdRules, EachRuleOnItsOwnPeripheral)
{
    struct Row
    {
        const char16_t *peripheral;
        QString expected;
    };
    const auto baseRegisters = [](const char *page) {
        return QStringLiteral(" CTRL 0 @00 [Control] size=16\n  EN 0 1 []\n"
                              " CH[0].CFG 14 @14 [] size=16\n CH[1].CFG 24 @24 [] size=16\n")
            .replace(u'@', QLatin1StringView(page));
    };
    const Row rows[] = {
        // Children in any order; a register without fields; a peripheral without registers.
        {u"ORDER", "ORDER 1000 c\n R 8 1008 [late name]\n  F 3 2 [d]\n BARE 4 1004 []\n"},
        {u"NOREGS", "NOREGS 2000 4\n"},
        // Derived peripherals: copies at their own base, chains, own registers
        // added to the copied ones, a base later in the file; missing links and cycles.
        {u"BASE", "BASE 3000 28\n" + baseRegisters("30")},
        {u"COPY", "COPY 3400 28\n" + baseRegisters("34")},
        {u"CHAIN", "CHAIN 3400 28\n" + baseRegisters("34")},
        {u"OWNREGS", "OWNREGS 3800 28\n" + baseRegisters("38") + " ONLY 20 3820 [] size=16\n"},
        {u"EARLY", "EARLY 4000 10\n LR c 400c []\n"},
        {u"LOST", "failed [svd] MIDDLE derivedFrom NOWHERE not find!\n"},
        {u"LOOP1", "failed [svd] LOOP2 derivedFrom LOOP1 not find!\n"},
        {u"SELF", "failed [svd] SELF derivedFrom SELF not find!\n"},
        // Registers, clusters and fields derived in the same scope, outward, and by a dotted path.
        {u"INNER", "INNER 5000 34\n" + WithXY(" A 0 5000 [First] size=8\n") + WithXY(" B 4 5004 [First] size=8\n") +
                       " G.R 10 5010 []\n" + WithXY(" G.S 14 5014 [First] size=8\n") + " H.R 20 5020 []\n" +
                       WithXY(" H.S 24 5024 [First] size=8\n") + " T 30 5030 []\n"},
        {u"INNERLOST", "failed [svd] U derivedFrom NOPE not find!\n"},
        // Arrays: default, list, decimal and letter ranges, a short list, dim 0, a binary dim, field arrays.
        {u"ARRAYS",
         "ARRAYS 6000 10c\n"
         " EVENTS[0] 100 6100 [Event 0]\n EVENTS[1] 104 6104 [Event 1]\n EVENTS[2] 108 6108 [Event 2]\n"
         " CHA_CFG 0 6000 []\n CHB_CFG 8 6008 []\n N4 20 6020 []\n N5 24 6024 []\n"
         " LC 30 6030 []\n LD 34 6034 []\n Sp 40 6040 []\n Sq 44 6044 []\n S2 48 6048 []\n"
         " SAME0 50 6050 []\n  PIN0 1 2 [Pin 0]\n  PIN1 3 2 [Pin 1]\n  PIN2 5 2 [Pin 2]\n  PIN3 7 2 [Pin 3]\n"
         " SAME1 50 6050 []\n  PIN0 1 2 [Pin 0]\n  PIN1 3 2 [Pin 1]\n  PIN2 5 2 [Pin 2]\n  PIN3 7 2 [Pin 3]\n"},
        {u"PORT0", "PORT0 7000 14\n IN 10 7010 []\n"},
        {u"PORT1", "PORT1 7100 14\n IN 10 7110 []\n"},
        {u"PORT%s", "not present"},
        {u"PORT2", "not present"},
        {u"TIMB_X", "TIMB_X 7810 4\n"},
        {u"TIM1_X", "not present"},
        {u"HUGE", "failed [svd] R%s dim 65537 over 65536!\n"},
        {u"WIDE", "failed [svd] WIDE expands to more than 262144 elements!\n"},
        // Clusters in place and in document order, nested and as arrays.
        {u"CLUSTERS", "CLUSTERS 9000 13c\n FIRST 0 9000 []\n OUT[0].A 104 9104 []\n OUT[0].IN.B 118 9118 []\n"
                      " OUT[1].A 124 9124 []\n OUT[1].IN.B 138 9138 []\n LAST 8 9008 []\n"},
        {u"NAMELESSCLUSTER", "failed [svd] peripherals->peripheral->registers->register->name  not find!\n"},
        {u"OFFSETLESSCLUSTER", "failed [svd] peripherals->peripheral->registers->register->addressOffset  not find!\n"},
        // Field positions: lsb/msb in either order, bitRange, bitOffset/bitWidth first.
        {u"POSITIONS", "POSITIONS a000 4\n R 0 a000 []\n  LM 4 4 []\n  ML 16 16 []\n  BR 8 4 []\n  ONE 12 1 []\n"
                       "  PREF 13 1 []\n"},
        {u"NOWIDTH", "failed [svd] peripherals->peripheral->registers->register->fields->field->bitWidth not find!\n"},
        {u"NOPOSITION",
         "failed [svd] peripherals->peripheral->registers->register->fields->field->bitOffset not find!\n"},
        // Sizes and access inherited, enumerated values of every block (FULL
        // written "0b11", as the schema allows), read side effects.
        {u"PROPS", "PROPS b000 28\n P 0 b000 [] size=16 ro\n W 4 b004 []\n"
                   "  E 0 3 [] ro {OFF=0x0,HALF=0x4,FULL=0x3,SET=0x7}\n  F 3 3 [] {OFF=0x0,HALF=0x4,FULL=0x3}\n"
                   " C.IN 10 b010 [] size=8 ro\n CLR 20 b020 [] rc\n FCLR 24 b024 [] rc\n  S 0 1 []\n"},
    };
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(FixturePath("rules.svd")));
    for (const Row &row : rows) {
        SCOPED_TRACE(QString::fromUtf16(row.peripheral).toStdString());
        EXPECT_EQ(Describe(SvdDeviceModel::ReadPeripheral(document, row.peripheral)), row.expected);
    }
}

TEST(SvdRules, PeripheralArraysAreListedByElement)
{
    const QStringList names = SvdDeviceModel::ReadPeripheralNames(FixturePath("rules.svd"));
    EXPECT_TRUE(names.contains("PORT0"));
    EXPECT_TRUE(names.contains("PORT1"));
    EXPECT_FALSE(names.contains("PORT%s"));
    EXPECT_EQ(names.indexOf("PORT1"), names.indexOf("PORT0") + 1);
}

TEST(SvdRules, DeviceSizeAndDerivedEnumeratedValuesFromAnotherPeripheral)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("d.svd");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<device><size>8</size><peripherals>"
               "<peripheral><name>A</name><baseAddress>0</baseAddress><registers><register><name>R</name>"
               "<addressOffset>0</addressOffset><fields><field><name>F</name><bitOffset>0</bitOffset>"
               "<bitWidth>1</bitWidth><enumeratedValues><name>ONOFF</name><enumeratedValue><name>ON</name>"
               "<value>1</value></enumeratedValue></enumeratedValues></field></fields></register></registers>"
               "</peripheral>"
               "<peripheral><name>B</name><baseAddress>4</baseAddress><registers><register><name>Q</name>"
               "<addressOffset>0</addressOffset><fields><field><name>G</name><bitOffset>1</bitOffset>"
               "<bitWidth>1</bitWidth><enumeratedValues derivedFrom=\"A.R.F.ONOFF\"/></field>"
               "<field><name>H</name><bitOffset>2</bitOffset><bitWidth>1</bitWidth>"
               "<enumeratedValues derivedFrom=\"B.R.F.ONOFF\"/></field></fields></register></registers>"
               "</peripheral></peripherals></device>");
    file.close();
    EXPECT_EQ(Describe(SvdDeviceModel::ReadPeripheral(path, u"A")), "A 0 4\n R 0 0 [] size=8\n  F 0 1 [] {ON=0x1}\n");
    // A dotted name must match the block's owners: B.R.F names no block.
    EXPECT_EQ(Describe(SvdDeviceModel::ReadPeripheral(path, u"B")),
              "failed [svd] H derivedFrom B.R.F.ONOFF not find!\n");
}
