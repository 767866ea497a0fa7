#include "app/TargetActionRunner.h"

#include <QMetaObject>

#include <chrono>
#include <condition_variable>
#include <mutex>

// The user's side as the action's thread sees it.
class TargetActionRunner::Relay : public MessagePresenter,
                                  public FileChooser,
                                  public BusyIndicator,
                                  public PanelSelections,
                                  public DumpView
{
public:
    Relay(QObject *receiver, UserContext &windows, DumpView *dump, std::shared_ptr<std::atomic<bool>> closing)
        : m_receiver(receiver)
        , m_windows(windows)
        , m_dump(dump)
        , m_closing(std::move(closing))
        , m_chipModel(windows.panel.ChipModel())
        , m_dataSource(windows.panel.DataSourceEntry())
        , m_probe(windows.panel.ProbeText())
        , m_numberBase(windows.panel.NumberBaseEntry())
        , m_writeMode(windows.panel.RegisterWriteModeEntry())
    {}

    UserContext Context() { return UserContext{*this, *this, *this, *this}; }

    void ShowMessage(MessageKind kind, const QString &text, const QString &reason) override
    {
        UserContext &windows = m_windows;
        Ask<bool>([&windows, kind, text, reason] {
            windows.messages.ShowMessage(kind, text, reason);
            return true;
        });
    }
    QString ChooseFile(const FileRequest &request) override
    {
        UserContext &windows = m_windows;
        return Ask<QString>([&windows, request] { return windows.files.ChooseFile(request); });
    }
    // The busy mark is the runner's own; no wait cursor, the windows are usable.
    void SetBusy(bool) override {}
    QString ChipModel() const override { return m_chipModel; }
    int DataSourceEntry() const override { return m_dataSource; }
    QString ProbeText() const override { return m_probe; }
    int NumberBaseEntry() const override { return m_numberBase; }
    int RegisterWriteModeEntry() const override { return m_writeMode; }
    void SetDumpText(const QString &text) override
    {
        if (DumpView *dump = m_dump)
            QMetaObject::invokeMethod(
                m_receiver, [dump, text] { dump->SetDumpText(text); }, Qt::QueuedConnection);
    }

private:
    // Runs `ask` on the windows' thread and waits for its answer; a runner
    // closing meanwhile ends the wait with the empty answer.
    template<typename T> T Ask(std::function<T()> ask)
    {
        struct State
        {
            std::mutex mutex;
            std::condition_variable answered;
            bool done = false;
            bool abandoned = false;
            T answer{};
        };
        auto state = std::make_shared<State>();
        QMetaObject::invokeMethod(
            m_receiver,
            [state, ask] {
                {
                    std::lock_guard lock(state->mutex);
                    if (state->abandoned)
                        return;
                }
                T answer = ask();
                std::lock_guard lock(state->mutex);
                state->answer = std::move(answer);
                state->done = true;
                state->answered.notify_all();
            },
            Qt::QueuedConnection);
        std::unique_lock lock(state->mutex);
        while (!state->done) {
            if (m_closing->load()) {
                state->abandoned = true;
                return T{};
            }
            state->answered.wait_for(lock, std::chrono::milliseconds(50));
        }
        return state->answer;
    }

    QObject *m_receiver;
    UserContext &m_windows;
    DumpView *m_dump;
    std::shared_ptr<std::atomic<bool>> m_closing;
    const QString m_chipModel;
    const int m_dataSource;
    const QString m_probe;
    const int m_numberBase;
    const int m_writeMode;
};

TargetActionRunner::TargetActionRunner(ConfigFile &config, TargetLinks &links, UserContext &windows, QObject *parent)
    : QObject(parent)
    , m_config(config)
    , m_links(links)
    , m_windows(windows)
    , m_closing(std::make_shared<std::atomic<bool>>(false))
{}

TargetActionRunner::~TargetActionRunner()
{
    m_closing->store(true);
    if (m_stop)
        m_stop->store(true);
    if (m_thread.joinable())
        m_thread.join();
}

bool TargetActionRunner::Start(const QString &name, Action action, Done done, DumpView *dump)
{
    if (m_running)
        return false;
    m_running = true;
    m_name = name;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    auto relay = std::make_shared<Relay>(this, m_windows, dump, m_closing);
    emit Started(name);
    m_thread = std::thread([this, relay, action = std::move(action), done = std::move(done), stop = m_stop] {
        UserContext context = relay->Context();
        OperationEnv env{m_config, m_links, context,
                         // Handed over in order with the end: every step is told before it.
                         [this](qint64 bytes, qint64 total) {
                             QMetaObject::invokeMethod(
                                 this, [this, bytes, total] { emit Progress(bytes, total); }, Qt::QueuedConnection);
                         },
                         [stop] { return stop->load(); }};
        action(env, *relay);
        QMetaObject::invokeMethod(
            this, [this, done] { End(done); }, Qt::QueuedConnection);
    });
    return true;
}

void TargetActionRunner::Queue(const QString &name, Action action, Done done)
{
    m_queue.push_back({name, std::move(action), std::move(done)});
    StartQueued();
}

void TargetActionRunner::StartQueued()
{
    if (m_running || m_queue.empty())
        return;
    Queued next = std::move(m_queue.front());
    m_queue.pop_front();
    Start(next.name, std::move(next.action), std::move(next.done));
}

void TargetActionRunner::Cancel()
{
    if (m_running && m_stop)
        m_stop->store(true);
}

void TargetActionRunner::End(const Done &done)
{
    if (m_thread.joinable())
        m_thread.join();
    m_running = false;
    m_name.clear();
    if (done)
        done();
    emit Finished();
    StartQueued();
}
