// Change marks, comparison, the find filter and the export of a window's
// rows, on windows built from the fixture SVD.
#include "support/RegwinRig.h"
#include "regmap/RowChanges.h"
#include "regmap/RowComparison.h"
#include "regmap/RowExport.h"
#include "regmap/RowFilter.h"
#include "regmap/ValueSeries.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <functional>

namespace {

// TIMER's image: CR, SR (ODD shares its word), DATA at 0x24, the last at 0xFC.
QByteArray TimerImage(uint32_t cr, uint32_t sr, uint32_t data, uint32_t last = 0)
{
    QByteArray image(0x100, '\0');
    image.replace(0, 8, Words({cr, sr}));
    image.replace(0x24, 4, Words({data}));
    image.replace(0xFC, 4, Words({last}));
    return image;
}

QString Names(const std::vector<const RegisterRow *> &rows)
{
    QStringList names;
    for (const RegisterRow *row : rows)
        names << row->BareName();
    return names.join(u' ');
}

// Every row of the window for which `pick` holds, in tree order, by name.
QString RowsWhere(RegisterWindow &window, const std::function<bool(const RegisterRow &)> &pick)
{
    std::vector<const RegisterRow *> rows;
    std::function<void(const RegisterRow &)> walk = [&](const RegisterRow &row) {
        if (pick(row))
            rows.push_back(&row);
        for (const auto &child : row.Children())
            walk(*child);
    };
    for (const auto &top : window.Tree().TopRows())
        walk(*top);
    return Names(rows);
}

TEST(LiveRows, ChangesMarkWhatDifferedAtTheLastReadAndFade)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER", "GPIO"});
    RowChanges changes;
    window.FillPeripheral("TIMER", TimerImage(0x01, 0x10, 0x100));
    changes.Observe(window.Tree());
    auto marked = [&] {
        return RowsWhere(window, [&](const RegisterRow &row) { return changes.Age(row.Id()).has_value(); });
    };
    EXPECT_EQ(marked(), "") << "a first read has nothing to differ from";

    // CR: EN stays 1, MODE 0 -> 3; DATA's word changes above LO only.
    window.FillPeripheral("TIMER", TimerImage(0x31, 0x10, 0x10100));
    changes.Observe(window.Tree());
    EXPECT_EQ(marked(), "CR VALUE~ MODE DATA VALUE~");
    EXPECT_TRUE(changes.ChangedAtLastRead(Register(window, "TIMER", "CR")->Id()));
    EXPECT_DOUBLE_EQ(changes.Strength(Child(window, "TIMER", "CR", "MODE")->Id()), 1.0);
    EXPECT_EQ(RowsWhere(window, [&](const RegisterRow &row) { return changes.KeepsInChangesOnly(row); }),
              "TIMER CR VALUE~ MODE DATA VALUE~");

    // SR changes next; CR's mark ages read by read and fades.
    const uint64_t cr = Register(window, "TIMER", "CR")->Id();
    const uint64_t sr = Register(window, "TIMER", "SR")->Id();
    for (int read = 1; read <= RowChanges::kFadeReads; ++read) {
        window.FillPeripheral("TIMER", TimerImage(0x31, 0x10 + uint32_t(read), 0x10100));
        changes.Observe(window.Tree());
        SCOPED_TRACE(read);
        if (read < RowChanges::kFadeReads) {
            EXPECT_EQ(changes.Age(cr), read);
            EXPECT_DOUBLE_EQ(changes.Strength(cr), double(RowChanges::kFadeReads - read) / RowChanges::kFadeReads);
        } else {
            EXPECT_EQ(changes.Age(cr), std::nullopt);
            EXPECT_DOUBLE_EQ(changes.Strength(cr), 0.0);
        }
        EXPECT_TRUE(changes.ChangedAtLastRead(sr));
    }

    // Switching the number base changes texts, not numbers: nothing new is marked.
    rig.config.WriteInt("COMMON", "HEX_DEC", 1);
    window.ApplyNumberBase();
    changes.Observe(window.Tree());
    EXPECT_EQ(changes.Age(sr), 1);
    EXPECT_EQ(marked(), "SR VALUE~ ALL ODD VALUE~") << "ODD shares SR's word";
}

