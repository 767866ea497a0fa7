#pragma once

// A register window on a private installation folder: TargetRig's links,
// chip and probe, plus a small SVD for the chip and the window table.

#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "link/NumberInput.h"
#include "regmap/RowText.h"
#include "support/TargetRig.h"

#include <QDir>
#include <QFile>

#include <memory>

// TIMER: span 0x100, one- and multi-bit fields, a field at bit 31, a 32-bit
// field, descriptions with and without a leading line break, a register at
// offset 0x6, a register name of 29 characters. GPIO: one small register.
// BIG: its span passes the transfer buffer. FAR: a register past it, listed
// first. BROKEN: a register without an offset.
// ../ESC: a name that is no plain file name.
inline const char kFixtureSvd[] = R"(<?xml version="1.0" encoding="utf-8"?>
<device>
  <name>VX21A</name>
  <peripherals>
    <peripheral>
      <name>TIMER</name>
      <baseAddress>0x20001000</baseAddress>
      <registers>
        <register>
          <name>CR</name>
          <description>Control register</description>
          <addressOffset>0x0</addressOffset>
          <fields>
            <field><name>EN</name><description>Enable</description><bitOffset>0</bitOffset><bitWidth>1</bitWidth></field>
            <field><name>MODE</name><description>Mode select</description><bitOffset>4</bitOffset><bitWidth>4</bitWidth></field>
            <field><name>TOP</name><description>&#10;&#10;Top bit</description><bitOffset>31</bitOffset><bitWidth>1</bitWidth></field>
          </fields>
        </register>
        <register>
          <name>SR</name>
          <description>&#13;Status</description>
          <addressOffset>0x4</addressOffset>
          <fields>
            <field><name>ALL</name><description>Whole word</description><bitOffset>0</bitOffset><bitWidth>32</bitWidth></field>
          </fields>
        </register>
        <register>
          <name>ODD</name>
          <description>Odd offset</description>
          <addressOffset>0x6</addressOffset>
          <fields/>
        </register>
        <register>
          <name>DATA</name>
          <addressOffset>0x24</addressOffset>
          <fields>
            <field><name>LO</name><bitOffset>0</bitOffset><bitWidth>16</bitWidth></field>
          </fields>
        </register>
        <register>
          <name>A_VERY_LONG_REGISTER_NAME_XYZ</name>
          <description>Last</description>
          <addressOffset>0xFC</addressOffset>
          <fields/>
        </register>
      </registers>
    </peripheral>
    <peripheral>
      <name>GPIO</name>
      <baseAddress>0x20002000</baseAddress>
      <registers>
        <register>
          <name>OUT</name>
          <description>Output</description>
          <addressOffset>0x0</addressOffset>
          <fields>
            <field><name>PIN</name><description>Pins</description><bitOffset>0</bitOffset><bitWidth>8</bitWidth></field>
          </fields>
        </register>
      </registers>
    </peripheral>
    <peripheral>
      <name>BIG</name>
      <baseAddress>0x20010000</baseAddress>
      <registers>
        <register><name>R</name><addressOffset>0x4000</addressOffset><fields/></register>
      </registers>
    </peripheral>
    <peripheral>
      <name>FAR</name>
      <baseAddress>0x20020000</baseAddress>
      <registers>
        <register><name>HIGH</name><addressOffset>0x4000</addressOffset><fields/></register>
        <register><name>LOW</name><addressOffset>0x0</addressOffset><fields/></register>
      </registers>
    </peripheral>
    <peripheral>
      <name>../ESC</name>
      <baseAddress>0x20004000</baseAddress>
      <registers>
        <register><name>R</name><addressOffset>0x0</addressOffset><fields/></register>
      </registers>
    </peripheral>
    <peripheral>
      <name>BROKEN</name>
      <baseAddress>0x20030000</baseAddress>
      <registers>
        <register><name>R</name><description>No offset</description></register>
      </registers>
    </peripheral>
  </peripherals>
</device>
)";

struct RegwinRig : TargetRig
{
    explicit RegwinRig(const QString &model = "VX21A")
        : TargetRig(model)
    {
        PutSvd(model, kFixtureSvd);
    }

    void PutSvd(const QString &chipModel, const QByteArray &text)
    {
        QDir(home.path()).mkpath("svd");
        QFile file(home.filePath("svd/" + chipModel + ".svd"));
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
    }

    RegisterWindow &Window(int slot = 0)
    {
        table.SetNextWindowSlot(slot);
        windows.push_back(std::make_unique<RegisterWindow>(env, table));
        return *windows.back();
    }

    // A window in slot 0 with these peripherals.
    RegisterWindow &WindowWith(const QStringList &names, int slot = 0)
    {
        RegisterWindow &window = Window(slot);
        for (const QString &name : names)
            window.AddPeripheralRows(name);
        return window;
    }

    QString DataPath(const QString &name) const { return home.filePath("data/" + user.chip + "/" + name + ".bin"); }
    QString TempPath(const QString &name) const { return home.filePath("data/temp/" + name + "_temp.bin"); }

    RegisterWindowTable table;
    RegisterWindowEnv env{config, links, context, home.path()};
    std::vector<std::unique_ptr<RegisterWindow>> windows;
};

// Rows found by their names.
inline RegisterRow *Peripheral(RegisterWindow &window, const QString &name)
{
    return window.Tree().FindTopRow(name);
}
inline RegisterRow *Register(RegisterWindow &window, const QString &peripheral, const QString &name)
{
    RegisterRow *top = Peripheral(window, peripheral);
    if (!top)
        return nullptr;
    for (const auto &reg : top->Children())
        if (reg->BareName() == name)
            return reg.get();
    return nullptr;
}
inline RegisterRow *Child(RegisterWindow &window, const QString &peripheral, const QString &reg, const QString &name)
{
    RegisterRow *row = Register(window, peripheral, reg);
    if (!row)
        return nullptr;
    for (const auto &child : row->Children())
        if (child->Name() == name)
            return child.get();
    return nullptr;
}
// A register value set in the rows alone, as if loaded, without its value and field rows.
inline void SetRegisterValue(RegisterWindow &window, RegisterRow *reg, uint32_t value)
{
    window.Tree().SetRegisterValue(reg, value, reg->LastWord());
}
// A text typed into a value or field row, not yet taken by the window.
inline void TypeInto(RegisterWindow &window, RegisterRow *row, const QString &text)
{
    const bool hex = RowText::HasHexPrefix(text);
    const NumberInput::Form form{hex ? 16 : 10, 32, false, false, false, NumberInput::Reading::Leading};
    window.Tree().SetEditedValue(row, NumberInput::Lenient(text, form), hex ? NumberForm::Hex : NumberForm::Decimal,
                                 text);
}
inline QByteArray Words(std::initializer_list<uint32_t> words)
{
    QByteArray bytes;
    for (uint32_t w : words)
        for (int i = 0; i < 4; ++i)
            bytes.append(char(w >> (8 * i)));
    return bytes;
}
