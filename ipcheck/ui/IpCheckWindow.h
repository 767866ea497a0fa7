#pragma once

#include "ipcheck/IpCheckOutput.h"

#include <QWidget>

#include <memory>

class LogList;
class ConfigFile;
class EditableListCtrl;
class FileChooser;
class IpCheckSelections;
class MessagePresenter;
class IpCheckWorker;
class QLabel;
class QLineEdit;
class QPushButton;
class WorkerCallQueue;

// The IP check window: the IP list of the current chip model, the buttons
// that start runs and clear or save the output, the progress label and the
// output list. Runs are the worker's; a request only hands it the rows and
// selections as they stand and returns at once. The worker reports back
// through IpCheckOutput, whose calls are carried over to the
// user-interface thread in order, output rows in batches.
class IpCheckWindow : public QWidget, public IpCheckOutput
{
    Q_OBJECT

public:
    // Dialog template 103 in dialog units.
    static constexpr int kTemplateWidth = 247;
    static constexpr int kTemplateHeight = 352;

    IpCheckWindow(ConfigFile &config, IpCheckSelections &panel, QString exeDir, int dpi, QWidget *parent = nullptr);
    ~IpCheckWindow() override;

    // Set-up on first display: the lists' columns, the path field from
    // CHECKIP_PATH (which builds the IP list), the worker. Once only.
    void InitialUpdate();
    // The application's message boxes and file dialogs, for the window's
    // own questions and those of its output list.
    void SetUser(FileChooser *files, MessagePresenter *messages);
    // Rebuilds the IP list for the chip selector's model and the path field.
    void BuildIpList();
    // RunRequest = row (-1: every checked row), then RunEvent.
    void RequestRun(int row);

    EditableListCtrl *IpList() const { return m_ipList; }
    LogList *OutputList() const { return m_outputList; }
    QLabel *ProgressLabel() const { return m_progress; }
    QLineEdit *PathField() const { return m_pathField; }
    QPushButton *AnalyzeButton() const { return m_analyze; }
    QPushButton *ClearButton() const { return m_clear; }
    QPushButton *SaveButton() const { return m_save; }

    // IpCheckOutput, called by the worker thread.
    void SetProgressText(const QString &text) override;
    void ReleaseRow(int row, const QString &name, bool scrollIntoView) override;
    void AppendOutputLines(const QStringList &rows) override;
    void CycleEnded() override;

signals:
    // The main frame re-tiles its register windows after a resize.
    void RetileRequested();
    // A worker cycle has ended (for whoever waits on runs).
    void RunCycleEnded();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect FromDialogUnits(int x, int y, int width, int height) const;
    int Scaled(int pixels) const;
    void OnHeaderClicked();
    void PickAnalyzerFolder();
    void LayOutOutputList();

    ConfigFile &m_config;
    IpCheckSelections &m_panel;
    const QString m_exeDir;
    const int m_dpi;
    bool m_initialised = false;

    EditableListCtrl *m_ipList;
    LogList *m_outputList;
    QPushButton *m_analyze;
    QPushButton *m_clear;
    QPushButton *m_save;
    QLabel *m_progress;
    QLineEdit *m_pathField;
    FileChooser *m_files = nullptr;
    QPushButton *m_pickFolder;
    WorkerCallQueue *m_calls;

    std::unique_ptr<IpCheckWorker> m_worker;
};