// Without reads (a watch that stopped), the marks fade step by step all the
// same.
TEST(LiveRows, MarksAgeWithoutReadsUntilNoneIsLeft)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    RowChanges changes;
    window.FillPeripheral("TIMER", TimerImage(0x01, 0x10, 0x100));
    changes.Observe(window.Tree());
    window.FillPeripheral("TIMER", TimerImage(0x31, 0x10, 0x100));
    changes.Observe(window.Tree());
    window.FillPeripheral("TIMER", TimerImage(0x31, 0x11, 0x100));
    changes.Observe(window.Tree());
    const uint64_t cr = Register(window, "TIMER", "CR")->Id();
    const uint64_t sr = Register(window, "TIMER", "SR")->Id();
    ASSERT_EQ(changes.Age(cr), 1);
    ASSERT_EQ(changes.Age(sr), 0);
    for (int step = 1; step < RowChanges::kFadeReads; ++step) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(changes.AgeAll());
        EXPECT_EQ(changes.Age(sr), step);
        EXPECT_LT(changes.Strength(sr), 1.0);
    }
    EXPECT_EQ(changes.Age(cr), std::nullopt) << "the older mark went first";
    EXPECT_FALSE(changes.AgeAll());
    EXPECT_EQ(changes.Age(sr), std::nullopt);
    EXPECT_FALSE(changes.KeepsInChangesOnly(*Peripheral(window, "TIMER")));
}

TEST(LiveRows, ObservingOnePeripheralLeavesTheOthersMarks)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER", "GPIO"});
    RowChanges changes;
    changes.Observe(window.Tree());
    window.FillPeripheral("TIMER", TimerImage(1, 0, 0));
    window.FillPeripheral("GPIO", Words({0x5}));
    changes.Observe(window.Tree());
    const uint64_t out = Register(window, "GPIO", "OUT")->Id();
    const uint64_t cr = Register(window, "TIMER", "CR")->Id();
    // Only GPIO is read again: TIMER's marks neither age nor fade.
    for (int i = 0; i < RowChanges::kFadeReads; ++i)
        changes.Observe(*Peripheral(window, "GPIO"));
    EXPECT_EQ(changes.Age(cr), 0);
    EXPECT_EQ(changes.Age(out), std::nullopt);
    window.FillPeripheral("GPIO", Words({0x6}));
    changes.Observe(*Peripheral(window, "GPIO"));
    EXPECT_EQ(changes.Age(out), 0);
    EXPECT_EQ(changes.Age(cr), 0);
}

TEST(LiveRows, ComparisonWithASnapshotImage)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    window.FillPeripheral("TIMER", TimerImage(0x31, 0x10, 0x1234, 7));
    // The snapshot is shorter than the span: the registers it does not hold
    // are not compared against invented zeros but listed as not in it.
    const QByteArray snapshot = TimerImage(0x21, 0x10, 0x1234).left(0x80);
    const RowComparison comparison = RowComparison::AgainstImage(*Peripheral(window, "TIMER"), snapshot);
    QStringList lines;
    for (const RowComparison::Difference &difference : comparison.Differences())
        lines << QStringLiteral("%1 %2 %3")
                     .arg(difference.row->BareName())
                     .arg(difference.current)
                     .arg(difference.otherText);
    EXPECT_EQ(lines.join(u'|'), "CR 49 0x00000021|VALUE~ 49 0x00000021|MODE 3 2");
    const RegisterRow *last = Register(window, "TIMER", "A_VERY_LONG_REGISTER_NAME_XYZ");
    EXPECT_TRUE(comparison.NotInOther(last->Id()));
    EXPECT_TRUE(comparison.NotInOther(last->Child(0)->Id()));
    EXPECT_FALSE(comparison.NotInOther(Register(window, "TIMER", "DATA")->Id()));
    EXPECT_TRUE(comparison.Differs(Child(window, "TIMER", "CR", "MODE")->Id()));
    EXPECT_FALSE(comparison.Differs(Child(window, "TIMER", "CR", "EN")->Id()));
    EXPECT_EQ(comparison.Find(Register(window, "TIMER", "SR")->Id()), nullptr);

    // A snapshot read from a file: the same as the window shows, nothing differs.
    rig.PutFile(rig.DataPath("TIMER"), TimerImage(0x31, 0x10, 0x1234, 7));
    EXPECT_TRUE(RowComparison::AgainstImage(*Peripheral(window, "TIMER"), rig.ReadFile(rig.DataPath("TIMER")))
                    .Differences()
                    .empty());
}

TEST(LiveRows, ComparisonWithAnotherWindowInItsBase)
{
    RegwinRig rig;
    rig.config.WriteInt("COMMON", "HEX_DEC", 1);
    RegisterWindow &left = rig.WindowWith({"TIMER"}, 0);
    RegisterWindow &right = rig.WindowWith({"TIMER"}, 1);
    left.FillPeripheral("TIMER", TimerImage(0x31, 0x10, 0x1234));
    right.FillPeripheral("TIMER", TimerImage(0x31, 0x10, 0xABCD));
    const RowComparison comparison =
        RowComparison::AgainstRows(*Peripheral(left, "TIMER"), *Peripheral(right, "TIMER"));
    ASSERT_EQ(comparison.Differences().size(), 3u);
    const RowComparison::Difference *lo = comparison.Find(Child(left, "TIMER", "DATA", "LO")->Id());
    ASSERT_NE(lo, nullptr);
    EXPECT_EQ(lo->current, 0x1234u);
    EXPECT_EQ(lo->otherText, "0xABCD") << "in the base the row shows";

    // A register the other side lacks is not compared.
    RegisterWindow &gpio = rig.WindowWith({"GPIO"}, 2);
    EXPECT_EQ(RowComparison::AgainstRows(*Peripheral(left, "TIMER"), *Peripheral(gpio, "GPIO")).Differences().size(),
              4u)
        << "only CR (offset 0) meets OUT: CR, its value, EN and MODE";
}

