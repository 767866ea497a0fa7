#pragma once

#include <QString>

// One running copy per installation folder: an exclusive lock on the folder
// itself, held until the process ends. Nothing is created for it, so no
// file is left behind, and the system drops it when the process dies, so a
// crash never leaves a stale lock either.
class InstanceLock
{
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // False when another holder has the folder already, or it cannot be opened.
    bool TryAcquire(const QString &folder);
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
