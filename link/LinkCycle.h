#pragma once

#include "link/ConfigFile.h"
#include "link/CoreRegisterPort.h"
#include "link/LinkCycleGate.h"
#include "link/LinkMessages.h"
#include "link/TargetBackend.h"
#include "link/TargetLinks.h"
#include "link/UserInterfaces.h"

#include <QString>

#include <cstdint>
#include <memory>
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
// The data source chooses the link's backend once; the steps below call
// through it and never ask which link is in use.
class LinkCycle
{
public:
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
    const QString &ChipModel() const { return m_chipModel; }

    // The three overrides below are given before Open(), which hands them to the backend.
    // The probe serial number to select; JLINK_PORT unless the caller overrides it.
    void SetProbeSerialNumber(uint32_t serialNumber) { m_probeOverride = serialNumber; }
    // Text of the model-without-UART message; the capture's variant ends in "\n".
    void SetUartRefusalFormat(const char *format) { m_uartRefusalFormat = format; }
    // Text shown when the probe does not connect to the target (the register
    // read has a variant of its own).
    void SetConnectFailureText(const char *text) { m_connectFailure = text; }

    // Shows a failure, which ends the operation, with the system's reason
    // where it gave one; without a reason of its own, the failure right
    // after a failed transfer carries the link's. Always returns false so
    // callers can write `return cycle.Fail(...)`.
    bool Fail(const QString &message, const QString &reason = QString());
    // The same for a catalogue text, shown in the user's language.
    bool Fail(const char *message, const QString &reason = QString());
    // Shows a message that does not end the operation (the length caps).
    void Note(const QString &message);
    // The last failure shown, as it was shown, and the reason given with it:
    // for the operations' typed results.
    const QString &ShownFailure() const { return m_shownFailure; }
    const QString &ShownReason() const { return m_shownReason; }

    bool Open();
    bool Read(uint32_t address, uint32_t byteCount);
    bool Write(uint32_t address, uint32_t byteCount);
    // One word from the transfer buffer's start, written as Write() does.
    bool WriteWord(uint32_t address, uint32_t value);
    // A read whose failure is not reported: no message, the link stays open.
    bool ReadUnchecked(uint32_t address, uint32_t byteCount);
    // A write whose failure is not examined: no message, the link stays open.
    bool WriteUnchecked(uint32_t address, uint32_t byteCount);
    // A write among the many of a long loop: a checked Write(), except over
    // the UART link, where a failure is not examined and the loop runs on.
    bool WriteRepeated(uint32_t address, uint32_t byteCount);
    void Close();
    // After a local file failed: over the UART link the port closes without
    // the leave request; other links close as Close() does.
    void CloseWithoutLeave();
    // After a halt: a GDB server's connection closes without the detach, so
    // the stopped target stays stopped; other links close as Close() does.
    void CloseLeavingHalted();
    // Closes as after a halt (or, letting run, as Close() does when no core
    // is halted) and runs the opening steps again (the probe selects the
    // same serial number).
    enum class Reopening { LeavingHalted, LettingRun };
    bool Reopen(Reopening how = Reopening::LeavingHalted);

    // The link's own halt steps, between Open() and CloseLeavingHalted().
    bool HaltCore(const CoreHalt &halt);
    bool HaltLcpu(const CoreHalt &halt);
    // After the halt steps: the record keeps the core halted through every
    // later action, over every link, until RunCores(). The entry is merged
    // with what other writers recorded meanwhile, and carries the target's
    // identity as this cycle's first opening found it. A record that cannot
    // be written fails the halt with its message (false).
    bool RecordHalted(const HaltedCores &cores);
    // The link's own steps that let the halted cores run (the HCPU always),
    // then the record is cleared and the close lets the target run; a record
    // that cannot be cleared fails the run with its message.
    bool RunCores(const CoreHalt &halt);
    // The core registers of the HCPU through the open link (see CoreRegisterPort).
    // readyDeadlineMs bounds the wait for each register over the memory links.
    std::unique_ptr<CoreRegisterPort> CoreRegisters(const CoreHalt &halt, int readyDeadlineMs);
    // What Corvane halted on the open target, as the record and the link say.
    const HaltedCores &Halted() const { return m_halted; }

    // Whether a read into a file shows its first chunk as a preview.
    bool PreviewsFileReads();
    // Whether the link writes single bytes, or whole words only.
    bool WritesBytes();
    // The body failure texts of the link in use, with address and count.
    const char *ReadFailureFormat();
    const char *WriteFailureFormat();
    // The register window's one-word failure texts of the link in use.
    QString RegisterReadFailure(uint32_t address);
    QString RegisterWriteFailure(uint32_t address);

    bool IsOpen() const { return m_open; }
    TransferBuffer &Buffer() { return m_links.buffer; }

private:
    TargetBackend &Backend();
    bool BodyFailed(const char *format, uint32_t address, uint32_t byteCount);
    // Takes the record of the target once, at its first opening.
    void LearnHalted();
    bool IsStale(const HaltEntry &entry);

    const ConfigFile &m_config;
    TargetLinks &m_links;
    UserContext &m_user;
    LinkCycleGatePass m_pass;
    std::optional<BusyScope> m_busy;
    int m_dataSource = 0;
    QString m_chipModel;
    std::optional<uint32_t> m_probeOverride;
    const char *m_uartRefusalFormat = LinkMessages::kUartRefusal;
    const char *m_connectFailure = LinkMessages::kProbeConnect;
    std::unique_ptr<TargetBackend> m_backend;
    bool m_open = false;
    bool m_haltLearned = false;
    HaltedCores m_halted;
    QString m_target;
    // What the link told of the target at the first opening (halt record identity).
    QString m_identity;
    // The link's reason for the last failed transfer, for the failure shown next.
    QString m_linkReason;
    QString m_shownFailure;
    QString m_shownReason;
};
