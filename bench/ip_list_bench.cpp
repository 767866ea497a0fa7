// Building the IP list from an SVD file of many peripherals: the list is
// built on the user-interface thread at start and on every chip change.
//
//   ip_list_bench [--benchmark_filter=...]
//
// Links: corvane_ipcheck corvane_xml corvane_link

#include "ipcheck/IpListBuilder.h"
#include "support/SyntheticSvd.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Peripheral names in random order, the same in every run.
QStringList RandomNames(int count)
{
    QRandomGenerator random(21);
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << "P" + QString::number(random.generate() % 1000000000u);
    return names;
}

// An analyzer folder whose SVD lists `count` peripherals in random order.
class AnalyzerFolder
{
public:
    explicit AnalyzerFolder(int count)
    {
        QDir(m_dir.path()).mkpath("ana/vx21a");
        QFile database(m_dir.filePath("ana/vx21a/analyzer_db.py"));
        database.open(QIODevice::WriteOnly);
        database.write("from HPSYS_UART import check\nfrom GPIO1 import check\n");
        QFile file(m_dir.filePath("ana/vx21a/VX21a.svd"));
        file.open(QIODevice::WriteOnly);
        file.write(SvdOfNames(RandomNames(count)));
    }
    QString ExeDir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

void BM_BuildIpList(benchmark::State &state)
{
    const AnalyzerFolder folder(int(state.range(0)));
    for (auto _ : state) {
        const std::vector<IpListRow> rows = BuildIpList("VX21A", "ana", folder.ExeDir());
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetLabel(std::to_string(state.range(0)) + " peripherals");
}
BENCHMARK(BM_BuildIpList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The row-by-row sorted insert the list was once built with, for comparison:
// quadratic in the number of peripherals.
void BM_InsertRowByRow(benchmark::State &state)
{
    const QStringList names = RandomNames(int(state.range(0)));
    for (auto _ : state) {
        std::vector<IpListRow> rows;
        for (const QString &name : names)
            IpListBuilder::InsertSorted(rows, name);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetLabel(std::to_string(state.range(0)) + " peripherals");
}
BENCHMARK(BM_InsertRowByRow)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
