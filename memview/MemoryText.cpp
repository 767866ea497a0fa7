#include "memview/MemoryText.h"

#include "memview/ChipAddressMap.h"
#include "memview/MemoryUnits.h"
#include "memview/MemoryViewMessages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <optional>

namespace MemoryText {

namespace {

// One row of the block, taken apart.
struct RowParts
{
    uint32_t address = 0;
    QStringList units; // blanks past the block's end
    QList<std::optional<uint32_t>> values;
    QString ascii;
    QStringList registers; // as the row shows them
    QStringList registerNames;
};

template<typename Visit>
void ForEachRow(const MemoryBlock &block, int rowWidth, int unit, const ChipAddressMap *map, Visit visit)
{
    const auto *bytes = reinterpret_cast<const uint8_t *>(block.bytes.constData());
    for (uint32_t offset = 0; offset < block.Size(); offset += uint32_t(rowWidth)) {
        RowParts row;
        row.address = block.first + offset;
        for (uint32_t at = offset; at < offset + uint32_t(rowWidth); at += uint32_t(unit)) {
            if (at + uint32_t(unit) > block.Size()) {
                row.units << QString(2 * unit, u' ');
                row.values << std::nullopt;
                continue;
            }
            row.units << MemoryUnits::Text(bytes + at, block.states.data() + at, unit);
            row.values << MemoryUnits::Value(bytes + at, block.states.data() + at, unit);
        }
        const uint32_t inRow = std::min(uint32_t(rowWidth), block.Size() - offset);
        for (uint32_t at = offset; at < offset + inRow; ++at)
            row.ascii += MemoryUnits::Ascii(bytes[at], block.states[at]);
        if (map)
            for (const RowRegister &named : RowRegisters(*map, row.address, inRow)) {
                row.registers << named.text;
                row.registerNames << named.reg->name;
            }
        visit(row);
    }
}

} // namespace

std::vector<RowRegister> RowRegisters(const ChipAddressMap &map, uint32_t rowAddress, uint32_t count)
{
    std::vector<RowRegister> named;
    int peripheral = -1;
    for (const ChipAddressMap::Register *reg : map.RegistersStartingIn(rowAddress, count)) {
        const QString prefix = map.PeripheralOf(*reg).name + u'.';
        const bool again = reg->peripheral == peripheral && reg->name.startsWith(prefix);
        const QString shown = again ? reg->name.mid(prefix.size()) : reg->name;
        named.push_back(
            {reg, reg->unknown.isEmpty() ? shown : QString::fromLatin1(MemoryViewMessages::kUnknownInSvd).arg(shown)});
        peripheral = reg->peripheral;
    }
    return named;
}

QStringList Rows(const MemoryBlock &block, int rowWidth, int unit, const ChipAddressMap *map)
{
    QStringList lines;
    ForEachRow(block, rowWidth, unit, map, [&](const RowParts &row) {
        QString line = MemoryUnits::Hex(row.address, 4) + QStringLiteral(": ");
        for (const QString &text : row.units)
            line += text + u' ';
        line += u' ' + row.ascii.leftJustified(rowWidth);
        if (!row.registers.isEmpty())
            line += QStringLiteral("  ") + row.registers.join(u' ');
        lines << line.trimmed();
    });
    return lines;
}

QByteArray Json(const MemoryBlock &block, int rowWidth, int unit, const ChipAddressMap *map)
{
    QJsonArray rows;
    ForEachRow(block, rowWidth, unit, map, [&](const RowParts &row) {
        QJsonArray units;
        for (qsizetype i = 0; i < row.units.size(); ++i) {
            if (row.units[i].trimmed().isEmpty())
                continue; // past the end
            units.append(row.values[i] ? QJsonValue(MemoryUnits::Hex(*row.values[i], unit)) : QJsonValue());
        }
        rows.append(QJsonObject{{"address", MemoryUnits::Hex(row.address, 4)},
                                {"units", units},
                                {"ascii", row.ascii},
                                {"registers", QJsonArray::fromStringList(row.registerNames)}});
    });
    const QJsonObject document{{"address", MemoryUnits::Hex(block.first, 4)},
                               {"length", qint64(block.Size())},
                               {"unit", unit},
                               {"rows", rows}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

} // namespace MemoryText
