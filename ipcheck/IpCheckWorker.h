#pragma once

#include "ipcheck/IpRunRequest.h"
#include "ipcheck/RunEvent.h"

#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

class IpCheckOutput;

// The one thread that runs the analyzer. It sleeps on RunEvent; each wake-up
// is one cycle over the request last written. Requests made during a cycle
// do not queue: the worker runs once more, for the last of them. The window
// never waits for the worker. Destroying the worker ends the cycle after the
// child that runs (without waiting for that child to end) and joins the
// thread.
class IpCheckWorker
{
public:
    IpCheckWorker(QString exeDir, IpCheckOutput &output);
    ~IpCheckWorker();
    IpCheckWorker(const IpCheckWorker &) = delete;
    IpCheckWorker &operator=(const IpCheckWorker &) = delete;

    // Starts the thread; once only.
    void Start();
    // Called on the user-interface thread: writes RunRequest with the rows
    // and selections it works from, and sets RunEvent.
    void Request(IpRunRequest request);

private:
    void Run();

    const QString m_exeDir;
    IpCheckOutput &m_output;
    RunEvent m_runEvent;
    std::mutex m_requestMutex;
    IpRunRequest m_request;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
