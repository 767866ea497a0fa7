#include "ops/FaultReport.h"

#include "ops/OpsMessages.h"

#include <QJsonArray>

// The report as a person reads it, and as one JSON document for scripts.
namespace FaultReport {

namespace {

QString Hex(uint32_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, u'0');
}

QString PlaceText(const SourcePlace &place)
{
    QString text = place.function.isEmpty() ? QString::fromLatin1(OpsMessages::kFaultNoSymbol) : place.function;
    if (!place.file.isEmpty())
        text += QStringLiteral(" at %1:%2").arg(place.file).arg(place.line);
    return text;
}

QJsonValue PlaceJson(const std::optional<SourcePlace> &place)
{
    if (!place)
        return QJsonValue::Null;
    QJsonObject object{{"function", place->function}};
    if (!place->file.isEmpty()) {
        object.insert("file", place->file);
        object.insert("line", place->line);
    }
    return object;
}

QJsonValue Word(const std::optional<uint32_t> &value)
{
    return value ? QJsonValue(Hex(*value)) : QJsonValue::Null;
}

} // namespace

QString Text(const Report &report)
{
    const QString notGiven = QString::fromLatin1(OpsMessages::kFaultNotGiven);
    QStringList lines;
    if (report.ipsr)
        lines << QStringLiteral("Exception: %1 %2").arg(*report.ipsr).arg(ExceptionName(*report.ipsr));
    else
        lines << QStringLiteral("Exception: ") + notGiven;
    if (!report.lr) {
        lines << QStringLiteral("EXC_RETURN: ") + notGiven;
    } else if (report.excReturn) {
        const ExcReturn &e = *report.excReturn;
        lines << QStringLiteral("EXC_RETURN %1: frame on %2 (%3 %4 stack), returns to %5 mode, %6 frame%7")
                     .arg(Hex(*report.lr), e.StackName(), QLatin1String(e.secureStack ? "Secure" : "Non-secure"),
                          QLatin1String(e.processStack ? "process" : "main"),
                          QLatin1String(e.threadMode ? "Thread" : "Handler"),
                          QLatin1String(e.standardFrame ? "standard" : "extended (floating-point)"),
                          QLatin1String(e.calleeStacked ? ", R4-R11 stacked below it" : ""));
    } else {
        lines << QStringLiteral("LR %1: no EXC_RETURN").arg(Hex(*report.lr));
    }
    for (const FaultRegister &reg : report.registers) {
        if (!reg.value) {
            lines << QStringLiteral("%1: %2").arg(reg.name, notGiven);
            continue;
        }
        lines << QStringLiteral("%1 %2%3").arg(reg.name, Hex(*reg.value),
                                               reg.bits.empty() ? QStringLiteral(": no bit set") : QString());
        for (const SetBit &bit : reg.bits)
            lines << QStringLiteral("  ") + (bit.part == reg.name ? QString() : bit.part + u' ') + bit.name +
                         QStringLiteral(": ") + bit.words;
    }
    for (const FaultAddress &address : report.addresses) {
        if (!address.value)
            lines << QStringLiteral("%1: %2").arg(address.name, notGiven);
        else if (address.valid)
            lines << QStringLiteral("%1 %2: the faulting address").arg(address.name, Hex(*address.value));
        else
            lines << QStringLiteral("%1: not valid (%2 clear)").arg(address.name, address.validBit);
    }
    if (!report.frameProblem.isEmpty()) {
        lines << QStringLiteral("Stacked frame: ") + report.frameProblem;
    } else if (report.frameAddress) {
        lines << QStringLiteral("Stacked frame on %1 at %2:").arg(report.frameStack, Hex(*report.frameAddress));
        for (const FrameEntry &entry : report.frame) {
            QString line = QStringLiteral("  %1 %2").arg(entry.name, -5).arg(Hex(entry.value));
            if (entry.name == QLatin1String("PC") && report.pcPlace)
                line += QStringLiteral("  ") + PlaceText(*report.pcPlace);
            if (entry.name == QLatin1String("LR") && report.lrPlace)
                line += QStringLiteral("  ") + PlaceText(*report.lrPlace);
            lines << line;
        }
    }
    return lines.join(u'\n') + u'\n';
}

QJsonObject Json(const Report &report)
{
    QJsonObject object;
    if (report.ipsr)
        object.insert("exception", QJsonObject{{"number", int(*report.ipsr)}, {"name", ExceptionName(*report.ipsr)}});
    else
        object.insert("exception", QJsonValue::Null);
    object.insert("lr", Word(report.lr));
    if (report.excReturn) {
        const ExcReturn &e = *report.excReturn;
        object.insert("exc_return", QJsonObject{{"stack", e.StackName()},
                                                {"secure_stack", e.secureStack},
                                                {"process_stack", e.processStack},
                                                {"thread_mode", e.threadMode},
                                                {"extended_frame", !e.standardFrame},
                                                {"callee_registers_stacked", e.calleeStacked}});
    }
    QJsonObject registers;
    for (const FaultRegister &reg : report.registers) {
        QJsonArray bits;
        for (const SetBit &bit : reg.bits)
            bits.append(QJsonObject{{"part", bit.part}, {"name", bit.name}, {"words", bit.words}});
        registers.insert(reg.name, reg.value ? QJsonValue(QJsonObject{{"value", Hex(*reg.value)}, {"bits", bits}})
                                             : QJsonValue::Null);
    }
    object.insert("fault_registers", registers);
    QJsonObject addresses;
    for (const FaultAddress &address : report.addresses)
        addresses.insert(address.name,
                         address.value && address.valid ? QJsonValue(Hex(*address.value)) : QJsonValue::Null);
    object.insert("fault_addresses", addresses);
    QJsonObject frame;
    if (!report.frameProblem.isEmpty()) {
        frame.insert("problem", report.frameProblem);
    } else if (report.frameAddress) {
        frame.insert("stack", report.frameStack);
        frame.insert("address", Hex(*report.frameAddress));
        QJsonObject values;
        for (const FrameEntry &entry : report.frame)
            values.insert(entry.name, Hex(entry.value));
        frame.insert("registers", values);
    }
    object.insert("stacked_frame", frame);
    object.insert("pc_place", PlaceJson(report.pcPlace));
    object.insert("lr_place", PlaceJson(report.lrPlace));
    return object;
}

} // namespace FaultReport
