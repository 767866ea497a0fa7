#pragma once

// One line per peripheral, register and field of an SVD model result, so
// two results compare whole.

#include "regmap/SvdDeviceModel.h"
#include "support/BuildPaths.h"
#include "support/QtPrinters.h"
#include "xml/XmlDocument.h"

#include <QStringList>

// Register and field properties other than the plain ones appear only when set:
// " size=N", " ro", " rc" (reading has a side effect), " reset=0xV", " mask=0xM",
// " {NAME=0xV,...}".
inline QString Describe(const SvdPeripheralResult &result)
{
    using Outcome = SvdPeripheralResult::Outcome;
    if (result.outcome == Outcome::NotPresent)
        return QStringLiteral("not present");
    if (result.outcome == Outcome::Failed)
        return QStringLiteral("failed ") + result.message;
    const SvdPeripheral &p = result.peripheral;
    QString text = QStringLiteral("%1 %2 %3\n").arg(p.name).arg(p.baseAddress, 0, 16).arg(p.span, 0, 16);
    for (const SvdRegister &r : p.registers) {
        text += QStringLiteral(" %1 %2 %3 [%4]")
                    .arg(r.name)
                    .arg(r.addressOffset, 0, 16)
                    .arg(r.address, 0, 16)
                    .arg(r.description);
        if (r.size != 32)
            text += QStringLiteral(" size=%1").arg(r.size);
        if (r.readOnly)
            text += QStringLiteral(" ro");
        if (r.readHasSideEffect)
            text += QStringLiteral(" rc");
        if (r.resetValue)
            text += QStringLiteral(" reset=0x%1").arg(*r.resetValue, 0, 16);
        if (r.resetMask)
            text += QStringLiteral(" mask=0x%1").arg(*r.resetMask, 0, 16);
        text += u'\n';
        for (const SvdField &f : r.fields) {
            text += QStringLiteral("  %1 %2 %3 [%4]").arg(f.name).arg(f.bitOffset).arg(f.bitWidth).arg(f.description);
            if (f.readOnly)
                text += QStringLiteral(" ro");
            if (!f.enumValues.isEmpty()) {
                QStringList values;
                for (const SvdEnumValue &v : f.enumValues)
                    values << QStringLiteral("%1=0x%2").arg(v.name).arg(v.value, 0, 16);
                text += QStringLiteral(" {%1}").arg(values.join(u','));
            }
            text += u'\n';
        }
    }
    return text;
}

// The <value> texts of every enumeratedValue of a document, as written.
inline QStringList EnumeratedValueTexts(const XmlDocument &document)
{
    QStringList texts;
    for (std::uint32_t i = 1; i < document.RecordCount(); ++i)
        if (document.TagIs(i, u"value") && document.TagIs(document.Record(i).parent, u"enumeratedValue"))
            texts << document.ElementTextOf(i);
    return texts;
}
