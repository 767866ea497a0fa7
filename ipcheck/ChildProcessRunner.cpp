#include "ipcheck/ChildProcessRunner.h"

#include "ipcheck/IpCheckMessages.h"
#include "ipcheck/IpCheckOutput.h"
#include "ipcheck/OutputLineSplitter.h"
#include "link/Tr.h"

#include <QByteArray>

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// How long the runner waits for output before it looks at the stop request.
constexpr int kPollMilliseconds = 20;

// Children whose output ended before they did; reaped when they have exited,
// so none stays a zombie.
std::mutex g_unreapedMutex;
std::vector<pid_t> g_unreaped;

void ReapFinished()
{
    std::lock_guard lock(g_unreapedMutex);
    std::erase_if(g_unreaped, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

void Reap(pid_t pid)
{
    if (waitpid(pid, nullptr, WNOHANG) != 0)
        return;
    std::lock_guard lock(g_unreapedMutex);
    g_unreaped.push_back(pid);
}

pid_t Spawn(const AnalyzerCommand &command, int writeEnd)
{
    std::vector<QByteArray> texts;
    texts.push_back(command.program.toLocal8Bit());
    for (const QString &argument : command.arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, writeEnd, STDERR_FILENO);
    pid_t pid = -1;
    const int result = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? pid : -1;
}

void Append(IpCheckOutput &output, const QString &row)
{
    if (!row.isEmpty())
        output.AppendOutputLines(QStringList{row});
}

} // namespace

void RunChildProcess(const AnalyzerCommand &command, IpCheckOutput &output, const std::atomic<bool> &stop)
{
    ReapFinished();
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        Append(output, Tr(IpCheckMessages::kPipeFailed).arg(command.text));
        return;
    }
    const int readEnd = pipeEnds[0];
    const int writeEnd = pipeEnds[1];
    const pid_t pid = Spawn(command, writeEnd);
    close(writeEnd);
    if (pid < 0) {
        close(readEnd);
        Append(output, Tr(IpCheckMessages::kSpawnFailed).arg(command.text));
        return;
    }

    OutputLineSplitter splitter;
    char buffer[OutputLineSplitter::kReceiveBufferSize];
    bool receiveFailed = false;
    while (!stop.load()) {
        pollfd waiting{readEnd, POLLIN, 0};
        const int ready = poll(&waiting, 1, kPollMilliseconds);
        if (ready == 0 || (ready < 0 && errno == EINTR))
            continue;
        const ssize_t count = ready < 0 ? -1 : read(readEnd, buffer, size_t(splitter.NextReadSize()));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            receiveFailed = true;
            break;
        }
        if (count == 0)
            break; // every writer has closed the pipe and it is drained
        const QStringList rows = splitter.Feed(buffer, int(count));
        if (!rows.isEmpty())
            output.AppendOutputLines(rows);
    }
    close(readEnd);
    Append(output, splitter.TakeCarry());
    if (receiveFailed)
        Append(output, Tr(IpCheckMessages::kReceiveFailed));
    Reap(pid);
}
