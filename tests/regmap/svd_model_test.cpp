#include "SvdDescribe.h"
#include "regmap/SvdDeviceModel.h"
#include "regmap/SvdText.h"
#include "xml/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using Outcome = SvdPeripheralResult::Outcome;

TEST(SvdDeviceModel, FormsTheFilePath)
{
    EXPECT_EQ(SvdDeviceModel::SvdFilePath("/opt/corvane", "VX21A"), "/opt/corvane/svd/VX21A.svd");
}

TEST(SvdDeviceModel, ListsPeripheralNamesInDocumentOrder)
{
    EXPECT_EQ(SvdDeviceModel::ReadPeripheralNames(FixturePath("device.svd")),
              QStringList({"UART0", "UART1", "TIMER", "CLUSTERED", "WRAP", "TIMER"}));
    EXPECT_TRUE(SvdDeviceModel::ReadPeripheralNames(FixturePath("no-such-file.svd")).isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath("names.svd");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<d><peripherals><peripheral><baseAddress>1</baseAddress></peripheral>"
               "<peripheral><name>B</name></peripheral></peripherals></d>");
    file.close();
    EXPECT_EQ(SvdDeviceModel::ReadPeripheralNames(path), QStringList({"", "B"}));

    // A byte-order mark in front of the root changes nothing.
    const QString bom = dir.filePath("bom.svd");
    QFile bomFile(bom);
    ASSERT_TRUE(bomFile.open(QIODevice::WriteOnly));
    bomFile.write("\xEF\xBB\xBF<d><peripherals><peripheral><name>A</name></peripheral></peripherals></d>");
    bomFile.close();
    EXPECT_EQ(SvdDeviceModel::ReadPeripheralNames(bom), QStringList({"A"}));
}

TEST(SvdDeviceModel, ReadsRegistersAndFields)
{
    const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(FixturePath("device.svd"), u"UART0");
    ASSERT_EQ(result.outcome, Outcome::Found);
    const SvdPeripheral &uart = result.peripheral;
    EXPECT_EQ(uart.name, "UART0");
    EXPECT_EQ(uart.baseAddress, 0x40001000u);
    EXPECT_EQ(uart.span, 0x10Cu); // last array element at 0x108
    ASSERT_EQ(uart.registers.size(), 6);

    const SvdRegister &ctrl = uart.registers[0];
    EXPECT_EQ(ctrl.name, "CTRL");
    // Runs of ten spaces go, shorter runs and the leading line break stay.
    EXPECT_EQ(ctrl.description, "\nAB C     D         E F");
    EXPECT_EQ(ctrl.address, 0x40001000u);
    ASSERT_EQ(ctrl.fields.size(), 3);
    EXPECT_EQ(ctrl.fields[0].name, "EN");
    EXPECT_EQ(ctrl.fields[0].description, "xy z          &"); // fields drop runs of fourteen
    EXPECT_EQ(ctrl.fields[0].bitOffset, 0u);
    EXPECT_EQ(ctrl.fields[0].bitWidth, 1u);
    EXPECT_EQ(ctrl.fields[1].description, "");
    EXPECT_EQ(ctrl.fields[1].bitOffset, 4u);
    EXPECT_EQ(ctrl.fields[1].bitWidth, 3u);
    EXPECT_EQ(ctrl.fields[2].bitOffset, 3u); // "0x3" is hexadecimal

    const SvdRegister &status = uart.registers[1];
    EXPECT_EQ(status.addressOffset, 40u); // "40" is decimal
    EXPECT_EQ(status.address, 0x40001028u);
    EXPECT_TRUE(status.fields.isEmpty());

    // A dim array gives one register per element.
    for (int k = 0; k < 4; ++k) {
        const SvdRegister &data = uart.registers[2 + k];
        EXPECT_EQ(data.name, QStringLiteral("DATA[%1]").arg(k));
        EXPECT_EQ(data.description, "Dim array taken once");
        EXPECT_EQ(data.addressOffset, 0xFCu + 4u * std::uint32_t(k));
        ASSERT_EQ(data.fields.size(), 1);
        EXPECT_EQ(data.fields[0].bitWidth, 32u);
    }
}

