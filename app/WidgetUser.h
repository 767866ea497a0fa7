#pragma once

#include "link/UserInterfaces.h"

#include <QString>

#include <functional>

class QWidget;

// The user's side of every operation, as the windows present it: message
// boxes, file dialogs, the wait cursor and the control panel's selectors.
// Tests replace the modal parts through the hooks so nothing blocks.
class WidgetUser : public MessagePresenter, public FileChooser, public BusyIndicator, public PanelSelections
{
public:
    // MessagePresenter
    // Notes and failures look alike: the same box, the text, and the
    // system's reason on a line after it where there is one.
    void ShowMessage(MessageKind kind, const QString &text, const QString &reason) override;
    // FileChooser: a file dialog (or the hook) that starts in the folder
    // last chosen for the request's purpose and keeps the chosen folder.
    QString ChooseFile(const FileRequest &request) override;
    // BusyIndicator: nests, the cursor goes when the outermost scope ends.
    void SetBusy(bool busy) override;
    // PanelSelections, answered by the selectors given to SetPanel.
    QString ChipModel() const override;
    int DataSourceEntry() const override;
    QString ProbeText() const override;
    int NumberBaseEntry() const override;
    int RegisterWriteModeEntry() const override;

    UserContext Context() { return UserContext{*this, *this, *this, *this}; }

    // The panel whose selectors answer; may be null (no panel yet).
    void SetPanel(const PanelSelections *panel) { m_panel = panel; }
    void SetDialogParent(QWidget *parent) { m_parent = parent; }

    // Takes the box's text instead of the box: the text and its reason.
    std::function<void(const QString &)> messageHook;
    std::function<QString(const FileRequest &)> fileHook;

private:
    QString RunDialog(const FileRequest &request);

    const PanelSelections *m_panel = nullptr;
    QWidget *m_parent = nullptr;
    int m_busyDepth = 0;
};
