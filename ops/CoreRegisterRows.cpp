#include "ops/CoreRegisterRows.h"

#include "ops/FaultReport.h"
#include "ops/OpsMessages.h"

namespace CoreRegisterRows {

namespace {

Row Field(const QString &name, uint32_t value, int bits, const QString &meaning)
{
    Row row;
    row.name = name;
    row.state = State::Read;
    row.value = value;
    row.bits = bits;
    row.meaning = meaning;
    return row;
}

QString Flag(uint32_t bit)
{
    return QString::fromLatin1(bit ? OpsMessages::kFlagSet : OpsMessages::kFlagClear);
}

QString Words(bool on, const char *whenSet, const char *whenClear)
{
    return QString::fromLatin1(on ? whenSet : whenClear);
}

// The Armv8-M Mainline xPSR: the flags, the Thumb bit, GE, the exception
// being handled and IT/ICI (split over bits 26:25 and 15:10).
std::vector<Row> XpsrFields(uint32_t xpsr)
{
    std::vector<Row> fields;
    const char *flags[] = {"N", "Z", "C", "V", "Q"};
    for (int i = 0; i < 5; ++i) {
        const uint32_t bit = (xpsr >> (31 - i)) & 1;
        fields.push_back(Field(QString::fromLatin1(flags[i]), bit, 1, Flag(bit)));
    }
    const uint32_t thumb = (xpsr >> 24) & 1;
    fields.push_back(
        Field(QStringLiteral("T"), thumb, 1, Words(thumb, OpsMessages::kThumbState, OpsMessages::kThumbClear)));
    fields.push_back(Field(QStringLiteral("GE"), (xpsr >> 16) & 0xF, 4, QString()));
    const uint32_t itIci = ((xpsr >> 25) & 0x3) | (((xpsr >> 10) & 0x3F) << 2);
    fields.push_back(Field(QStringLiteral("IT/ICI"), itIci, 8, QString()));
    const uint32_t exception = xpsr & 0x1FF;
    fields.push_back(Field(QStringLiteral("Exception"), exception, 9, FaultReport::ExceptionName(exception)));
    return fields;
}

std::vector<Row> ControlFields(uint32_t control)
{
    const uint32_t npriv = control & 1, spsel = (control >> 1) & 1, fpca = (control >> 2) & 1,
                   sfpa = (control >> 3) & 1;
    return {
        Field(QStringLiteral("nPRIV"), npriv, 1, Words(npriv, OpsMessages::kUnprivileged, OpsMessages::kPrivileged)),
        Field(QStringLiteral("SPSEL"), spsel, 1, Words(spsel, OpsMessages::kProcessStack, OpsMessages::kMainStack)),
        Field(QStringLiteral("FPCA"), fpca, 1, Words(fpca, OpsMessages::kFpContextActive, OpsMessages::kNoFpContext)),
        Field(QStringLiteral("SFPA"), sfpa, 1,
              Words(sfpa, OpsMessages::kSecureFpActive, OpsMessages::kSecureFpInactive))};
}

int Width(const CoreRegisterInfo &info)
{
    return info.byteLane >= 0 ? 8 : 32;
}

} // namespace

std::vector<Row> Build(const std::vector<CoreRegister> &shown, const CoreRegisterValues &values, bool read)
{
    std::vector<Row> rows;
    rows.reserve(shown.size());
    for (const CoreRegister id : shown) {
        const CoreRegisterInfo &info = CoreRegisters::Info(id);
        Row row;
        row.name = QString::fromLatin1(info.name);
        row.id = id;
        row.bits = Width(info);
        row.writable = info.writable;
        if (read) {
            const auto found = values.find(id);
            row.state = found == values.end() ? State::NotGiven : State::Read;
            if (found != values.end()) {
                row.value = found->second;
                if (id == CoreRegister::XPSR)
                    row.fields = XpsrFields(row.value);
                else if (id == CoreRegister::CONTROL)
                    row.fields = ControlFields(row.value);
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

QString ValueText(const Row &row, bool hex)
{
    switch (row.state) {
    case State::NotRead:
        return QString();
    case State::NotGiven:
        return QString::fromLatin1(OpsMessages::kFaultNotGiven);
    case State::Read:
        break;
    }
    if (!hex)
        return QString::number(row.value);
    return QStringLiteral("0x") + QString::number(row.value, 16).toUpper().rightJustified((row.bits + 3) / 4, u'0');
}

std::optional<uint32_t> ParseTyped(const QString &text, bool hex)
{
    QString digits = text.trimmed();
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        digits = digits.mid(2);
        hex = true;
    }
    if (digits.isEmpty() || digits.size() > (hex ? 8 : 10))
        return std::nullopt;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        const bool digit = u >= u'0' && u <= u'9';
        const bool letter = (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (!(digit || (hex && letter)))
            return std::nullopt;
    }
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, hex ? 16 : 10);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return uint32_t(value);
}

} // namespace CoreRegisterRows
