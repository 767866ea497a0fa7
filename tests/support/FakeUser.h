#pragma once

#include "link/UserInterfaces.h"
#include "support/QtPrinters.h"

#include <QStringList>

#include <functional>

// Stands in for the person at the windows: records every message and every
// file question, answers from prepared values, and counts busy periods.
class FakeUser : public MessagePresenter, public FileChooser, public BusyIndicator, public PanelSelections
{
public:
    // MessagePresenter
    void ShowMessage(MessageKind kind, const QString &text, const QString &reason) override
    {
        messages << text;
        kinds << kind;
        reasons << reason;
        if (onMessage)
            onMessage(text);
    }

    // FileChooser
    QString ChooseFile(const FileRequest &request) override
    {
        fileRequests << request;
        return chosenFile;
    }

    // BusyIndicator
    void SetBusy(bool on) override
    {
        busyDepth += on ? 1 : -1;
        if (on)
            ++busyPeriods;
    }

    // PanelSelections
    QString ChipModel() const override { return chip; }
    int DataSourceEntry() const override { return dataSourceEntry; }
    QString ProbeText() const override { return probeText; }

    UserContext Context() { return UserContext{*this, *this, *this, *this}; }

    QStringList messages;
    QList<MessageKind> kinds; // one per message
    QStringList reasons;      // one per message, empty where none was given
    std::function<void(const QString &)> onMessage;
    QList<FileRequest> fileRequests;
    QString chosenFile;
    int busyDepth = 0;
    int busyPeriods = 0;
    QString chip = "VX21A";
    int dataSourceEntry = -1;
    QString probeText;
};
