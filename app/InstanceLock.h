#pragma once

#include <QString>

// One running copy per installation folder: an exclusive lock on a file
// named from the folder, held until the process ends (the system drops it
// when the process dies, so a crash never leaves a stale lock behind).
class InstanceLock
{
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // The name of the lock: the folder with "\" turned into "/", followed
    // directly by the application's name.
    static QString LockName(const QString &exeDir, const QString &appName);
    // Where the lock file for a name lives (the temporary folder).
    static QString LockFilePath(const QString &lockName);

    // False when another holder has the name already.
    bool TryAcquire(const QString &lockName);
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
