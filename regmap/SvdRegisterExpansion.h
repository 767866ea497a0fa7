#pragma once

#include "regmap/SvdPeripheral.h"

#include <cstdint>

class SvdElements;

// Turns one peripheral element into its flat register list: derived elements
// completed, arrays and clusters expanded in document order. Clusters are
// walked with an explicit stack, and the whole expansion is bounded, so no
// input can make it recurse deeply or allocate without limit.
class SvdRegisterExpansion
{
public:
    static constexpr std::uint32_t kMaxElements = 1u << 18; // registers, fields and cluster copies
    static constexpr int kMaxClusterDepth = 32;

    explicit SvdRegisterExpansion(SvdElements &elements);

    // Fills the registers and span of `peripheral`, whose base address is set.
    // False with the failure kept in the elements.
    bool Expand(std::uint32_t peripheralElement, SvdPeripheral &peripheral);

private:
    struct Inherited
    {
        std::uint32_t size = 32;
        QString access;
    };
    bool ExpandRegister(std::uint32_t element, const QString &prefix, std::uint32_t offset, const Inherited &inherited,
                        SvdPeripheral &peripheral);
    bool ReadField(std::uint32_t element, const QString &registerAccess, QList<SvdField> &fields, bool &sideEffect);
    void ReadEnumValues(std::uint32_t field, SvdField &out);
    Inherited Properties(std::uint32_t element, const Inherited &outer);
    bool Count(std::uint64_t elements);

    SvdElements &m_elements;
    std::uint64_t m_count = 0;
    QString m_peripheralName;
};
