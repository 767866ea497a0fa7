#pragma once

#include "regmap/SvdDeviceModel.h"
#include "regmap/SvdElements.h"
#include "regmap/SvdPeripheral.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

// Turns one peripheral element into its flat register list: derived elements
// completed, arrays and clusters expanded in document order. Clusters are
// walked with an explicit stack, and the whole expansion is bounded, so no
// input can make it recurse deeply or allocate without limit. Field lists and
// enumerated-value lists that several registers or fields share are made
// once and shared.
class SvdRegisterExpansion
{
public:
    // Registers, fields, cluster copies and enumerated values one walk may make.
    static constexpr std::uint32_t kMaxElements = SvdElements::kMaxElements;
    static constexpr int kMaxClusterDepth = 32;

    explicit SvdRegisterExpansion(SvdElements &elements);

    // Fills the registers and span of `peripheral`, whose name and base
    // address are set. False with the failure kept in the elements.
    bool Expand(std::uint32_t peripheralElement, SvdPeripheral &peripheral);
    // From now on a register whose fields cannot be read is kept without
    // fields and listed here instead of failing the walk.
    void KeepUnknownFields(QList<SvdPeripheralResult::UnknownFields> *unknown) { m_unknownFields = unknown; }

private:
    // The register properties a level (device, peripheral, cluster) gives
    // the registers inside it.
    struct Defaults
    {
        std::uint32_t size = 32;
        QString access;
        std::optional<std::uint32_t> resetValue;
        std::optional<std::uint32_t> resetMask;
    };
    struct FieldList
    {
        QList<SvdField> fields;
        bool readHasSideEffect = false;
    };

    bool ApplyDefaults(std::uint32_t element, const SvdElements::Properties &properties, Defaults &defaults);
    bool ExpandRegister(std::uint32_t element, const QString &prefix, std::uint64_t offset, const Defaults &outer,
                        SvdPeripheral &peripheral);
    const FieldList *FieldsOf(std::uint32_t reg, const QString &access);
    bool ReadField(std::uint32_t element, const QString &registerAccess, FieldList &list);
    bool ReadPosition(const SvdElements::Properties &properties, SvdField &field);
    const QList<SvdEnumValue> &EnumValuesOf(std::uint32_t field);
    const QList<SvdEnumValue> &ValuesOfBlock(std::uint32_t block);
    bool ReadNumber(std::uint32_t child, const char *missingMessage, std::uint32_t &value);
    QString AccessText(std::uint32_t access) const;
    bool CheckEnd(const QString &name, std::uint64_t offset, std::uint32_t sizeBits);
    bool Count(std::uint64_t elements);

    SvdElements &m_elements;
    QList<SvdPeripheralResult::UnknownFields> *m_unknownFields = nullptr;
    std::uint64_t m_count = 0;
    QString m_peripheralName;
    std::uint64_t m_baseAddress = 0;
    std::uint64_t m_end = 0; // the largest register end, as an offset
    std::map<std::pair<const void *, QString>, FieldList> m_fieldLists;
    std::unordered_map<std::uint32_t, QList<SvdEnumValue>> m_fieldValues;
    std::unordered_map<std::uint32_t, QList<SvdEnumValue>> m_blockValues;
};
