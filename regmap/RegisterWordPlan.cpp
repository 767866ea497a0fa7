#include "regmap/RegisterWordPlan.h"

#include "link/MessageText.h"
#include "regmap/PeripheralImage.h"
#include "regmap/RegisterRow.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/RowBits.h"
#include "regmap/RowText.h"

RegisterWordPlan RegisterWordPlan::Of(const RegisterRow &reg, const ValueSource &source)
{
    RegisterWordPlan plan;
    const RegisterBits bits = RegisterBits::Of(reg.Traits());
    const uint64_t own = bits.Mask();
    const uint64_t set = (source.kind == ValueSource::Kind::Edited ? source.editedBits & own : own) << bits.Shift();
    const uint64_t whole = PeripheralImage::ValueBytes(reg) > 4 ? ~uint64_t(0) : 0xFFFFFFFFu;
    if (set == whole)
        return plan;
    // Reading a register that only takes writes tells nothing of it.
    const QString &access = reg.Traits().access;
    if (access == u"write-only" || access == u"writeOnce")
        return plan;
    const bool known = source.ChipKnown();
    if (known && own == whole)
        return plan;
    const std::optional<QString> refused = PeripheralImage::ReadRefusal(reg);
    if (!refused && !PeripheralImage::WordReadChangesChip(reg)) {
        plan.rowsMask = set;
        plan.readFirst = true;
        return plan;
    }
    // A narrow register that cannot be read again: its word as last read.
    if (known)
        return plan;
    plan.blocked = refused ? Blocked::ReadRefused : Blocked::ReadChangesChip;
    plan.refusal = refused.value_or(QString());
    return plan;
}

QString RegisterWordPlan::Refusal(const RegisterRow &edited, const RegisterRow &reg) const
{
    const QByteArray what = EditedName(edited).toUtf8();
    const QByteArray name = reg.BareName().toUtf8();
    if (blocked == Blocked::ReadRefused)
        return MessageText::Format(RegisterWindowMessages::kEditReadRefused, what.constData(), name.constData(),
                                   refusal.toUtf8().constData());
    return MessageText::Format(RegisterWindowMessages::kEditReadChangesChip, what.constData(), name.constData());
}

QString RegisterWordPlan::EditedName(const RegisterRow &row)
{
    if (row.RowKind() == RegisterRow::Kind::Register)
        return row.BareName();
    const RegisterRow &reg = *row.Parent();
    return row.RowKind() == RegisterRow::Kind::Field ? reg.BareName() + u'.' + row.BareName() : reg.BareName();
}
