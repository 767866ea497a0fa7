#pragma once

#include <QByteArray>
#include <QString>

// An advisory lock that serialises the writers of one file (flock). The lock
// is taken on the file itself, so no lock file is left behind; a missing file
// is made empty to be locked, and removed again if it is still empty at the
// end. A writer that replaces the file by a rename
// leaves its waiters holding the old inode, so a lock is only taken as held
// once it is on the file the path names now. Readers never take it.
// Released when the object goes.
class WriterLock
{
public:
    explicit WriterLock(const QString &path, int waitMs = 10000);
    ~WriterLock();
    WriterLock(const WriterLock &) = delete;
    WriterLock &operator=(const WriterLock &) = delete;

    // False when another writer kept it for the whole wait.
    bool IsHeld() const { return m_held; }

private:
    QByteArray m_file;
    int m_fd = -1;
    bool m_made = false;
    bool m_held = false;
};