TEST(SvdDeviceModel, FollowsTheSpanAndNameRules)
{
    struct Row
    {
        const char16_t *name;
        const char *expected;
    };
    const Row rows[] = {
        // Span covers the largest offset, listed in any order; a base without "0x" is decimal.
        {u"TIMER", "TIMER 10 14\n LOAD 10 20 []\n COUNT 0 10 []\n"},
        // Cluster registers appear in place under a dotted name; "%s" stays without a dim.
        {u"CLUSTERED", "CLUSTERED fffffff0 c\n CH[%s].INNER 8 fffffff8 []\n"},
        // Addresses never wrap round 2^32.
        {u"WRAP", "failed [svd] HIGH address past 0xFFFFFFFF !\n"},
        {u"uart0", "not present"},
        {u"UART", "not present"},
        {u"", "not present"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(QString::fromUtf16(row.name).toStdString());
        EXPECT_EQ(Describe(SvdDeviceModel::ReadPeripheral(FixturePath("device.svd"), row.name)),
                  QString::fromUtf8(row.expected));
    }
}

TEST(SvdDeviceModel, DerivedPeripheralIsACopyAtItsOwnBase)
{
    QString uart0 = Describe(SvdDeviceModel::ReadPeripheral(FixturePath("device.svd"), u"UART0"));
    ASSERT_TRUE(uart0.startsWith("UART0 40001000 10c\n"));
    uart0.replace("UART0 40001000", "UART1 40002000").replace(" 40001", " 40002");
    EXPECT_EQ(Describe(SvdDeviceModel::ReadPeripheral(FixturePath("device.svd"), u"UART1")), uart0);
}

TEST(SvdDeviceModel, SharedDocumentGivesTheSameResults)
{
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(FixturePath("device.svd")));
    QStringList names = SvdDeviceModel::ReadPeripheralNames(document);
    EXPECT_EQ(names, SvdDeviceModel::ReadPeripheralNames(FixturePath("device.svd")));
    names << "Missing";
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(Describe(SvdDeviceModel::ReadPeripheral(document, name)),
                  Describe(SvdDeviceModel::ReadPeripheral(FixturePath("device.svd"), name)));
    }
}

