#pragma once

#include "link/NumberInput.h"
#include "regmap/RegisterRowTree.h"
#include "regmap/RegisterTransfer.h"
#include "regmap/RegisterWindowEnv.h"
#include "regmap/SvdDocumentCache.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class LinkCycle;
class XmlDocument;

struct PeripheralSpan
{
    bool found = false;
    uint32_t base = 0;
    uint32_t span = 0;
};

// The register rows of some of the chip's peripherals, built from its SVD
// file, with what moves values between them, snapshot files and the chip:
// loading, saving, reading, writing and editing. The rows hold the SVD's
// facts and the values as numbers. A register window is one such map on
// screen; the command-line tool uses one without a window.
class RegisterMap
{
public:
    explicit RegisterMap(const RegisterWindowEnv &env);
    virtual ~RegisterMap() = default;
    RegisterMap(const RegisterMap &) = delete;
    RegisterMap &operator=(const RegisterMap &) = delete;

    RegisterRowTree &Tree() { return m_tree; }
    const RegisterRowTree &Tree() const { return m_tree; }

    // --- Rows
    // Appends the rows of one peripheral of the chip's SVD file (parsed once
    // while the file stays the same); a failure is shown.
    void AddPeripheralRows(const QString &name);
    PeripheralSpan FindPeripheralSpan(const QString &name) const;
    void ApplyNumberBase();
    // Peripherals expanded unless level 0, registers expanded at level 2.
    void ApplyExpandLevel(int level);
    void RealignCaptions(int column);
    // The name column settled: clamp it to 160..400 and realign the captions
    // when it changed.
    void NameColumnSettled();

    // --- Snapshot files
    // The rows show the file's values, as loaded from that file.
    bool LoadSnapshot(const QString &name, const QString &path);
    bool SaveSnapshot(const QString &name, const QString &path);
    QString DefaultSnapshotPath(const QString &name) const;
    // Peripherals added from now on show their last saved snapshot, as a
    // window shows them at start.
    void ShowLastSnapshots() { m_showLastSnapshot = true; }
    // Fills a peripheral's rows from an image of its range, as a load does,
    // without a file and without messages (a watch's refresh); registers
    // read with side effects keep their rows. False when the map does not
    // show the peripheral.
    bool FillPeripheral(const QString &name, const QByteArray &image);
    // A watch's refresh of the peripheral failed: the registers it reads keep
    // their values, marked as older than the read that failed.
    void MarkPeripheralStale(const QString &name);

    // --- Transfers: one link cycle reads or writes a peripheral (its rows,
    // through its snapshot file) or a register (`isRegister`).
    void ReadRow(RegisterRow *row, bool isRegister);
    // `beforeEdit`: an immediate write, whose rows go back to what they
    // showed before the edit when it cannot be done.
    void WriteRow(RegisterRow *row, bool isRegister,
                  const std::optional<RegisterTransfer::Shown> &beforeEdit = std::nullopt);
    // The same in the steps that let the cycle run off the rows' thread:
    // plan from the rows, run the cycle and the files on any thread without
    // touching a row (messages go to `user`), finish in the rows.
    // Where ReadRow() and WriteRow() run a transfer's cycle. Unset: here, at
    // once. The windows set one that runs it on a thread of theirs and calls
    // `finish` on the rows' thread once it has ended; it returns false when
    // it cannot take the transfer now (another action runs): the transfer
    // is then refused with a message.
    using TransferRunner =
        std::function<bool(std::shared_ptr<RegisterTransfer> transfer, std::function<void()> finish)>;
    void SetTransferRunner(TransferRunner runner) { m_transferRunner = std::move(runner); }
    RegisterTransfer PlanRead(const RegisterRow *row, bool isRegister) const;
    RegisterTransfer PlanWrite(const RegisterRow *row, bool isRegister) const;
    // What was read goes into the rows; after a failed read what they show
    // is marked old. A register written shows the word written, one whose
    // immediate write failed what it showed before the edit. A row that went
    // meanwhile is left alone.
    void Finish(const RegisterTransfer &transfer);

    // Reads a peripheral from the chip into its snapshot file on the open
    // cycle (the panel's capture). The file's path when it was replaced;
    // otherwise the cycle has shown the one message and is closed. The cycle
    // stays open on success, for the caller's next transfer.
    std::optional<QString> CapturePeripheral(LinkCycle &cycle, const QString &name) const;
    // The same in two steps: the plan from the rows (rows' thread), then
    // RegisterTransfer::Capture() on the open cycle (any thread).
    RegisterTransfer PlanCapture(const QString &name) const;

    // --- Editing
    // The user changed an editable value or field row to `typed`: the
    // register and its other rows follow. False (after the message, with the
    // edit undone) when the value does not fit.
    bool EditValue(RegisterRow *row, const QString &typed);
    // The same for a value picked from a field's choices.
    bool EditChoice(RegisterRow *row, uint64_t value);

    // What the map has read of its SVD file (tests count parses and walks).
    const SvdDocumentCache &SvdFileRead() const { return m_svd; }

protected:
    bool LoadSnapshotFrom(const QString &name, const QString &path, const ValueSource &source);
    // Shows the peripheral's last saved snapshot, when it has one, as loaded
    // from that file; no message, and the transfer buffer is left alone.
    void ShowLastSnapshot(RegisterRow *peripheral);
    // The chip's SVD file as it is on disk now.
    SvdDocumentCache &SvdFile();
    RegisterRowTree::BuildOptions BuildOptions() const;
    // Adds the rows of a peripheral of the file SvdFile() followed last.
    void AddRowsFrom(const QString &name, const RegisterRowTree::BuildOptions &options);
    // The shipped file of the core's own peripherals, as it is on disk now.
    SvdDocumentCache &CoreSvdFile();
    QString ChipModel() const;
    int NumberBase() const;
    void ShowNote(const QString &text) const;
    void ShowFailure(const QString &text) const;
    QString SnapshotPathOf(const QString &name, bool temporary, bool *usable) const;
    std::optional<QString> CheckFits(const RegisterRow &peripheral) const;
    RegisterTransfer Plan(const RegisterRow *row, bool isRegister, bool write) const;
    void FinishWrite(const RegisterTransfer &transfer, RegisterRow *reg);
    void ShowAgain(RegisterRow *reg, const RegisterTransfer::Shown &shown);
    bool Offline() const;
    // An edit whose number is known: `typed` names it in messages, `shownText`
    // is what the row shows while it stands (its number when none).
    bool EditNumber(RegisterRow *row, const NumberInput::Number &number, NumberForm form,
                    const std::optional<QString> &shownText, const QString &typed);

    RegisterWindowEnv m_env;
    RegisterRowTree m_tree;

    TransferRunner m_transferRunner;

    // A window shows each peripheral's last saved snapshot when it adds it.
    bool m_showLastSnapshot = false;

private:
    SvdDocumentCache m_svd;
    SvdDocumentCache m_coreSvd;
};
