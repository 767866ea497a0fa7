#pragma once

#include "link/UserInterfaces.h"

#include <QString>
#include <QStringList>

// The user's side of a link cycle run away from the windows' thread: no
// wait cursor, no dialog (the file was chosen before), the chip model taken
// when the work was asked for, and the messages kept in order for the
// window to show on its own thread.
class DetachedUser : public MessagePresenter, public FileChooser, public BusyIndicator, public PanelSelections
{
public:
    explicit DetachedUser(QString chipModel, QString chosenFile = QString())
        : m_chipModel(std::move(chipModel))
        , m_chosenFile(std::move(chosenFile))
    {}

    void ShowMessage(MessageKind kind, const QString &text, const QString &) override
    {
        (kind == MessageKind::Failure ? failures : notes) << text;
    }
    QString ChooseFile(const FileRequest &) override { return m_chosenFile; }
    void SetBusy(bool) override {}
    QString ChipModel() const override { return m_chipModel; }
    int DataSourceEntry() const override { return -1; }
    QString ProbeText() const override { return QString(); }

    UserContext Context() { return UserContext{*this, *this, *this, *this}; }
    bool Failed() const { return !failures.isEmpty(); }

    QStringList failures;
    QStringList notes;

private:
    QString m_chipModel;
    QString m_chosenFile;
};
