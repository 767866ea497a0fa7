#pragma once

#include <QString>
#include <QStringList>

// What a run of the analyzer tells the IP check window. The worker thread
// calls these; an implementation that touches widgets hands each call to the
// user-interface thread, keeping the calls in order.
class IpCheckOutput
{
public:
    virtual ~IpCheckOutput() = default;

    // The progress label (control 1043).
    virtual void SetProgressText(const QString &text) = 0;
    // Clears the selected and focused marks of an IP list row; the name is
    // the row's text when the run was requested.
    virtual void ReleaseRow(int row, const QString &name, bool scrollIntoView) = 0;
    // New last rows of the output list, in order, each scrolled into view.
    // A row text is never empty.
    virtual void AppendOutputLines(const QStringList &rows) = 0;
    // The worker has finished a cycle and waits again.
    virtual void CycleEnded() {}
};
