// Links: corvane_regmap corvane_xml pugixml
//
// The SVD model on the sample vendor files, printing median and worst thread
// CPU times:
// - svd-names (load, parse, list the peripheral names) next to a pugixml walk
//   doing the same job, side by side in one run, on AT91SAM9G35 (4.2 MB) and
//   on a 40 MB file made of its peripherals repeated (goal: within 1.5x);
// - svd-names and svd-peripheral (load, parse, expand the file's largest
//   peripheral) on each of the five largest sample files, next to a bare
//   pugixml load and walk doing the same job, alternating, 11 rounds: the
//   median of the five ratios (goal: at most 1.0x);
// - every peripheral of STM32L552 read and expanded from one parse (goal:
//   under 100 ms);
// - a window holding every peripheral of nrf5340_application rebuilt (goal:
//   under 300 ms).
//
// The samples come from CORVANE_SVD_SAMPLES, else ../shared/svd-samples
// beside the checkout (SvdSamplesDir).
#include "BenchSupport.h"
#include "BenchWindow.h"
#include "link/ConfigFile.h"
#include "support/BuildPaths.h"
#include "link/TargetLinks.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/SvdDeviceModel.h"
#include "xml/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <vector>

namespace {

const char kChip[] = "BENCH";

// The pugixml yardstick: load the file, then every peripheral's name.
qsizetype PugixmlNames(const QString &path)
{
    pugi::xml_document document;
    if (!document.load_file(QFile::encodeName(path).constData()))
        return -1;
    qsizetype count = 0;
    for (pugi::xml_node p : document.document_element().child("peripherals").children("peripheral")) {
        const char *name = p.child_value("name");
        count += name != nullptr ? 1 : 0;
    }
    return count;
}

// What svd-names does: load the file, parse it and list the names.
qsizetype SvdNames(const QString &path)
{
    return SvdDeviceModel::ReadPeripheralNames(path).size();
}

void CompareNames(const QString &label, const QString &path, int runs)
{
    qsizetype ours = 0;
    qsizetype theirs = 0;
    std::vector<double> oursMs;
    std::vector<double> theirsMs;
    // Alternating, so both see the same machine load.
    for (int i = 0; i < runs; ++i) {
        double start = NowMs(Clock::ThreadCpu);
        ours = SvdNames(path);
        oursMs.push_back(NowMs(Clock::ThreadCpu) - start);
        start = NowMs(Clock::ThreadCpu);
        theirs = PugixmlNames(path);
        theirsMs.push_back(NowMs(Clock::ThreadCpu) - start);
    }
    std::sort(oursMs.begin(), oursMs.end());
    std::sort(theirsMs.begin(), theirsMs.end());
    const double a = oursMs[oursMs.size() / 2];
    const double b = theirsMs[theirsMs.size() / 2];
    std::printf(
        "%-28s svd-names %8.2f ms (%lld names) | pugixml walk %8.2f ms (%lld names) | ratio %.2f (goal <= 1.5)\n",
        qPrintable(label), a, qlonglong(ours), b, qlonglong(theirs), a / b);
}

// The bare walk of one peripheral's registers, clusters, fields and
// enumerated values, touching every text svd-peripheral prints.
std::size_t TouchText(const char *text)
{
    return std::strlen(text);
}

std::size_t PugixmlFields(pugi::xml_node reg)
{
    std::size_t touched = 0;
    for (pugi::xml_node field : reg.child("fields").children("field")) {
        touched += TouchText(field.child_value("name")) + TouchText(field.child_value("description")) +
                   TouchText(field.child_value("bitOffset")) + TouchText(field.child_value("bitWidth")) +
                   TouchText(field.child_value("bitRange")) + TouchText(field.child_value("lsb")) +
                   TouchText(field.child_value("access"));
        for (pugi::xml_node values : field.children("enumeratedValues"))
            for (pugi::xml_node value : values.children("enumeratedValue"))
                touched += TouchText(value.child_value("name")) + TouchText(value.child_value("value"));
    }
    return touched;
}

std::size_t PugixmlRegisters(pugi::xml_node owner)
{
    std::size_t touched = 0;
    for (pugi::xml_node child : owner.children()) {
        if (std::strcmp(child.name(), "cluster") == 0) {
            touched += PugixmlRegisters(child);
            continue;
        }
        if (std::strcmp(child.name(), "register") != 0)
            continue;
        touched += TouchText(child.child_value("name")) + TouchText(child.child_value("description")) +
                   TouchText(child.child_value("addressOffset")) + TouchText(child.child_value("size")) +
                   TouchText(child.child_value("access")) + TouchText(child.child_value("resetValue")) +
                   TouchText(child.child_value("dim"));
        touched += PugixmlFields(child);
        // A register without fields of its own takes its base's.
        if (!child.child("fields"))
            if (const char *base = child.attribute("derivedFrom").value(); *base != 0)
                touched += PugixmlFields(owner.find_child_by_attribute("register", "name", base));
    }
    return touched;
}

// The pugixml yardstick of svd-peripheral: load, find the peripheral (or
// the one it derives from) and walk it.
std::size_t PugixmlPeripheral(const QString &path, const char *name)
{
    pugi::xml_document document;
    if (!document.load_file(QFile::encodeName(path).constData()))
        return 0;
    const pugi::xml_node peripherals = document.document_element().child("peripherals");
    for (pugi::xml_node p : peripherals.children("peripheral")) {
        if (std::strcmp(p.child_value("name"), name) != 0)
            continue;
        std::size_t touched = TouchText(p.child_value("baseAddress"));
        pugi::xml_node walked = p;
        if (const char *base = p.attribute("derivedFrom").value(); *base != 0 && !p.child("registers"))
            walked = peripherals.find_child_by_attribute("peripheral", "name", base);
        for (pugi::xml_node registers : walked.children("registers"))
            touched += PugixmlRegisters(registers);
        return touched;
    }
    return 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// svd-names and svd-peripheral against the bare walk on the five largest files.
void CompareLargestFiles(const QDir &samples, int rounds)
{
    QFileInfoList files = samples.entryInfoList({QStringLiteral("*.svd")}, QDir::Files, QDir::Size);
    files = files.mid(0, 5);
    std::vector<double> nameRatios;
    std::vector<double> peripheralRatios;
    for (const QFileInfo &info : files) {
        const QString path = info.absoluteFilePath();
        // The peripheral of the most registers, as svd-peripheral is asked for it.
        QString largest;
        qsizetype most = -1;
        {
            XmlDocument document;
            document.LoadFile(path);
            for (const QString &name : SvdDeviceModel::ReadPeripheralNames(document)) {
                const qsizetype count = SvdDeviceModel::ReadPeripheral(document, name).peripheral.registers.size();
                if (count > most) {
                    most = count;
                    largest = name;
                }
            }
        }
        const QByteArray largestName = largest.toUtf8();
        std::vector<double> names[2];
        std::vector<double> peripheral[2];
        for (int round = 0; round < rounds; ++round) {
            double start = NowMs(Clock::ThreadCpu);
            SvdNames(path);
            names[0].push_back(NowMs(Clock::ThreadCpu) - start);
            start = NowMs(Clock::ThreadCpu);
            PugixmlNames(path);
            names[1].push_back(NowMs(Clock::ThreadCpu) - start);
            start = NowMs(Clock::ThreadCpu);
            SvdDeviceModel::ReadPeripheral(path, largest);
            peripheral[0].push_back(NowMs(Clock::ThreadCpu) - start);
            start = NowMs(Clock::ThreadCpu);
            PugixmlPeripheral(path, largestName.constData());
            peripheral[1].push_back(NowMs(Clock::ThreadCpu) - start);
        }
        const double n0 = Median(names[0]), n1 = Median(names[1]);
        const double p0 = Median(peripheral[0]), p1 = Median(peripheral[1]);
        nameRatios.push_back(n0 / n1);
        peripheralRatios.push_back(p0 / p1);
        std::printf("%-26s svd-names %7.2f ms | pugixml %7.2f ms | ratio %.2f; svd-peripheral %s (%lld registers) "
                    "%7.2f ms | pugixml %7.2f ms | ratio %.2f\n",
                    qPrintable(info.fileName()), n0, n1, n0 / n1, largestName.constData(), qlonglong(most), p0, p1,
                    p0 / p1);
    }
    std::printf("five largest files, median ratio (goal <= 1.0): svd-names %.2f, svd-peripheral %.2f\n",
                Median(nameRatios), Median(peripheralRatios));
}

} // namespace

int main()
{
    const QDir samples(SvdSamplesDir());
    if (!samples.exists()) {
        std::fprintf(stderr, "no sample SVD folder at %s\n", qPrintable(samples.path()));
        return 1;
    }
    QTemporaryDir temp;

    // 0. The five largest files.
    CompareLargestFiles(samples, 11);

    // 1. svd-names against pugixml.
    const QString at91 = samples.filePath("AT91SAM9G35.svd");
    CompareNames("AT91SAM9G35 (4.2 MB)", at91, 15);
    {
        QFile in(at91);
        if (!in.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray text = in.readAll();
        const qsizetype open = text.indexOf("<peripherals>") + qsizetype(qstrlen("<peripherals>"));
        const qsizetype close = text.lastIndexOf("</peripherals>");
        const QByteArray body = text.mid(open, close - open);
        QByteArray big = text.left(open);
        while (big.size() < 40 * 1000 * 1000)
            big += body;
        big += text.mid(close);
        QFile out(temp.filePath("large.svd"));
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        out.write(big);
        out.close();
        CompareNames(QStringLiteral("AT91 repeated (%1 MB)").arg(double(big.size()) / 1e6, 0, 'f', 1), out.fileName(),
                     7);
    }

    // 2. Every peripheral of STM32L552 expanded.
    {
        XmlDocument document;
        document.LoadFile(samples.filePath("STM32L552.svd"));
        const QStringList names = SvdDeviceModel::ReadPeripheralNames(document);
        qsizetype registers = 0;
        const Timing expand = Measure(
            15,
            [&] {
                registers = 0;
                for (const QString &name : names)
                    registers += SvdDeviceModel::ReadPeripheral(document, name).peripheral.registers.size();
            },
            Clock::ThreadCpu);
        const Timing whole = Measure(
            7,
            [&] {
                XmlDocument fresh;
                fresh.LoadFile(samples.filePath("STM32L552.svd"));
                for (const QString &name : SvdDeviceModel::ReadPeripheralNames(fresh))
                    SvdDeviceModel::ReadPeripheral(fresh, name);
            },
            Clock::ThreadCpu);
        std::printf("STM32L552 expansion of %lld peripherals (%lld registers): median %8.2f ms, worst %8.2f ms "
                    "(goal < 100 ms); with load and parse: median %8.2f ms\n",
                    qlonglong(names.size()), qlonglong(registers), expand.median, expand.worst, whole.median);
    }

    // 3. A window with every peripheral of nrf5340_application rebuilt.
    {
        QDir(temp.path()).mkpath("svd");
        const QString svdPath = SvdDeviceModel::SvdFilePath(temp.path(), kChip);
        QFile::copy(samples.filePath("nrf5340_application.svd"), svdPath);
        BenchWindow bench(temp.path(), kChip, 1, 96);
        if (!bench.iniWritten)
            return 1;
        const QStringList &names = bench.names;
        RegisterWindow &window = *bench.window;
        window.RebuildGrid();
        std::size_t registers = 0;
        for (const auto &top : window.Tree().TopRows())
            registers += top->ChildCount();
        const Timing rebuild = Measure(
            15, [&] { window.RebuildGrid(); }, Clock::ThreadCpu);
        XmlDocument document;
        document.LoadFile(svdPath);
        const Timing model = Measure(
            15,
            [&] {
                for (const QString &name : names)
                    SvdDeviceModel::ReadPeripheral(document, name);
            },
            Clock::ThreadCpu);
        std::printf("nrf5340_application window of %lld peripherals (%zu register rows) rebuilt: median %8.2f ms, "
                    "worst %8.2f ms (goal < 300 ms); the model's part: median %8.2f ms\n",
                    qlonglong(window.Tree().TopRowCount()), registers, rebuild.median, rebuild.worst, model.median);
    }
    return 0;
}
