#pragma once

#include "ops/Operation.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <thread>

// Runs the user's target actions (the panel's buttons, a register window's
// read or write) on a thread of their own, one at a time, so the windows
// keep drawing and taking keys while a link waits for its deadlines.
//
// The action sees the user through a relay: its messages and file
// questions are shown on the windows' thread, in order, while the action
// waits for them (never the other way round); the panel's selectors are
// those of the moment the action was asked for; the dump and the progress
// are handed to the windows' thread as they come. Cancel() asks the long
// transfers to stop before their next chunk; the link's cycle then closes
// as after any failure.
class TargetActionRunner : public QObject
{
    Q_OBJECT

public:
    // What an action runs on its thread.
    using Action = TargetAction;
    // What runs on the windows' thread once the action has ended.
    using Done = std::function<void()>;

    TargetActionRunner(ConfigFile &config, TargetLinks &links, UserContext &windows, QObject *parent = nullptr);
    // Cancels what runs and waits for it: the link's deadlines bound the
    // wait; a question still open to the user is answered "cancelled".
    ~TargetActionRunner() override;

    // False (and nothing starts) while another action runs. `name` is what
    // the busy mark shows; `dump`, when given, receives the dump texts on the
    // windows' thread.
    bool Start(const QString &name, Action action, Done done = {}, DumpView *dump = nullptr);
    // Starts the action now, or once the one running and those queued
    // before it have ended (an edit's write committed while another action
    // runs is written then, never dropped).
    void Queue(const QString &name, Action action, Done done = {});
    std::size_t QueuedCount() const { return m_queue.size(); }
    bool IsRunning() const { return m_running; }
    const QString &RunningName() const { return m_name; }
    void Cancel();

signals:
    void Started(const QString &name);
    void Progress(qint64 done, qint64 total);
    void Finished();

private:
    class Relay;

    void End(const Done &done);
    void StartQueued();

    struct Queued
    {
        QString name;
        Action action;
        Done done;
    };

    ConfigFile &m_config;
    TargetLinks &m_links;
    UserContext &m_windows;
    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_stop;    // of the action that runs
    std::shared_ptr<std::atomic<bool>> m_closing; // the runner goes away
    bool m_running = false;
    QString m_name;
    std::deque<Queued> m_queue;
};
