#pragma once

#include <QList>
#include <QString>

// What the logic needs of the person in front of it. The windows implement
// these with message boxes, file dialogs and the control panel; tests and the
// command-line tool implement them without any window.

// A note tells of something the operation did on its own and goes on after
// (a length capped, a short file filled); a failure means what was asked was
// not done.
enum class MessageKind { Note, Failure };

class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    // A modal message with an OK button; the text is shown exactly as given,
    // whatever its kind. The reason, where the system gave one, is its own
    // account of a failure ("Device or resource busy"): the windows leave it
    // out, the command-line tool prints it after the text.
    virtual void ShowMessage(MessageKind kind, const QString &text, const QString &reason) = 0;

    void ShowNote(const QString &text) { ShowMessage(MessageKind::Note, text, QString()); }
    void ShowFailure(const QString &text, const QString &reason = QString())
    {
        ShowMessage(MessageKind::Failure, text, reason);
    }
};

struct FileFilter
{
    QString text;    // what the dialog shows, e.g. "Register data Files(*.bin)"
    QString pattern; // e.g. "*.bin"
};

struct FileRequest
{
    enum class Kind { Open, Save, Folder };
    Kind kind = Kind::Open;
    QString title;
    QList<FileFilter> filters;
    QString defaultName;    // pre-filled file name, may be empty
    bool mustExist = false; // the chosen file has to exist
    bool overwritePrompt = false;
    // What the file is for ("snapshot", "export", ...): the windows keep the
    // folder last chosen for each purpose in the per-user profile and start
    // the next question of that purpose there. Empty: nothing is kept.
    QString purpose;
    // Where the question starts while no folder is kept for its purpose (or
    // the kept one is gone); empty: where the dialog starts by itself. The
    // windows hand it on set to where the question really starts.
    QString startFolder;
};

class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // The chosen path, or an empty text when the dialog was cancelled.
    virtual QString ChooseFile(const FileRequest &request) = 0;
};

class BusyIndicator
{
public:
    virtual ~BusyIndicator() = default;
    virtual void SetBusy(bool busy) = 0;
};

// Holds the wait cursor for the lifetime of the scope.
class BusyScope
{
public:
    explicit BusyScope(BusyIndicator &indicator)
        : m_indicator(indicator)
    {
        m_indicator.SetBusy(true);
    }
    ~BusyScope() { m_indicator.SetBusy(false); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    BusyIndicator &m_indicator;
};

// The control panel's selectors that a few consumers read directly.
class PanelSelections
{
public:
    virtual ~PanelSelections() = default;
    // Text of the chip selector: the current chip model.
    virtual QString ChipModel() const = 0;
    // Entry selected in the data-source selector, -1 when none.
    virtual int DataSourceEntry() const = 0;
    // Text of the probe selector (a serial number in decimal, or empty).
    virtual QString ProbeText() const = 0;
    // Number-base selector: 0 DEC, 1 HEX. -1 when the panel cannot say;
    // callers then read HEX_DEC, which the panel keeps equal to it.
    virtual int NumberBaseEntry() const { return -1; }
    // Register-write mode selector: 0 write at once, 1 from the context
    // menu. -1 when the panel cannot say; callers then read REG_WR.
    virtual int RegisterWriteModeEntry() const { return -1; }
};

// Everything an operation talks to on the user's side.
struct UserContext
{
    MessagePresenter &messages;
    FileChooser &files;
    BusyIndicator &busy;
    PanelSelections &panel;
};
