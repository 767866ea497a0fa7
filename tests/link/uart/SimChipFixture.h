#pragma once

// A link talking to a simulated chip over a real pseudo-terminal.

#include "link/TransferBuffer.h"
#include "link/UartLink.h"
#include "SimulatedChip.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

inline QByteArray Hex(const char *text)
{
    return QByteArray::fromHex(text);
}

inline QByteArray BufferBytes(const TransferBuffer &buffer, int count)
{
    return QByteArray(reinterpret_cast<const char *>(buffer.data()), count);
}

inline void FillBuffer(TransferBuffer &buffer, const QByteArray &bytes)
{
    std::copy(bytes.begin(), bytes.end(), buffer.data());
}

class SimChipFixture
{
public:
    // `linkModel` is what the link is told; the chip serves `chipModel`.
    explicit SimChipFixture(const QString &chipModel, int speedIndex = 1, QString linkModel = {})
        : m_chip(chipModel)
        , m_linkModel(linkModel.isEmpty() ? chipModel : linkModel)
        , m_link(m_buffer, [this] { return m_linkModel; })
    {
        m_started = m_chip.Start();
        if (m_started)
            m_port = m_link.OpenPort(m_chip.PortPath(), speedIndex);
    }

    bool Ready() const { return m_started && m_port.IsOpen(); }

    SimulatedChip m_chip;
    QString m_linkModel;
    TransferBuffer m_buffer;
    UartLink m_link;
    SerialPort m_port;

private:
    bool m_started = false;
};
