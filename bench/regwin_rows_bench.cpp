// Links: corvane_regmap
//
// Register window rows for the large generated SVD: every peripheral in one
// window as a rebuild with every window bit set makes them, then the number
// base update and the caption realignment over all of them. Prints the
// median and worst time of each step and the memory the rows take.
//
// The file comes from CORVANE_LARGE_SVD, or is generated once into a temporary
// folder with bench/make_large_svd.py.
#include "BenchSupport.h"
#include "BenchWindow.h"
#include "link/ConfigFile.h"
#include "link/Settings.h"
#include "link/TargetLinks.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowText.h"
#include "regmap/SvdDeviceModel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <malloc.h>
#include <vector>

namespace {

const char kChip[] = "BENCH";
constexpr int kDotsPerInch = 144;

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

} // namespace

int main()
{
    QTemporaryDir home;
    QDir(home.path()).mkpath("svd");
    const QString svdPath = SvdDeviceModel::SvdFilePath(home.path(), kChip);
    if (!PutLargeSvd(svdPath))
        return 1;

    BenchWindow bench(home.path(), kChip, 15, kDotsPerInch); // every peripheral in every window
    if (!bench.iniWritten)
        return 1;
    ConfigFile &config = bench.config;
    const QStringList &names = bench.names;
    RegisterWindow &window = *bench.window;

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
        window.RealignCaptions(RowText::RealignColumn(width, kDotsPerInch));
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
