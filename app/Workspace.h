#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "link/UserInterfaces.h"
#include "regmap/RegisterWindowTable.h"

#include <QObject>
#include <QString>

#include <memory>

class TargetActionRunner;

// What the windows work on together: the configuration, the links to the
// target, the one runner of target actions, the table of register window
// logic, the user's side of the operations and the chip the panel has
// selected. The windows get it through their constructors and watch its
// signals instead of each other's widgets.
class Workspace : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSlotCount = RegisterWindowTable::kSlots;
    // Longest wait of a configuration write for another writer's lock.
    static constexpr int kConfigLockWaitMs = 100;

    // Opens the installation's Corvane.ini and binds the probe library it names.
    Workspace(const QString &exeDir, int dpi, UserContext user, QObject *parent = nullptr);
    ~Workspace() override;

    const QString &ExeDir() const { return m_exeDir; }
    int Dpi() const { return m_dpi; }
    int Scaled(int pixelsAt96) const { return pixelsAt96 * m_dpi / 96; }

    ConfigFile &Config() { return *m_config; }
    TargetLinks &Links() { return *m_links; }
    UserContext &Context() { return m_user; }
    // The logic windows of the register window slots, as the operations see them.
    RegisterWindowTable &WindowTable() { return m_windowTable; }
    // Runs the user's target actions off the windows' thread, one at a time.
    TargetActionRunner &Actions();
    // Cancels the action that runs and waits for it (the link's deadlines
    // bound the wait), before the windows go.
    void EndActions();

    // The chip model selected in the panel; empty before it has one.
    const QString &Chip() const { return m_chip; }
    void SelectChip(const QString &chip);
    // The panel has stored another choice of the link (data source, probe,
    // serial port, GDB server).
    void NoteLinkChoice() { emit LinkChoiceChanged(); }

    // The whole application is closing: windows going now keep their open-marks.
    bool Closing() const { return m_closing; }
    void SetClosing() { m_closing = true; }

signals:
    void ChipSelected(const QString &chip);
    void LinkChoiceChanged();

private:
    QString m_exeDir;
    int m_dpi;
    UserContext m_user;
    QString m_chip;
    bool m_closing = false;
    std::unique_ptr<ConfigFile> m_config;
    std::unique_ptr<TargetLinks> m_links;
    RegisterWindowTable m_windowTable;
    std::unique_ptr<TargetActionRunner> m_actions; // ends before the links and the windows' logic
};
