#pragma once

// SVD text made up for tests and benchmarks.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

// A device listing the peripherals by name, each at 0x40000000 without
// registers; a null name writes a peripheral without a name element.
inline QByteArray SvdOfNames(const QStringList &names)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<device>\n  <name>VX21A</name>\n"
                      "  <peripherals>\n";
    for (const QString &name : names) {
        text += "    <peripheral>\n";
        if (!name.isNull())
            text += "      <name>" + name.toUtf8() + "</name>\n";
        text += "      <baseAddress>0x40000000</baseAddress>\n    </peripheral>\n";
    }
    return text + "  </peripherals>\n</device>\n";
}

// A device of `peripherals` peripherals P0, P1, ... `stride` bytes apart from
// `base`, each with `registers` registers R0, R1, ... one word apart, each
// with a field LO (bits 0-7) and HI (bits 24-31); the device is named `chip`.
inline QByteArray SvdOfRegisters(int peripherals, int registers, uint32_t base, uint32_t stride,
                                 const QString &chip = QStringLiteral("VX21A"))
{
    QByteArray svd =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<device><name>" + chip.toUtf8() + "</name><peripherals>\n";
    for (int p = 0; p < peripherals; ++p) {
        svd += QStringLiteral("<peripheral><name>P%1</name><baseAddress>0x%2</baseAddress><registers>\n")
                   .arg(p)
                   .arg(base + uint32_t(p) * stride, 8, 16, QChar(u'0'))
                   .toUtf8();
        for (int r = 0; r < registers; ++r)
            svd += QStringLiteral("<register><name>R%1</name><description>Register %1</description>"
                                  "<addressOffset>0x%2</addressOffset><fields>"
                                  "<field><name>LO</name><bitOffset>0</bitOffset><bitWidth>8</bitWidth></field>"
                                  "<field><name>HI</name><bitOffset>24</bitOffset><bitWidth>8</bitWidth></field>"
                                  "</fields></register>\n")
                       .arg(r)
                       .arg(r * 4, 0, 16)
                       .toUtf8();
        svd += "</registers></peripheral>\n";
    }
    return svd + "</peripherals></device>\n";
}
