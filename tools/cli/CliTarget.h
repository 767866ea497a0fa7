#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "link/UserInterfaces.h"
#include "ops/Operation.h"
#include "tools/cli/CliCommand.h"

#include <QString>

// The user's side of an operation run from the command line: messages go to
// standard error, the file dialog is answered by an argument, the chip model
// is --chip or the configured selection. A failure among the messages makes
// the exit status; notes do not.
class CliUser : public MessagePresenter, public FileChooser, public BusyIndicator, public PanelSelections
{
public:
    explicit CliUser(QString chipModel)
        : m_chipModel(std::move(chipModel))
    {}

    void ShowMessage(MessageKind kind, const QString &text, const QString &reason) override;
    QString ChooseFile(const FileRequest &) override { return m_file; }
    void SetBusy(bool) override {}
    QString ChipModel() const override { return m_chipModel; }
    int DataSourceEntry() const override { return -1; }
    QString ProbeText() const override { return QString(); }

    void SetChosenFile(const QString &file) { m_file = file; }
    bool Failed() const { return m_failed; }
    int ExitStatus() const { return m_failed ? CliFailure : CliSuccess; }
    UserContext Context() { return UserContext{*this, *this, *this, *this}; }

private:
    QString m_chipModel;
    QString m_file;
    bool m_failed = false;
};

// Everything an operation needs, set up from the installation folder the
// way the application sets itself up: Corvane.ini, the chip model, the
// probe library binding.
class CliTarget
{
public:
    explicit CliTarget(const CliContext &context);

    static QString ChipModelFor(const CliContext &context, const ConfigFile &config);

    ConfigFile config;
    CliUser user;
    UserContext userContext;
    TargetLinks links;
    OperationEnv env;
};
