// Rows hold numbers: what goes out of a window and whether a row changed are
// told from its number and enumerated name, never from the text typed.
#include "support/RegwinRig.h"

#include "regmap/RowExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

const char kUartSvd[] = R"(<?xml version="1.0"?>
<device><peripherals><peripheral><name>UART</name><baseAddress>0x20001000</baseAddress><registers>
  <register><name>CTRL</name><addressOffset>0x0</addressOffset><fields><field><name>MODE</name>
    <bitOffset>4</bitOffset><bitWidth>2</bitWidth><enumeratedValues>
      <enumeratedValue><name>OFF</name><value>0</value></enumeratedValue>
      <enumeratedValue><name>FAST</name><value>2</value></enumeratedValue>
    </enumeratedValues></field></fields></register>
  <register><name>STAT</name><addressOffset>0x4</addressOffset><fields><field><name>BUSY</name>
    <bitOffset>0</bitOffset><bitWidth>1</bitWidth></field></fields></register>
</registers></peripheral></peripherals></device>)";

// The CSV lines and JSON objects of the window's records, as lists of cells.
QList<QStringList> CsvCells(const std::vector<RowExport::Record> &records)
{
    QList<QStringList> lines;
    for (const QString &line : QString::fromUtf8(RowExport::Csv(records)).split(u'\n', Qt::SkipEmptyParts))
        lines << line.split(u',');
    lines.removeFirst(); // the header
    return lines;
}

QList<QStringList> JsonCells(const std::vector<RowExport::Record> &records)
{
    static const char *const kKeys[] = {"peripheral", "register", "address",    "value",
                                        "field",      "bits",     "fieldValue", "enumeratedName"};
    QList<QStringList> objects;
    for (const QJsonValue &value : QJsonDocument::fromJson(RowExport::Json(records)).array()) {
        QStringList cells;
        for (const char *key : kKeys)
            cells << value.toObject().value(QLatin1String(key)).toString();
        objects << cells;
    }
    return objects;
}

TEST(TypedRowExport, ANeverReadRegisterGoesOutAsNotReadInBothFormats)
{
    RegwinRig rig;
    rig.PutSvd("VX21A", kUartSvd);
    RegisterWindow &window = rig.WindowWith({"UART"});
    const QList<QStringList> expected = {
        {"UART", "CTRL", "0x20001000", "not read", "", "", "", ""},
        {"UART", "CTRL", "0x20001000", "not read", "MODE", "[4-5]", "not read", ""},
        {"UART", "STAT", "0x20001004", "not read", "", "", "", ""},
        {"UART", "STAT", "0x20001004", "not read", "BUSY", "[0]", "not read", ""},
    };
    const std::vector<RowExport::Record> records = RowExport::Records(window.Tree());
    EXPECT_EQ(CsvCells(records), expected);
    EXPECT_EQ(JsonCells(records), expected);
    EXPECT_FALSE(RowExport::Csv(records).contains("0x00000000"));

    // Once read, a zero is a zero.
    window.FillPeripheral("UART", QByteArray(8, '\0'));
    const std::vector<RowExport::Record> read = RowExport::Records(window.Tree());
    EXPECT_EQ(CsvCells(read)[1],
              QStringList({"UART", "CTRL", "0x20001000", "0x00000000", "MODE", "[4-5]", "0", "OFF"}));
    EXPECT_EQ(JsonCells(read)[2], QStringList({"UART", "STAT", "0x20001004", "0x00000000", "", "", "", ""}));
}

TEST(TypedRowExport, AnEditedFieldGoesOutAsTheGridShowsItHoweverItWasTyped)
{
    struct Case
    {
        const char *typed;
        bool hex; // the window's base
        const char *value;
        const char *fieldValue;
        const char *name;
    };
    const Case cases[] = {
        {"FAST", false, "0x00000020", "2", "FAST"}, {"fast", true, "0x00000020", "0x2", "FAST"},
        {"0x2", false, "0x00000020", "2", "FAST"},  {"2 (FAST)", true, "0x00000020", "0x2", "FAST"},
        {"#10", false, "0x00000020", "2", "FAST"},  {"0", true, "0x00000000", "0x0", "OFF"},
        {"3", false, "0x00000030", "3", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.typed << (c.hex ? " hex" : " decimal"));
        RegwinRig rig;
        rig.PutSvd("VX21A", kUartSvd);
        rig.config.WriteInt("COMMON", "REG_WR", 1);
        rig.config.WriteInt("COMMON", "HEX_DEC", c.hex ? 1 : 0);
        RegisterWindow &window = rig.WindowWith({"UART"});
        window.ApplyEdit(Child(window, "UART", "CTRL", "MODE"), c.typed);
        ASSERT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        const std::vector<RowExport::Record> records = RowExport::Records(window.Tree());
        const QStringList mode = {"UART", "CTRL", "0x20001000", c.value, "MODE", "[4-5]", c.fieldValue, c.name};
        EXPECT_EQ(CsvCells(records)[1], mode);
        EXPECT_EQ(JsonCells(records)[1], mode);
        EXPECT_EQ(CsvCells(records)[2][3], "not read") << "the register beside it was never read";
    }
}

TEST(TypedRowModified, AValueTypedInAnotherFormChangesNothing)
{
    struct Case
    {
        const char *typed;
        bool modified;
    };
    const Case cases[] = {
        {"5", false},       {"0x5", false}, {"0x00000005", false}, {"#101", false},
        {" 0b101 ", false}, {"6", true},    {"0x6", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        RegwinRig rig;
        rig.config.WriteInt("COMMON", "REG_WR", 1);
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        rig.PutFile(rig.DataPath("TIMER"), Words({0x5, 0x5}));
        window.LoadSnapshot("TIMER", rig.DataPath("TIMER"));
        RegisterRow *value = Child(window, "TIMER", "CR", "VALUE~");
        window.ApplyEdit(value, c.typed);
        EXPECT_EQ(value->IsModified(), c.modified);
    }

    // A field standing at its enumerated name, its number or its hex text.
    RegwinRig rig;
    rig.PutSvd("VX21A", kUartSvd);
    RegisterWindow &window = rig.WindowWith({"UART"});
    window.FillPeripheral("UART", QByteArray("\x20\0\0\0\0\0\0\0", 8));
    RegisterRow *mode = Child(window, "UART", "CTRL", "MODE");
    for (const char *typed : {"FAST", "2", "0x2"}) {
        window.Tree().SetEditedValue(mode, 2, NumberForm::Decimal, QString::fromLatin1(typed));
        EXPECT_FALSE(mode->IsModified()) << typed;
    }
    window.Tree().SetEditedValue(mode, 0, NumberForm::Decimal, QStringLiteral("OFF"));
    EXPECT_TRUE(mode->IsModified());
}

} // namespace
