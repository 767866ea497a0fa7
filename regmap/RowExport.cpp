#include "regmap/RowExport.h"

#include "regmap/RowText.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace RowExport {

namespace {

// Text as both formats write it: a lone surrogate, which no encoding can
// carry, becomes U+FFFD.
QString WholeText(const QString &text)
{
    QString whole = text;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        const QChar c = whole[i];
        if (c.isHighSurrogate() && i + 1 < whole.size() && whole[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            whole[i] = QChar(QChar::ReplacementCharacter);
    }
    return whole;
}

// A spreadsheet takes a cell that begins like a formula as one, so such a
// cell is written with a leading apostrophe.
bool LooksLikeFormula(const QString &text)
{
    static const QString kStarts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && kStarts.contains(text.front());
}

QStringList Columns(const Record &record)
{
    return {record.peripheral, record.reg,  record.address,    record.value,
            record.field,      record.bits, record.fieldValue, record.enumeratedName};
}

} // namespace

QString CsvField(const QString &cell)
{
    const QString text = LooksLikeFormula(cell) ? u'\'' + WholeText(cell) : WholeText(cell);
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

std::vector<Record> Records(const RegisterRowTree &tree, const std::function<bool(const RegisterRow &)> &keep)
{
    auto kept = [&](const RegisterRow &row) { return !keep || keep(row); };
    std::vector<Record> records;
    for (const auto &peripheral : tree.TopRows()) {
        if (!kept(*peripheral))
            continue;
        for (const auto &reg : peripheral->Children()) {
            if (!kept(*reg))
                continue;
            Record record;
            record.peripheral = peripheral->Name();
            record.reg = reg->BareName();
            record.address = RowText::Word(reg->Traits().address);
            const bool neverRead = reg->IsNeverRead();
            record.value = neverRead ? QString::fromLatin1(kNotRead)
                                     : RowText::SizedWord(reg->Number(), std::max<uint32_t>(32, reg->Traits().bits));
            records.push_back(record);
            for (const auto &field : reg->Children()) {
                if (field->RowKind() != RegisterRow::Kind::Field || !kept(*field))
                    continue;
                Record fieldRecord = record;
                fieldRecord.field = field->Name();
                fieldRecord.bits = field->FieldBitsText();
                if (neverRead) {
                    fieldRecord.fieldValue = QString::fromLatin1(kNotRead);
                } else {
                    // "1 (ON)" goes out as "1" and the name "ON" apart, so a
                    // reader of the file gets a number in the value column.
                    fieldRecord.fieldValue =
                        RowText::FieldNumber(field->Number(), field->Traits().width, tree.HexBase());
                    fieldRecord.enumeratedName = field->ChoiceName();
                }
                records.push_back(fieldRecord);
            }
        }
    }
    return records;
}

QByteArray Csv(const std::vector<Record> &records)
{
    QString text = QStringLiteral("peripheral,register,address,value,field,bits,field value,enumerated name\n");
    for (const Record &record : records) {
        QStringList columns = Columns(record);
        for (QString &column : columns)
            column = CsvField(column);
        text += columns.join(u',') + u'\n';
    }
    return text.toUtf8();
}

QByteArray Json(const std::vector<Record> &records)
{
    static const char *const kKeys[] = {"peripheral", "register", "address",    "value",
                                        "field",      "bits",     "fieldValue", "enumeratedName"};
    QJsonArray array;
    for (const Record &record : records) {
        const QStringList columns = Columns(record);
        QJsonObject object;
        for (qsizetype i = 0; i < columns.size(); ++i)
            object.insert(QLatin1StringView(kKeys[i]), WholeText(columns[i]));
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace RowExport
