// Commands that follow a chip's registers over time and compare snapshots:
// watch and diff.
#include "link/MessageText.h"
#include "regmap/RegisterWatch.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/RowComparison.h"
#include "regmap/RowText.h"
#include "regmap/RowValues.h"
#include "regmap/SnapshotFiles.h"
#include "tools/cli/CliSignals.h"
#include "tools/cli/CliWindow.h"

#include <QTime>

#include <csignal>
#include <cstdio>
#include <map>

namespace {

struct WatchOptions
{
    int intervalMs = 1000;
    int count = 0;
    QStringList names;
};

bool ParseWatchOptions(const QStringList &args, WatchOptions &options)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--interval" || arg == u"--count") {
            bool ok = false;
            const int value = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || value <= 0)
                return false;
            (arg == u"--interval" ? options.intervalMs : options.count) = value;
        } else if (arg.startsWith(u'-')) {
            return false;
        } else {
            options.names << arg;
        }
    }
    return !options.names.isEmpty();
}

// Until the watch ends by itself, a stop request (Ctrl+C, a termination
// request, a closed terminal, Ctrl+\) ends it between two refreshes, so the
// chip is always let out of debug mode.
void WaitForWatch(RegisterWatch &watch, const sigset_t &stopSignals)
{
    const timespec pause{0, 100 * 1000 * 1000};
    while (watch.IsRunning()) {
        if (sigtimedwait(&stopSignals, nullptr, &pause) > 0 || CliSignals::StopRequested())
            watch.RequestStop();
    }
    watch.Wait();
}

// One line per register whose value changed since the previous refresh:
// "time PERIPHERAL.REGISTER old new".
int Watch(const CliContext &context)
{
    WatchOptions options;
    if (!ParseWatchOptions(context.args, options))
        return CliUsageError;
    RowOptions rowOptions;
    rowOptions.names = options.names;
    CliWindow window(context, rowOptions);
    if (!window.Build(options.names))
        return CliFailure;

    RegisterWatch::Settings settings;
    settings.chipModel = window.User().ChipModel();
    settings.interval = std::chrono::milliseconds(options.intervalMs);
    settings.refreshLimit = options.count;
    settings.peripherals = RegisterWatch::PeripheralsOf(window.Window().Tree());

    const RegisterRowTree &tree = window.Window().Tree();
    std::map<QString, QByteArray> previous;
    auto onRefresh = [&](const std::vector<PeripheralImage> &images) {
        const QString time = QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz"));
        for (const PeripheralImage &image : images) {
            const auto before = previous.find(image.name);
            if (before != previous.end()) {
                for (const auto &reg : tree.FindTopRow(image.name)->Children()) {
                    const uint32_t offset = RowValues::WordOffset(*reg);
                    const uint32_t old = RowValues::ImageWord(before->second, offset);
                    const uint32_t now = RowValues::ImageWord(image.bytes, offset);
                    if (old != now)
                        CliPrintLine(QStringLiteral("%1 %2.%3 %4 %5")
                                         .arg(time, image.name, RowValues::RegisterName(*reg), RowText::Word(old),
                                              RowText::Word(now)));
                }
            }
            previous[image.name] = image.bytes;
        }
        std::fflush(stdout);
    };
    QString failure;
    auto onStop = [&](const QString &message) { failure = message; };

    const sigset_t stopSignals = CliSignals::StopSet();
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr); // the watch's thread inherits it
    RegisterWatch watch(window.Target().config, window.Target().links);
    watch.Start(std::move(settings), onRefresh, onStop);
    WaitForWatch(watch, stopSignals);
    if (!failure.isEmpty())
        window.User().ShowFailure(failure, watch.LastStopReason());
    return window.User().ExitStatus();
}

// The registers and fields of peripheral NAME that differ between two
// snapshot files: "REGISTER a b" and "REGISTER.FIELD a b", fields in the
// configured number base.
int Diff(const CliContext &context)
{
    if (context.args.size() != 3)
        return CliUsageError;
    const QString &name = context.args[0];
    RowOptions options;
    options.names = {name};
    CliWindow window(context, options);
    if (!window.Build(options.names))
        return CliFailure;
    QByteArray images[2];
    for (int i = 0; i < 2; ++i) {
        const std::optional<QByteArray> bytes = SnapshotFiles::ReadAll(context.args[1 + i]);
        if (!bytes) {
            window.User().ShowFailure(
                MessageText::Format(RegisterWindowMessages::kSnapshotOpen, context.args[1 + i].toUtf8().constData()));
            return CliFailure;
        }
        images[i] = *bytes;
    }
    window.Window().FillPeripheral(name, images[0]);
    const RegisterRow &peripheral = *window.Window().Tree().FindTopRow(name);
    const RowComparison comparison = RowComparison::AgainstImage(peripheral, images[1]);
    for (const RowComparison::Difference &difference : comparison.Differences()) {
        const RegisterRow &row = *difference.row;
        if (row.RowKind() == RegisterRow::Kind::Register)
            CliPrintLine(
                QStringLiteral("%1 %2 %3")
                    .arg(RowValues::RegisterName(row), RowText::Word(difference.current), difference.otherText));
        else if (row.RowKind() == RegisterRow::Kind::Field)
            CliPrintLine(
                QStringLiteral("%1.%2 %3 %4")
                    .arg(RowValues::RegisterName(*row.Parent()), row.Name(), row.Value(), difference.otherText));
    }
    return window.User().ExitStatus();
}

const CliCommandRegistration kRegistration{
    {"watch", "[--interval MS] [--count N] NAME...",
     "read these peripherals every interval and print each register that changed", Watch},
    {"diff", "NAME FILE_A FILE_B", "print the registers and fields of NAME that differ between two snapshot files",
     Diff},
};

} // namespace
