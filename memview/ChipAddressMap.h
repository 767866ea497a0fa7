#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Where the chip's SVD file puts its peripherals and registers: what a
// memory view names beside its bytes, and the names its address box takes.
class ChipAddressMap
{
public:
    struct Peripheral
    {
        QString name;
        uint32_t base = 0;
        uint32_t span = 0;
    };
    struct Register
    {
        QString name; // "PERIPHERAL.REGISTER" (cluster registers "PERIPHERAL.CLUSTER.REGISTER")
        QString description;
        uint32_t address = 0;
        uint32_t bytes = 4;
        bool readHasSideEffect = false;
        int peripheral = 0; // index into Peripherals()
        // Why whether reading it changes the chip is not known (its fields,
        // or its whole peripheral, cannot be read from the SVD file); empty
        // for a register read whole. Such a register is never read. One that
        // stands for a whole peripheral bears the peripheral's name alone.
        QString unknown;
    };

    // Every peripheral of the file with its registers; empty for a missing or
    // broken file. A register whose fields cannot be read is kept, unknown;
    // a peripheral whose walk fails keeps the registers walked before the
    // failure and is one unknown stretch over what its registers and address
    // blocks cover; one without a base address is left out.
    static ChipAddressMap Load(const QString &svdPath);
    // The map of the file as it is on disk now, shared between views: read
    // again only when the file changed (time or size) or another one is asked.
    static std::shared_ptr<const ChipAddressMap> Shared(const QString &svdPath);

    const std::vector<Peripheral> &Peripherals() const { return m_peripherals; }
    const std::vector<Register> &Registers() const { return m_registers; } // by address
    bool IsEmpty() const { return m_peripherals.empty(); }

    // The registers whose first byte lies in [first, first + count), by address.
    std::vector<const Register *> RegistersStartingIn(uint32_t first, uint32_t count) const;
    // The register holding the byte at `address`, the lowest first.
    const Register *RegisterAt(uint32_t address) const;
    const Peripheral *PeripheralAt(uint32_t address) const;
    const Peripheral &PeripheralOf(const Register &reg) const { return m_peripherals[std::size_t(reg.peripheral)]; }

    // The address of "PERIPHERAL" or "PERIPHERAL.REGISTER": the exact name
    // first, else the only one that matches without regard to letter case.
    std::optional<uint32_t> AddressOf(const QString &name) const;
    // Peripheral names, then register names, for completion.
    QStringList Names() const;
    // Words of registers whose reading changes the chip or is not known to leave it be.
    std::vector<uint32_t> LeftOutWords() const;
    // Why the byte is never read when that is because the SVD file cannot
    // say what reading it does; nothing otherwise.
    std::optional<QString> UnknownAt(uint32_t address) const;

private:
    std::vector<Peripheral> m_peripherals;
    std::vector<Register> m_registers;
    uint32_t m_widest = 4; // the most bytes a register spans
};
