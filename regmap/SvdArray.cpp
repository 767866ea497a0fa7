#include "regmap/SvdArray.h"

#include "regmap/SvdElements.h"
#include "regmap/SvdMessages.h"
#include "regmap/SvdText.h"
#include "link/Tr.h"

namespace {

bool IsDecimal(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool IsLetter(QStringView text)
{
    return text.size() == 1 && ((text[0] >= u'A' && text[0] <= u'Z') || (text[0] >= u'a' && text[0] <= u'z'));
}

// A decimal number as an index is spelt, without leading zeros; -1 otherwise.
qint64 DecimalIndex(QStringView text)
{
    if (!IsDecimal(text) || text.size() > 10 || (text.size() > 1 && text[0] == u'0'))
        return -1;
    return text.toLongLong();
}

// "A,B,C" as its trimmed items; "0-3" and "A-D" counted up from the first
// value for as many elements as the array has.
void ReadIndex(const QString &dimIndex, SvdArray &array)
{
    const QString text = dimIndex.trimmed();
    if (text.isEmpty())
        return;
    if (!text.contains(u',')) {
        const qsizetype dash = text.indexOf(u'-');
        const QStringView first = QStringView(text).first(dash < 0 ? 0 : dash).trimmed();
        const QStringView last = dash < 0 ? QStringView() : QStringView(text).sliced(dash + 1).trimmed();
        if (IsDecimal(first) && IsDecimal(last)) {
            if (const auto start = SvdText::ReadSvdNumber(first)) {
                array.index = SvdArray::Index::Numbers;
                array.first = *start;
                return;
            }
        }
        if (IsLetter(first) && IsLetter(last)) {
            array.index = SvdArray::Index::Letters;
            array.first = first[0].unicode();
            return;
        }
    }
    array.index = SvdArray::Index::List;
    for (const QString &item : text.split(u','))
        array.items.append(item.trimmed());
}

} // namespace

QString SvdArray::Read(const SvdElements &elements, std::uint32_t element, SvdArray &array)
{
    array = SvdArray();
    const std::uint32_t dim = elements.OwnChild(element, u"dim");
    if (dim == 0)
        return {};
    array.isArray = true;
    const auto fail = [&](const QString &message) {
        array.count = 0;
        return message;
    };
    const QString name = elements.NameOf(element);
    const QString dimText = elements.Text(dim);
    const auto count = SvdText::ReadSvdNumber(dimText);
    if (!count)
        return fail(Tr(SvdMessages::kNotANumber).arg(name, u"dim", dimText.trimmed()));
    if (*count > kMaxCount) {
        return fail(Tr(SvdMessages::kDimTooLarge).arg(name, dimText.trimmed(), QString::number(kMaxCount)));
    }
    array.count = *count;
    if (const std::uint32_t increment = elements.OwnChild(element, u"dimIncrement")) {
        const QString incrementText = elements.Text(increment);
        const auto step = SvdText::ReadSvdNumber(incrementText);
        if (!step) {
            return fail(Tr(SvdMessages::kNotANumber).arg(name, u"dimIncrement", incrementText.trimmed()));
        }
        array.increment = *step;
    }
    ReadIndex(elements.Text(elements.OwnChild(element, u"dimIndex")), array);
    return {};
}

QString SvdArray::IndexName(std::uint32_t k) const
{
    switch (index) {
    case Index::Numbers:
        return QString::number(std::uint64_t(first) + k);
    case Index::Letters:
        return QChar(char16_t(first + k));
    case Index::List:
        if (qsizetype(k) < items.size())
            return items[qsizetype(k)];
        break;
    case Index::Decimal:
        break;
    }
    return QString::number(k);
}

QString SvdArray::Substitute(const QString &text, std::uint32_t k) const
{
    if (!isArray)
        return text;
    // Found by its '%', one quick scan; most names and descriptions have none.
    qsizetype at = text.indexOf(u'%');
    while (at >= 0 && (at + 1 >= text.size() || text[at + 1] != u's'))
        at = text.indexOf(u'%', at + 1);
    if (at < 0)
        return text;
    QString result = text;
    return result.replace(QStringLiteral("%s"), IndexName(k));
}

bool SvdArray::PlainIndexNames() const
{
    switch (index) {
    case Index::Decimal:
    case Index::Numbers:
        return true;
    case Index::Letters:
        return std::uint64_t(first) + count <= 0x10000 && first > u' ';
    case Index::List:
        for (qsizetype i = 0; i < items.size() && std::uint32_t(i) < count; ++i) {
            if (items[i].isEmpty() || items[i].contains(u' '))
                return false;
        }
        return true;
    }
    return false;
}

qint64 SvdArray::ElementNamed(QStringView text) const
{
    qint64 k = -1;
    switch (index) {
    case Index::Numbers: {
        const qint64 value = DecimalIndex(text);
        k = value >= qint64(first) ? value - qint64(first) : -1;
        break;
    }
    case Index::Letters:
        k = text.size() == 1 ? qint64(char16_t(text[0].unicode() - first)) : -1;
        break;
    case Index::List:
        for (qsizetype i = 0; i < items.size() && std::uint32_t(i) < count; ++i) {
            if (items[i] == text)
                return i;
        }
        k = DecimalIndex(text);
        if (k < items.size())
            k = -1;
        break;
    case Index::Decimal:
        k = DecimalIndex(text);
        break;
    }
    return k >= 0 && k < qint64(count) ? k : -1;
}

// Every "%s" of the pattern stands for the same index text, so its length
// follows from the lengths of the pattern's other parts and of the name.
qint64 SvdArray::IndexOf(const QString &pattern, QStringView name) const
{
    if (!isArray || !pattern.contains(u"%s"))
        return pattern == name && count > 0 ? 0 : -1;
    const qsizetype placeholders = pattern.count(u"%s");
    const qsizetype fixed = pattern.size() - 2 * placeholders;
    if (name.size() < fixed || (name.size() - fixed) % placeholders != 0)
        return -1;
    const qsizetype at = pattern.indexOf(u"%s");
    if (!name.startsWith(QStringView(pattern).first(at)))
        return -1;
    const QStringView index = name.sliced(at, (name.size() - fixed) / placeholders);
    const qint64 k = ElementNamed(index);
    if (k < 0)
        return -1;
    if (placeholders > 1 || !name.endsWith(QStringView(pattern).sliced(at + 2))) {
        QString spelt = pattern;
        if (spelt.replace(QStringLiteral("%s"), index.toString()) != name)
            return -1;
    }
    return k;
}
