#include "ipcheck/IpCheckWorker.h"

#include "ipcheck/IpCheckCycle.h"
#include "ipcheck/IpCheckOutput.h"

IpCheckWorker::IpCheckWorker(QString exeDir, IpCheckOutput &output)
    : m_exeDir(std::move(exeDir))
    , m_output(output)
{}

IpCheckWorker::~IpCheckWorker()
{
    m_stop = true;
    m_runEvent.Close();
    if (m_thread.joinable())
        m_thread.join();
}

void IpCheckWorker::Start()
{
    if (!m_thread.joinable())
        m_thread = std::thread([this] { Run(); });
}

void IpCheckWorker::Request(IpRunRequest request)
{
    {
        std::lock_guard lock(m_requestMutex);
        m_request = std::move(request);
    }
    m_runEvent.Set();
}

void IpCheckWorker::Run()
{
    while (m_runEvent.Wait()) {
        IpRunRequest request;
        {
            std::lock_guard lock(m_requestMutex);
            request = m_request;
        }
        RunIpCheckCycle(request, m_exeDir, m_output, m_stop);
        m_output.CycleEnded();
    }
}
