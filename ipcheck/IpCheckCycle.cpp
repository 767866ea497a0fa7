#include "ipcheck/IpCheckCycle.h"

#include "ipcheck/AnalyzerCommand.h"
#include "ipcheck/AnalyzerInputs.h"
#include "ipcheck/ChildProcessRunner.h"
#include "ipcheck/IpCheckOutput.h"

#include <QDir>

#include <algorithm>

namespace {

QString Progress(int done, int total, const QString &name)
{
    return QStringLiteral("%1/%2  %3").arg(done).arg(total).arg(name);
}

} // namespace

void RunIpCheckCycle(const IpRunRequest &request, const QString &exeDir, IpCheckOutput &output,
                     const std::atomic<bool> &stop)
{
    using IpCheckCycle::kSelectionLength;
    // The analyzer names its script relative to the current directory. When
    // the folder does not exist the directory stays, and the interpreter says
    // so in its own output.
    QDir::setCurrent(AnalyzerInputs::AnalyzerFolder(request.pathField, exeDir));
    const QString chip = request.chipModel.left(kSelectionLength);
    const QString port = request.uartPort.left(kSelectionLength);
    const QString speed = request.uartSpeed.left(kSelectionLength);
    const std::vector<IpRunRow> &rows = request.rows;

    const auto runRow = [&](const QString &name) {
        output.AppendOutputLines(QStringList{QStringLiteral("  ")});
        RunChildProcess(MakeAnalyzerCommand(exeDir, chip, name, port, speed), output, stop);
    };

    if (request.runRequest == -1) {
        const int total = int(std::count_if(rows.begin(), rows.end(), [](const IpRunRow &row) { return row.checked; }));
        int done = 0;
        for (int i = 0; i < int(rows.size()) && !stop.load(); ++i) {
            if (!rows[size_t(i)].checked)
                continue;
            const QString &name = rows[size_t(i)].name;
            output.SetProgressText(Progress(done, total, name));
            output.ReleaseRow(i, name, true);
            runRow(name);
            ++done;
            output.SetProgressText(Progress(done, total, name));
        }
    } else if (request.runRequest >= 0 && size_t(request.runRequest) < rows.size() &&
               rows[size_t(request.runRequest)].enabled) {
        const QString &name = rows[size_t(request.runRequest)].name;
        output.SetProgressText(Progress(0, 1, name));
        output.ReleaseRow(request.runRequest, name, false);
        runRow(name);
        output.SetProgressText(Progress(1, 1, name));
    }
    QDir::setCurrent(exeDir);
}