TEST(LiveRows, FindKeepsMatchesTheWayToThemAndWhatAMatchHolds)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER", "GPIO"});
    struct Case
    {
        const char *text;
        const char *kept;
    };
    const Case cases[] = {
        {"mode", "TIMER CR MODE"},
        {"MoDe SeL", "TIMER CR MODE"}, // the description "Mode select"
        {"status", "TIMER SR VALUE~ ALL"},
        {"pin", "GPIO OUT PIN"},
        {"gpio", "GPIO OUT VALUE~ PIN"},
        {"a_very", "TIMER A_VERY_LONG_REGISTER_NAME_XYZ VALUE~"},
        {"0x2000", ""}, // the numbers in front of a description are not searched
        {"nothing like it", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const std::unordered_set<uint64_t> kept = RowFilter::KeptRows(window.Tree(), c.text);
        EXPECT_EQ(RowsWhere(window, [&](const RegisterRow &row) { return kept.count(row.Id()) > 0; }), c.kept);
        EXPECT_EQ(RowsWhere(window, [&](const RegisterRow &row) { return RowFilter::Keeps(row, c.text); }), c.kept);
    }
    const std::unordered_set<uint64_t> all = RowFilter::KeptRows(window.Tree(), QString());
    EXPECT_EQ(RowsWhere(window, [&](const RegisterRow &row) { return all.count(row.Id()) > 0; }),
              RowsWhere(window, [](const RegisterRow &) { return true; }));
}

// RFC 4180 as the export writes it: quoted fields, doubled quotes, line
// breaks inside quotes.
QList<QStringList> ReadCsv(const QString &text)
{
    QList<QStringList> lines;
    QStringList line;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += c, ++i;
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            line << field, field.clear();
        } else if (c == u'\n') {
            line << field, field.clear();
            lines << line, line.clear();
        } else {
            field += c;
        }
    }
    return lines;
}

QStringList Columns(const RowExport::Record &r)
{
    return {r.peripheral, r.reg, r.address, r.value, r.field, r.bits, r.fieldValue, r.enumeratedName};
}

TEST(LiveRows, ExportGoesBothWaysThroughCsvAndJson)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"GPIO", "TIMER"});
    window.FillPeripheral("TIMER", TimerImage(0x800000A1, 0x10, 0x1234));
    window.FillPeripheral("GPIO", Words({0xA5}));
    std::vector<RowExport::Record> records = RowExport::Records(window.Tree());
    ASSERT_EQ(records.size(), 2u + 4 + 2 + 1 + 2 + 1);
    EXPECT_EQ(Columns(records[0]), QStringList({"GPIO", "OUT", "0x20002000", "0x000000A5", "", "", "", ""}));
    EXPECT_EQ(Columns(records[1]), QStringList({"GPIO", "OUT", "0x20002000", "0x000000A5", "PIN", "[0-7]", "165", ""}));
    EXPECT_EQ(Columns(records[5]), QStringList({"TIMER", "CR", "0x20001000", "0x800000A1", "TOP", "[31]", "1", ""}));
    EXPECT_EQ(Columns(records[8]), QStringList({"TIMER", "ODD", "0x20001006", "0x00000010", "", "", "", ""}));

    // Texts that need quoting survive the trip.
    records[1].fieldValue = "a, \"b\"\nc";
    records[2].enumeratedName = "x,y";
    const QList<QStringList> csv = ReadCsv(QString::fromUtf8(RowExport::Csv(records)));
    ASSERT_EQ(csv.size(), qsizetype(records.size()) + 1);
    EXPECT_EQ(csv[0], QStringList({"peripheral", "register", "address", "value", "field", "bits", "field value",
                                   "enumerated name"}));
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(csv[qsizetype(i) + 1], Columns(records[i])) << i;

    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(RowExport::Json(records), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray array = json.array();
    ASSERT_EQ(array.size(), qsizetype(records.size()));
    const QStringList keys = {"peripheral", "register", "address",    "value",
                              "field",      "bits",     "fieldValue", "enumeratedName"};
    for (std::size_t i = 0; i < records.size(); ++i) {
        QStringList values;
        for (const QString &key : keys)
            values << array[qsizetype(i)].toObject().value(key).toString();
        EXPECT_EQ(values, Columns(records[i])) << i;
        EXPECT_EQ(array[qsizetype(i)].toObject().size(), keys.size());
    }

    // Only the rows a filter keeps.
    const std::unordered_set<uint64_t> kept = RowFilter::KeptRows(window.Tree(), "mode");
    const std::vector<RowExport::Record> found =
        RowExport::Records(window.Tree(), [&](const RegisterRow &row) { return kept.count(row.Id()) > 0; });
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].field, "MODE");
    EXPECT_EQ(found[1].fieldValue, "10");
}

