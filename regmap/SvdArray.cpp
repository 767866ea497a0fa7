#include "regmap/SvdArray.h"

#include "regmap/SvdElements.h"
#include "regmap/SvdText.h"

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

// "A,B,C" as its trimmed items; "0-3" and "A-D" counted up from the first
// value for `count` elements.
QStringList IndexNames(const QString &dimIndex, std::uint32_t count)
{
    const QString text = dimIndex.trimmed();
    if (text.isEmpty())
        return {};
    QStringList names;
    if (!text.contains(u',')) {
        const qsizetype dash = text.indexOf(u'-');
        const QStringView first = QStringView(text).first(dash < 0 ? 0 : dash).trimmed();
        const QStringView last = dash < 0 ? QStringView() : QStringView(text).sliced(dash + 1).trimmed();
        if (IsDecimal(first) && IsDecimal(last)) {
            const std::uint32_t start = SvdText::ReadNumber(first, 10);
            for (std::uint32_t k = 0; k < count; ++k)
                names.append(QString::number(std::uint64_t(start) + k));
            return names;
        }
        if (IsLetter(first) && IsLetter(last)) {
            for (std::uint32_t k = 0; k < count; ++k)
                names.append(QChar(char16_t(first[0].unicode() + k)));
            return names;
        }
    }
    for (const QString &item : text.split(u','))
        names.append(item.trimmed());
    return names;
}

} // namespace

bool SvdArray::Read(SvdElements &elements, std::uint32_t element, SvdArray &array)
{
    const std::uint32_t dim = elements.OwnChild(element, u"dim");
    if (dim == 0) {
        array = SvdArray();
        return true;
    }
    const std::uint32_t children[] = {dim, elements.OwnChild(element, u"dimIncrement"),
                                      elements.OwnChild(element, u"dimIndex")};
    return Read(elements, element, children, array);
}

bool SvdArray::Read(SvdElements &elements, std::uint32_t element, const std::uint32_t *dimChildren, SvdArray &array)
{
    array = SvdArray();
    const std::uint32_t dim = dimChildren[0];
    if (dim == 0)
        return true;
    array.isArray = true;
    const QString dimText = elements.Text(dim);
    array.count = SvdText::ReadPrefixedNumber(dimText);
    if (array.count > kMaxCount) {
        elements.Fail(QStringLiteral("[svd] %1 dim %2 over %3!\n")
                          .arg(elements.NameOf(element), dimText.trimmed(), QString::number(kMaxCount)));
        array.count = 0;
        return false;
    }
    array.increment = SvdText::ReadPrefixedNumber(elements.Text(dimChildren[1]));
    array.indexNames = IndexNames(elements.Text(dimChildren[2]), array.count);
    return true;
}

QString SvdArray::IndexName(std::uint32_t k) const
{
    return qsizetype(k) < indexNames.size() ? indexNames[qsizetype(k)] : QString::number(k);
}

QString SvdArray::Substitute(const QString &text, std::uint32_t k) const
{
    if (!isArray || !text.contains(u"%s"))
        return text;
    QString result = text;
    return result.replace(QStringLiteral("%s"), IndexName(k));
}

qint64 SvdArray::IndexOf(const QString &pattern, QStringView name) const
{
    const qsizetype at = pattern.indexOf(u"%s");
    if (!isArray || at < 0 || pattern.indexOf(u"%s", at + 2) >= 0) {
        // No placeholder, or several: compare element by element.
        for (std::uint32_t k = 0; k < count; ++k) {
            if (Substitute(pattern, k) == name)
                return k;
        }
        return -1;
    }
    const QStringView head = QStringView(pattern).first(at);
    const QStringView tail = QStringView(pattern).sliced(at + 2);
    if (name.size() < head.size() + tail.size() || !name.startsWith(head) || !name.endsWith(tail))
        return -1;
    const QStringView index = name.sliced(head.size(), name.size() - head.size() - tail.size());
    for (qsizetype k = 0; k < indexNames.size() && std::uint32_t(k) < count; ++k) {
        if (indexNames[k] == index)
            return k;
    }
    // Past the list, element k is decimal k.
    if (index.isEmpty() || index.size() > 6 || (index.size() > 1 && index[0] == u'0'))
        return -1;
    for (const QChar c : index) {
        if (c < u'0' || c > u'9')
            return -1;
    }
    const qint64 k = index.toLongLong();
    return k >= indexNames.size() && k < qint64(count) ? k : -1;
}
