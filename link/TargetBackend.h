#pragma once

#include "link/HaltRecord.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class ConfigFile;
class CoreRegisterPort;
class LinkCycle;
struct TargetLinks;

// The registers and pause of a halt or run request; the backend uses what its link needs.
struct CoreHalt
{
    uint32_t debugViewRegister = 0; // written with the request over the UART link
    uint32_t request = 0;
    uint32_t runRequest = 0;            // written instead of the request to let the cores run
    uint32_t lcpuFlagRegister = 0;      // set around the fresh connection that halts the LCPU
    unsigned long pauseAfterHaltMs = 0; // after the probe's halt of the HCPU
};

// How a link names its failed transfers: bodies with address and count, the
// register window's one-word transfers with the address.
struct TransferFailureTexts
{
    const char *readBody;
    const char *writeBody;
    const char *readWord;
    const char *writeWord;
};

// How one kind of link reaches the target: the J-Link library, the UART
// debug link or a GDB server. A link cycle chooses one when it opens and
// calls through it; the steps of the operations that differ per link live here.
// Transfers move bytes between the transfer buffer and the target and show
// nothing; the steps taking the cycle report through it as its own calls do.
class TargetBackend
{
public:
    virtual ~TargetBackend() = default;

    // Connects; a failure shows its message and leaves the link closed.
    virtual bool Open(LinkCycle &cycle) = 0;
    virtual bool ReadMemory(uint32_t address, uint32_t byteCount) = 0;
    virtual bool WriteMemory(uint32_t address, uint32_t byteCount) = 0;
    // The normal end: the target runs on as before the connection.
    virtual void Close() = 0;
    // The end after a local file failed: over the UART link without the leave request.
    virtual void CloseWithoutLeave() { Close(); }
    // The end after a halt: a stopped target stays stopped.
    virtual void CloseLeavingHalted() { Close(); }
    // The next opening makes a new connection, and no later close keeps it
    // for reuse (a re-opening whose connection itself acts on the target).
    virtual void OpenAfresh() {}

    // Halts the HCPU through the open link; false when a step failed (reported).
    virtual bool HaltCore(LinkCycle &cycle, const CoreHalt &halt) = 0;
    // Halts the LCPU once its preparation is done; false when a step failed.
    virtual bool HaltLcpu(LinkCycle &cycle, const CoreHalt &halt) = 0;
    // Lets the HCPU run, and the LCPU too when it was halted; false when a step failed.
    virtual bool RunCores(LinkCycle &cycle, const HaltedCores &halted, const CoreHalt &halt) = 0;

    // The core registers of the HCPU through the open link; a link that
    // only moves memory reaches them through the debug registers where its
    // halt request reaches the core.
    virtual std::unique_ptr<CoreRegisterPort> CoreRegisters(LinkCycle &cycle, const CoreHalt &halt,
                                                            int readyDeadlineMs) = 0;

    // The target this link reaches, as the halt record names it; known after the settings are read at Open().
    virtual QString TargetName() const = 0;
    // Whether the opening found the target running, so no halt of an
    // earlier action holds any more. Only a link that can tell says true.
    virtual bool FoundRunning() const { return false; }
    // Whether the HCPU runs now, as the open link can ask the core; false
    // where it cannot tell. Keeps the transfer buffer as it was.
    virtual bool HcpuRuns(LinkCycle &) { return false; }
    // What tells this target, as it is now, from itself after it ran or
    // started again (a GDB server: a digest of the halted core's
    // registers); empty where the link tells nothing. Asked on the open link.
    virtual QString TargetIdentity() { return QString(); }
    // Whether the normal ends leave the target halted (a GDB server lets it
    // run at the detach otherwise); the other links never let a core run on closing.
    virtual void KeepHalted(bool) {}
    // The system's reason for the last failure of the link, where it gave one.
    virtual QString FailureReason() const { return QString(); }

    // Whether a failed write inside a long loop ends the loop (the UART link runs on).
    virtual bool ExaminesRepeatedWrites() const { return true; }
    // Whether a read into a file shows its first chunk as a preview.
    virtual bool PreviewsFileReads() const { return false; }
    // Whether a write of fewer bytes than a word changes only those bytes
    // (the UART link moves whole words).
    virtual bool WritesBytes() const { return true; }

    // The texts of this link's failed transfers.
    virtual const TransferFailureTexts &FailureTexts() const = 0;
};

// What the opening steps take from the cycle that chooses the backend.
struct BackendSetup
{
    const ConfigFile &config;
    TargetLinks &links;
    QString chipModel;
    std::optional<uint32_t> probeSerialNumber; // else JLINK_PORT
    const char *uartRefusalFormat;
    const char *connectFailure;
};

namespace TargetBackends {

// DATA_TYPE 1 is the probe, 3 a GDB server, anything else the UART link.
std::unique_ptr<TargetBackend> ForDataSource(int dataSource, const BackendSetup &setup);

} // namespace TargetBackends
