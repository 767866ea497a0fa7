#pragma once

#include "link/ConfigFile.h"
#include "link/LinkCycleGate.h"
#include "link/SerialPort.h"
#include "link/TargetLinks.h"
#include "link/UserInterfaces.h"

#include <QString>

#include <cstdint>
#include <optional>

// The open, operate and close frame of every action that touches a target.
//
// An operation makes one LinkCycle on the stack, calls Preface(), runs its own
// input checks (reporting them with Fail()), then Open(), its Read()/Write()
// calls and Close(). Every failure shows exactly one message and leaves the
// link closed as the failing step requires; success shows nothing. The wait
// cursor is held from Preface() until the cycle is destroyed. The cycle holds
// the links' gate for its whole life, so cycles never overlap; a watch's
// refreshes take the background turn and let waiting user actions go first.
class LinkCycle
{
public:
    enum class Link { JLink, Uart, Gdb };

    LinkCycle(const ConfigFile &config, TargetLinks &links, UserContext &user,
              LinkCycleGate::Turn turn = LinkCycleGate::Turn::User);
    ~LinkCycle();
    LinkCycle(const LinkCycle &) = delete;
    LinkCycle &operator=(const LinkCycle &) = delete;

    // Wait cursor, DATA_TYPE, chip model. False (with its message) for offline data.
    bool Preface();
    // The same with a data source the caller took elsewhere (the capture takes
    // it from the panel): wait cursor and chip model only, no message.
    void PrefaceWith(int dataSource);

    int DataSource() const { return m_dataSource; }
    Link Kind() const { return m_dataSource == 1 ? Link::JLink : m_dataSource == 3 ? Link::Gdb : Link::Uart; }
    const QString &ChipModel() const { return m_chipModel; }

    // The probe serial number to select; JLINK_PORT unless the caller overrides it.
    void SetProbeSerialNumber(uint32_t serialNumber) { m_probeOverride = serialNumber; }
    // Text of the model-without-UART message; the capture's variant ends in "\n".
    void SetUartRefusalFormat(const char *format) { m_uartRefusalFormat = format; }
    // Text shown when the probe does not connect to the target (the register
    // read has a variant of its own).
    void SetConnectFailureText(const char *text) { m_connectFailure = text; }

    // Shows a message that ends the operation. Always returns false so callers
    // can write `return cycle.Fail(...)`.
    bool Fail(const QString &message);
    // Shows a message that does not end the operation (the length caps).
    void Note(const QString &message);

    bool Open();
    bool Read(uint32_t address, uint32_t byteCount);
    bool Write(uint32_t address, uint32_t byteCount);
    // A read whose failure is not reported: no message, the link stays open.
    bool ReadUnchecked(uint32_t address, uint32_t byteCount);
    // A write whose failure is not examined: no message, the link stays open.
    bool WriteUnchecked(uint32_t address, uint32_t byteCount);
    void Close();
    // Over the UART link: closes the port without the leave request.
    void CloseWithoutLeave();
    // J-Link only: close the probe and run the selection and connection steps
    // again with the same serial number.
    bool ReopenProbe();
    // GDB only: close the connection without detaching, so the stopped
    // target stays stopped (the halt actions).
    void CloseLeavingStopped();
    // GDB only: the same, then connect again; the opening stops the target.
    bool ReopenGdb();

    // The body failure texts of the link in use, with address and count.
    const char *ReadFailureFormat() const;
    const char *WriteFailureFormat() const;

    bool IsOpen() const { return m_open; }
    TransferBuffer &Buffer() { return m_links.buffer; }

private:
    bool OpenProbe();
    bool OpenUart();
    bool OpenGdb();
    bool BodyFailed(const char *format, uint32_t address, uint32_t byteCount);

    const ConfigFile &m_config;
    TargetLinks &m_links;
    UserContext &m_user;
    LinkCycleGatePass m_pass;
    std::optional<BusyScope> m_busy;
    int m_dataSource = 0;
    QString m_chipModel;
    std::optional<uint32_t> m_probeOverride;
    uint32_t m_probeSerialNumber = 0;
    const char *m_uartRefusalFormat = "%s not support uart debug !";
    const char *m_connectFailure = "jlink_Connect error\n";
    SerialPort m_port;
    bool m_open = false;
};
