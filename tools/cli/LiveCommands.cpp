// Commands that follow a chip's registers over time and compare snapshots:
// watch and diff.
#include "link/MessageText.h"
#include "regmap/RegisterWatch.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/RowComparison.h"
#include "regmap/RowText.h"
#include "regmap/PeripheralImage.h"
#include "regmap/SnapshotFiles.h"
#include "tools/cli/CliRegisters.h"
#include "tools/cli/CliSignals.h"
#include "link/Tr.h"

#include <QtGlobal>
#include <QTime>

#include <algorithm>
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
    CliRegisters window(context, rowOptions);
    if (!window.Build(options.names))
        return CliFailure;

    RegisterWatch::Settings settings;
    settings.chipModel = window.User().ChipModel();
    settings.interval = std::chrono::milliseconds(options.intervalMs);
    settings.refreshLimit = options.count;
    settings.peripherals = RegisterWatch::PeripheralsOf(window.Map().Tree());

    const RegisterRowTree &tree = window.Map().Tree();
    std::map<QString, QByteArray> previous;
    auto onRefresh = [&](const std::vector<PeripheralBytes> &images) {
        const QString time = QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz"));
        for (const PeripheralBytes &image : images) {
            const auto before = previous.find(image.name);
            if (before != previous.end()) {
                for (const auto &reg : tree.FindTopRow(image.name)->Children()) {
                    const uint64_t old = PeripheralImage::RegisterWords(*reg, before->second);
                    const uint64_t now = PeripheralImage::RegisterWords(*reg, image.bytes);
                    const uint32_t bits = std::max<uint32_t>(32, reg->Traits().bits);
                    if (old != now)
                        CliPrintLine(QStringLiteral("%1 %2.%3 %4 %5")
                                         .arg(time, image.name, reg->BareName(), RowText::SizedWord(old, bits),
                                              RowText::SizedWord(now, bits)));
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
// configured number base. As diff(1): status 0 when the registers agree, 1
// when some differ, 2 when the files cannot be compared (notes alone, such
// as a short file, change nothing).
int Diff(const CliContext &context)
{
    if (context.args.size() != 3)
        return CliUsageError;
    const QString &name = context.args[0];
    RowOptions options;
    options.names = {name};
    CliRegisters window(context, options);
    if (!window.Build(options.names))
        return CliTrouble;
    QByteArray images[2];
    for (int i = 0; i < 2; ++i) {
        const std::optional<QByteArray> bytes = SnapshotFiles::ReadAll(context.args[1 + i]);
        if (!bytes) {
            window.User().ShowFailure(
                MessageText::Format(RegisterWindowMessages::kSnapshotOpen, context.args[1 + i].toUtf8().constData()));
            return CliTrouble;
        }
        images[i] = *bytes;
    }
    // Each file is taken over the span only, and only registers wholly inside
    // both files are compared: what a file does not hold is said, not invented.
    const RegisterRow &peripheral = *window.Map().Tree().FindTopRow(name);
    const uint32_t span = peripheral.Traits().span;
    for (int i = 0; i < 2; ++i) {
        const QString &file = context.args[1 + i];
        const auto length = uint32_t(std::min<qsizetype>(images[i].size(), 0xFFFFFFFF));
        if (length < span)
            window.User().ShowNote(
                Tr(CliMessages::kShortFile).arg(name, file, QString::number(length, 16), QString::number(span, 16)));
        else if (length > span)
            window.User().ShowNote(
                MessageText::Format(RegisterWindowMessages::kFileLong, name.toUtf8().constData(), span, length));
    }
    const qsizetype common = std::min({images[0].size(), images[1].size(), qsizetype(span)});
    window.Map().FillPeripheral(name, images[0].left(common));
    const RowComparison comparison = RowComparison::AgainstImage(peripheral, images[1].left(common));
    for (const RowComparison::Difference &difference : comparison.Differences()) {
        const RegisterRow &row = *difference.row;
        if (row.RowKind() == RegisterRow::Kind::Register)
            CliPrintLine(QStringLiteral("%1 %2 %3")
                             .arg(row.BareName(),
                                  RowText::SizedWord(difference.current, std::max<uint32_t>(32, row.Traits().bits)),
                                  difference.otherText));
        else if (row.RowKind() == RegisterRow::Kind::Field)
            CliPrintLine(QStringLiteral("%1.%2 %3 %4")
                             .arg(row.Parent()->BareName(), row.Name(), row.Value(), difference.otherText));
    }
    if (window.User().Failed())
        return CliTrouble;
    return comparison.Differences().empty() ? CliSuccess : CliFailure;
}

const CliCommandRegistration kRegistration{
    {"watch", "[--interval MS] [--count N] NAME...",
     QT_TRANSLATE_NOOP("Corvane", "read these peripherals every interval and print each register that changed"), Watch},
    {"diff", "NAME FILE_A FILE_B",
     QT_TRANSLATE_NOOP("Corvane", "print the registers and fields of NAME that differ between two snapshot files"),
     Diff},
};

} // namespace
