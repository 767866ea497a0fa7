// Links: corvane_regmap
//
// Register window rows for the large generated SVD: every peripheral in one
// window as a rebuild with every window bit set makes them, then the number
// base update and the caption realignment over all of them. Prints the
// median and worst time of each step and the memory the rows take.
//
// The file comes from CORVANE_LARGE_SVD, or is generated once into a temporary
// folder with bench/make_large_svd.py.
#include "link/ConfigFile.h"
#include "link/Settings.h"
#include "link/TargetLinks.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowText.h"
#include "regmap/SvdDeviceModel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <malloc.h>
#include <string>
#include <vector>

namespace {

const char kChip[] = "BENCH";

struct QuietUser : MessagePresenter, FileChooser, BusyIndicator, PanelSelections
{
    void ShowMessage(MessageKind, const QString &text, const QString &) override
    {
        std::fprintf(stderr, "message: %s", qPrintable(text));
    }
    QString ChooseFile(const FileRequest &) override { return {}; }
    void SetBusy(bool) override {}
    QString ChipModel() const override { return kChip; }
    int DataSourceEntry() const override { return 0; }
    QString ProbeText() const override { return {}; }
};

long StatusKb(const char *key)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLong();
    return -1;
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

std::size_t CountRows(const RegisterRowTree &tree)
{
    std::function<std::size_t(const RegisterRow &)> count = [&](const RegisterRow &row) {
        std::size_t n = 1;
        for (const auto &child : row.Children())
            n += count(*child);
        return n;
    };
    std::size_t n = 0;
    for (const auto &top : tree.TopRows())
        n += count(*top);
    return n;
}

struct Timing
{
    double median = 0;
    double worst = 0;
};

Timing Measure(int runs, const std::function<void()> &step)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

} // namespace

int main()
{
    QTemporaryDir home;
    QDir(home.path()).mkpath("svd");
    const QString svdPath = SvdDeviceModel::SvdFilePath(home.path(), kChip);
    QString source = QString::fromLocal8Bit(qgetenv("CORVANE_LARGE_SVD"));
    if (source.isEmpty()) {
        const std::filesystem::path script = std::filesystem::path(__FILE__).parent_path() / "make_large_svd.py";
        const std::string command = "python3 '" + script.string() + "' '" + svdPath.toStdString() + "'";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "could not generate %s\n", qPrintable(svdPath));
            return 1;
        }
    } else if (!QFile::copy(source, svdPath)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(source));
        return 1;
    }

    ConfigFile config(home.filePath("Corvane.ini"));
    const QStringList names = SvdDeviceModel::ReadPeripheralNames(svdPath);
    // Every peripheral in every window: the whole section written at once.
    {
        QFile ini(config.Path());
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        QByteArray text = "[COMMON]\nEXPAND_TYPE=2\nHEX_DEC=1\n[BENCH]\n";
        for (const QString &name : names)
            text += name.toUtf8() + "=15\n";
        ini.write(text);
    }

    QuietUser quiet;
    UserContext user{quiet, quiet, quiet, quiet};
    TargetLinks links([] { return QString(kChip); });
    RegisterWindowTable table;
    table.SetNextWindowSlot(0);
    RegisterWindowEnv env{config, links, user, home.path(), 144};
    RegisterWindow window(env, table);

    const long rssBefore = StatusKb("VmRSS:");
    const std::size_t heapBefore = HeapInUse();
    window.RebuildGrid();
    const std::size_t heapAfter = HeapInUse();
    const long peakAfter = StatusKb("VmHWM:");
    const std::size_t rows = CountRows(window.Tree());

    const int runs = 15;
    const Timing rebuild = Measure(runs, [&] { window.RebuildGrid(); });
    int base = 0;
    const Timing numberBase = Measure(runs, [&] {
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kHexDec, base);
        base ^= 1;
        window.ApplyNumberBase();
    });
    int width = 160;
    const Timing realign = Measure(runs, [&] {
        width = width == 400 ? 160 : 400;
        window.RealignCaptions(RowText::RealignColumn(width, env.dotsPerInch));
    });

    // The same rows added one peripheral at a time, each with its own parse,
    // as the peripheral list's gestures add them.
    const Timing oneByOne = Measure(3, [&] {
        window.Tree().Clear();
        for (const QString &name : names)
            window.AddPeripheralRows(name);
    });

    std::printf("SVD: %s, %lld bytes, %lld peripherals\n", qPrintable(QFileInfo(svdPath).fileName()),
                QFileInfo(svdPath).size(), qlonglong(names.size()));
    std::printf("rows in the window: %zu\n", rows);
    std::printf("RebuildGrid:      median %8.2f ms, worst %8.2f ms (%d runs, goal < 300 ms)\n", rebuild.median,
                rebuild.worst, runs);
    std::printf("AddPeripheralRows one by one: median %8.2f ms (a parse per peripheral)\n", oneByOne.median);
    std::printf("ApplyNumberBase:  median %8.2f ms, worst %8.2f ms\n", numberBase.median, numberBase.worst);
    std::printf("RealignCaptions:  median %8.2f ms, worst %8.2f ms\n", realign.median, realign.worst);
    std::printf("heap held by the rows: %zu bytes, %.0f bytes per row\n", heapAfter - heapBefore,
                double(heapAfter - heapBefore) / double(rows));
    std::printf("peak resident growth of the first rebuild: %ld KiB, %.0f bytes per row\n", peakAfter - rssBefore,
                (peakAfter - rssBefore) * 1024.0 / double(rows));
    return 0;
}