// A spreadsheet must not run a name or description as a formula, and both
// formats carry the same text whatever the name holds.
TEST(LiveRows, ExportGuardsFormulaCellsAndWritesTheSameTextInBothFormats)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"GPIO"});
    std::vector<RowExport::Record> records = RowExport::Records(window.Tree());
    ASSERT_FALSE(records.empty());
    struct Case
    {
        QString name;
        QString csvCell;  // as a CSV reader gets it back
        QString jsonText; // as the JSON holds it
    };
    const QString lone = QString(QChar(0xD800)) + "X";
    const QString replaced = QString(QChar(QChar::ReplacementCharacter)) + "X";
    const Case cases[] = {
        {"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")", "=HYPERLINK(\"x\")"},
        {"+1", "'+1", "+1"},
        {"-1", "'-1", "-1"},
        {"@SUM(A1)", "'@SUM(A1)", "@SUM(A1)"},
        {"\tTAB", "'\tTAB", "\tTAB"},
        {"\rCR", "'\rCR", "\rCR"},
        {"A=B", "A=B", "A=B"},
        {lone, replaced, replaced},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        records[0].reg = c.name;
        const QList<QStringList> csv = ReadCsv(QString::fromUtf8(RowExport::Csv({records[0]})));
        ASSERT_EQ(csv.size(), 2);
        EXPECT_EQ(csv[1][1], c.csvCell);
        const QJsonDocument json = QJsonDocument::fromJson(RowExport::Json({records[0]}));
        EXPECT_EQ(json.array()[0].toObject().value("register").toString(), c.jsonText);
    }
}

TEST(LiveRows, SeriesFollowTheRowsWithinTheirTimeWindow)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    ValueSeries series;
    EXPECT_FALSE(series.Add(*Peripheral(window, "TIMER")));
    EXPECT_TRUE(series.Add(*Child(window, "TIMER", "CR", "MODE")));
    EXPECT_FALSE(series.Add(*Child(window, "TIMER", "CR", "MODE"))) << "once per row";
    const QDateTime wall(QDate(2026, 12, 10), QTime(23, 40, 1, 250));
    window.FillPeripheral("TIMER", TimerImage(0x10, 0, 7));
    series.Sample(window.Tree(), 1000, wall);
    EXPECT_TRUE(series.Add(*Register(window, "TIMER", "DATA")));
    window.FillPeripheral("TIMER", TimerImage(0x20, 0, 8));
    series.Sample(window.Tree(), 1100, wall.addMSecs(100));
    series.SetPaused(true);
    window.FillPeripheral("TIMER", TimerImage(0x30, 0, 9));
    series.Sample(window.Tree(), 1150, wall.addMSecs(150));
    series.SetPaused(false);
    window.FillPeripheral("TIMER", TimerImage(0x40, 0, 10));
    series.Sample(window.Tree(), 1200, wall.addMSecs(200));
    // Seconds from the plot's first point, and the wall-clock time of each.
    EXPECT_EQ(series.Csv(), "time s,wall clock,TIMER.CR.MODE,TIMER.DATA\n"
                            "0.000,2026-12-10T23:40:01.250,1,\n"
                            "0.100,2026-12-10T23:40:01.350,2,8\n"
                            "0.200,2026-12-10T23:40:01.450,4,10\n");

    // The time window keeps the points of the last 100 ms.
    series.SetTimeWindow(100);
    EXPECT_EQ(series.Csv(), "time s,wall clock,TIMER.CR.MODE,TIMER.DATA\n"
                            "0.100,2026-12-10T23:40:01.350,2,8\n"
                            "0.200,2026-12-10T23:40:01.450,4,10\n");
    series.Remove(Register(window, "TIMER", "DATA")->Id());
    ASSERT_EQ(series.AllSeries().size(), 1u);
    EXPECT_EQ(series.AllSeries()[0].points.size(), 2u);

    // A row that left the window gives no more points.
    window.RemovePeripheralRows("TIMER");
    series.Sample(window.Tree(), 1300);
    EXPECT_EQ(series.AllSeries()[0].points.size(), 1u) << "only the point at 1200 is within 100 ms of 1300";
}

} // namespace
