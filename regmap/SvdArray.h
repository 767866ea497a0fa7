#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

class SvdElements;

// The dim properties of one SVD element: how many copies it stands for, the
// address (or bit) step between them and the text that replaces "%s" in each.
struct SvdArray
{
    static constexpr std::uint32_t kMaxCount = 65536;

    bool isArray = false; // the element has a `dim` of its own
    std::uint32_t count = 1;
    std::uint32_t increment = 0;
    QStringList indexNames; // from dimIndex; element k past the list is decimal k

    // Reads the element's own dim, dimIncrement and dimIndex (never a base's).
    // False, with the failure kept in `elements`, for a dim over kMaxCount.
    static bool Read(SvdElements &elements, std::uint32_t element, SvdArray &array);
    // The same from the element's dim, dimIncrement and dimIndex children
    // already found (0 for absent ones).
    static bool Read(SvdElements &elements, std::uint32_t element, const std::uint32_t *dimChildren, SvdArray &array);

    QString IndexName(std::uint32_t k) const;
    // The element k whose Substitute(pattern, k) is `name`; -1 for none.
    qint64 IndexOf(const QString &pattern, QStringView name) const;
    // "%s" replaced by element k's index; the text as it is when not an array.
    QString Substitute(const QString &text, std::uint32_t k) const;
};
