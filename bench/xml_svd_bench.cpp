// Links: corvane_regmap corvane_xml pugixml
//
// Parse throughput of the XML reader on a large generated SVD file, next to
// pugixml parsing the same bytes in the same run, and the time of a full SVD
// walk over every peripheral of that file.
//
// The file comes from CORVANE_LARGE_SVD, or is generated once into a temporary
// folder with bench/make_large_svd.py.
#include "BenchSupport.h"
#include "regmap/SvdDeviceModel.h"
#include "xml/XmlDocument.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>

namespace {

QByteArray LoadLargeSvd()
{
    static const QByteArray bytes = [] {
        static QTemporaryDir dir;
        const QString path = dir.filePath("large.svd");
        QFile file(path);
        if (!PutLargeSvd(path) || !file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            std::exit(1);
        }
        return file.readAll();
    }();
    return bytes;
}

// Load from memory (any UTF-8 to UTF-16 decoding included) and parse.
void BM_XmlDocumentLoadAndParse(benchmark::State &state)
{
    const QByteArray bytes = LoadLargeSvd();
    for (auto _ : state) {
        XmlDocument document;
        document.LoadBytes(bytes);
        benchmark::DoNotOptimize(document.RecordCount());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * bytes.size());
    state.counters["file_MB"] = double(bytes.size()) / 1e6;
}

// The yardstick: pugixml parsing the same bytes with its default options.
void BM_PugixmlParse(benchmark::State &state)
{
    const QByteArray bytes = LoadLargeSvd();
    for (auto _ : state) {
        pugi::xml_document document;
        const pugi::xml_parse_result result = document.load_buffer(bytes.constData(), std::size_t(bytes.size()));
        if (!result)
            state.SkipWithError(result.description());
        benchmark::DoNotOptimize(document.first_child());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * bytes.size());
}

// Every peripheral read from one parse, as one operation sharing its document.
void WalkAll(XmlDocument &document, benchmark::State &state)
{
    const QStringList names = SvdDeviceModel::ReadPeripheralNames(document);
    std::int64_t registers = 0;
    for (const QString &name : names) {
        const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(document, name);
        if (result.outcome != SvdPeripheralResult::Outcome::Found)
            state.SkipWithError("peripheral not read");
        registers += result.peripheral.registers.size();
    }
    state.counters["peripherals"] = double(names.size());
    state.counters["registers"] = double(registers);
}

// The walk alone, over a document parsed once.
void BM_SvdWalkAllPeripherals(benchmark::State &state)
{
    XmlDocument document;
    document.LoadBytes(LoadLargeSvd());
    for (auto _ : state)
        WalkAll(document, state);
}

// Load, parse and walk every peripheral: the whole cost of reading the map.
void BM_SvdLoadParseAndWalk(benchmark::State &state)
{
    const QByteArray bytes = LoadLargeSvd();
    for (auto _ : state) {
        XmlDocument document;
        document.LoadBytes(bytes);
        WalkAll(document, state);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * bytes.size());
}

} // namespace

BENCHMARK(BM_XmlDocumentLoadAndParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SvdWalkAllPeripherals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SvdLoadParseAndWalk)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