TEST(SvdDeviceModel, ReportsEachMissingElement)
{
    const QString p = QStringLiteral("<d><peripherals>%1</peripherals></d>");
    const QString reg =
        QStringLiteral("<peripheral><name>X</name><baseAddress>0</baseAddress><registers>%1</registers></peripheral>");
    const QString field =
        QStringLiteral("<register><name>R</name><addressOffset>0</addressOffset><fields>%1</fields></register>");
    struct Case
    {
        QByteArray content;
        bool file;
        const char *message;
    };
    const auto inPeripheral = [&](const QString &body) { return p.arg(body).toUtf8(); };
    const auto inRegisters = [&](const QString &body) { return p.arg(reg.arg(body)).toUtf8(); };
    const auto inFields = [&](const QString &body) { return p.arg(reg.arg(field.arg(body))).toUtf8(); };
    const Case cases[] = {
        {"", false, "[svd] peripherals not find !\n"},
        {"", true, "[svd] peripherals not find !\n"},
        {"not xml at all", true, "[svd] peripherals not find !\n"},
        {"<d><peripheral><name>X</name></peripheral></d>", true, "[svd] peripherals not find !\n"},
        // A nameless peripheral before the wanted one stops the search.
        {inPeripheral("<peripheral><baseAddress>0</baseAddress></peripheral><peripheral><name>X</name></peripheral>"),
         true, "[svd] peripherals->peripheral->name not find !\n"},
        {inPeripheral("<peripheral><name>X</name><registers/></peripheral>"), true,
         "[svd] peripherals->peripheral->baseAddress not find!\n"},
        {inRegisters("<register><addressOffset>0</addressOffset><fields/></register>"), true,
         "[svd] peripherals->peripheral->registers->register->name  not find!\n"},
        {inRegisters("<register><name>R</name><fields/></register>"), true,
         "[svd] peripherals->peripheral->registers->register->addressOffset  not find!\n"},
        {inRegisters("<register><addressOffset>0</addressOffset><fields/></register>"
                     "<register><description>d</description></register>"),
         true, "[svd] peripherals->peripheral->registers->register->name  not find!\n"},
        {inFields("<field><name>F</name><bitOffset>0</bitOffset></field>"), true,
         "[svd] peripherals->peripheral->registers->register->fields->field->bitWidth not find!\n"},
        {inFields("<field><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field>"), true,
         "[svd] peripherals->peripheral->registers->register->fields->field->name not find!\n"},
        {inFields("<field><name>F</name><description>d</description><bitWidth>1</bitWidth></field>"), true,
         "[svd] peripherals->peripheral->registers->register->fields->field->bitOffset not find!\n"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int n = 0;
    for (const Case &row : cases) {
        SCOPED_TRACE(row.content.toStdString());
        const QString path = dir.filePath(QStringLiteral("case%1.svd").arg(n++));
        if (row.file) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(row.content);
        }
        const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(path, u"X");
        EXPECT_EQ(result.outcome, Outcome::Failed);
        EXPECT_EQ(result.message, QString::fromLatin1(row.message));
        EXPECT_TRUE(result.peripheral.registers.isEmpty());
    }
}

TEST(SvdText, RemovesRunsOfSpaces)
{
    struct Row
    {
        QString text;
        int run;
        QString expected;
    };
    const Row rows[] = {
        {QString(10, u' '), 10, ""},
        {QString(25, u' '), 10, QString(5, u' ')},
        {"a" + QString(9, u' ') + "b", 10, "a" + QString(9, u' ') + "b"},
        {"a" + QString(20, u' ') + "b c", 10, "ab c"},
        {"\n" + QString(14, u' ') + "x", 14, "\nx"},
        {"a" + QString(13, u' ') + "b", 14, "a" + QString(13, u' ') + "b"},
        {"", 10, ""},
        // Longer texts, runs at and across every eighth character.
        {"abcdefg h" + QString(10, u' ') + "i", 10, "abcdefg hi"},
        {"xxxxxxx  yyyyyyy" + QString(12, u' ') + "z", 10, "xxxxxxx  yyyyyyy  z"},
        {"one two three four five six seven eight" + QString(14, u' '), 14, "one two three four five six seven eight"},
        {"abcdefgh" + QString(9, u' ') + "12345678 " + QString(10, u' ') + "x", 10,
         "abcdefgh" + QString(9, u' ') + "12345678 x"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(SvdText::RemoveSpaceRuns(row.text, row.run), row.expected) << row.text.toStdString();
}

// Numbers and names are read from the element's text as the reader decodes
// it: references decoded, comments and CDATA markup left out.
TEST(SvdDeviceModel, NumbersReadAsTheirDecodedText)
{
    struct Case
    {
        const char *what;
        const char *baseAddress;
        const char *offset;
        std::uint32_t address;
    };
    const Case cases[] = {
        {"plain", "0x40000000", "0x8", 0x40000008},
        {"comment inside", "0x4000<!-- low half -->0000", "0x1<!--x-->0", 0x40000010},
        {"character reference", "0x4&#x30;000000", "&#52;", 0x40000004},
        {"CDATA", "<![CDATA[0x40000000]]>", " 0x20 ", 0x40000020},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        const QString path = dir.filePath("n.svd");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("<device><peripherals><peripheral><name>P</name><baseAddress>") + c.baseAddress +
                   "</baseAddress><registers><register><name>R</name><addressOffset>" + c.offset +
                   "</addressOffset><fields><field><name>F</name><bitOffset>1<!--x--></bitOffset>"
                   "<bitWidth>&#51;</bitWidth></field></fields></register></registers></peripheral>"
                   "</peripherals></device>");
        file.close();
        const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(path, u"P");
        ASSERT_EQ(result.outcome, Outcome::Found) << c.what << ": " << qPrintable(result.message);
        ASSERT_EQ(result.peripheral.registers.size(), 1) << c.what;
        EXPECT_EQ(result.peripheral.registers[0].address, c.address) << c.what;
        ASSERT_EQ(result.peripheral.registers[0].fields.size(), 1) << c.what;
        EXPECT_EQ(result.peripheral.registers[0].fields[0].bitOffset, 1u) << c.what;
        EXPECT_EQ(result.peripheral.registers[0].fields[0].bitWidth, 3u) << c.what;
    }
}
