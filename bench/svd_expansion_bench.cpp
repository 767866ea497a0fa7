// Links: corvane_regmap corvane_xml
//
// The SVD expansion on crafted files that once made it quadratic or
// unbounded, printing for each the time to load and parse the file, to read
// the peripheral and to build its register rows (processor time), and the
// peak memory of the whole case (each case runs in a child process of its own):
// - registers each derived from the one before (goal: 60 000 under 1 s),
//   and the same chain of fields and of enumeratedValues blocks;
// - one field of 100 000 enumerated values derived by 999 fields (goal:
//   under 300 MB peak and 2 s);
// - 5 000 peripheral arrays of dim 65536 with a dimIndex range (goal: under
//   1 s per read of one peripheral, file load included).
//
// Arguments (all optional): chain length, number of deriving fields, number
// of arrays; smaller ones let the bench run against a slower build.
#include "regmap/RegisterRowTree.h"
#include "regmap/SvdDeviceModel.h"
#include "xml/XmlDocument.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

namespace {

// The thread's processor time: the machine may be shared, and the time other
// processes take should not count. The cases run on one thread.
double NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

QByteArray Device(const QByteArray &peripherals)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<device><name>BENCH</name><peripherals>\n" + peripherals +
           "</peripherals></device>\n";
}

QByteArray Field(const QByteArray &name, int bit, const QByteArray &inside = {})
{
    return "<field><name>" + name + "</name><bitOffset>" + QByteArray::number(bit) +
           "</bitOffset><bitWidth>1</bitWidth>" + inside + "</field>";
}

// Register Rk derived from R(k-1), each at its own offset.
QByteArray RegisterChain(int length)
{
    QByteArray text = "<peripheral><name>CHAIN</name><baseAddress>0x40000000</baseAddress><registers>"
                      "<register><name>R0</name><addressOffset>0</addressOffset><fields>" +
                      Field("A", 0) + Field("B", 1) + "</fields></register>\n";
    for (int k = 1; k < length; ++k) {
        text += "<register derivedFrom=\"R" + QByteArray::number(k - 1) + "\"><name>R" + QByteArray::number(k) +
                "</name><addressOffset>" + QByteArray::number(4 * k) + "</addressOffset></register>\n";
    }
    return Device(text + "</registers></peripheral>\n");
}

// Field Fk derived from F(k-1) in one register; with `blocks`, field Fk's
// enumeratedValues block derived from F(k-1)'s instead.
QByteArray FieldChain(int length, bool blocks)
{
    QByteArray fields;
    for (int k = 0; k < length; ++k) {
        const QByteArray name = "F" + QByteArray::number(k);
        const QByteArray previous = (blocks ? "E" : "F") + QByteArray::number(k - 1);
        if (blocks) {
            const QByteArray values =
                k == 0 ? "<enumeratedValue><name>ON</name><value>1</value></enumeratedValue>" : QByteArray();
            const QByteArray from = k == 0 ? QByteArray() : " derivedFrom=\"" + previous + "\"";
            fields += Field(name, k % 32,
                            "<enumeratedValues" + from + "><name>E" + QByteArray::number(k) + "</name>" + values +
                                "</enumeratedValues>");
        } else if (k == 0) {
            fields += Field(name, 0);
        } else {
            fields += "<field derivedFrom=\"" + previous + "\"><name>" + name + "</name><bitOffset>" +
                      QByteArray::number(k % 32) + "</bitOffset></field>";
        }
        fields += '\n';
    }
    return Device("<peripheral><name>CHAIN</name><baseAddress>0x40000000</baseAddress><registers>"
                  "<register><name>R</name><addressOffset>0</addressOffset><fields>\n" +
                  fields + "</fields></register></registers></peripheral>\n");
}

// Field BIG of `values` enumerated values, and `fields` fields derived from it.
QByteArray SharedValues(int values, int fields)
{
    QByteArray text = "<peripheral><name>SHARED</name><baseAddress>0x40000000</baseAddress><registers>"
                      "<register><name>R</name><addressOffset>0</addressOffset><fields>"
                      "<field><name>BIG</name><bitOffset>0</bitOffset><bitWidth>32</bitWidth><enumeratedValues>\n";
    for (int v = 0; v < values; ++v) {
        text += "<enumeratedValue><name>V" + QByteArray::number(v) + "</name><value>" + QByteArray::number(v) +
                "</value></enumeratedValue>\n";
    }
    text += "</enumeratedValues></field>\n";
    for (int f = 0; f < fields; ++f)
        text += "<field derivedFrom=\"BIG\"><name>F" + QByteArray::number(f) + "</name></field>\n";
    return Device(text + "</fields></register></registers></peripheral>\n");
}

// `count` peripheral arrays of 65536 elements each, indexed by a range.
QByteArray IndexedArrays(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += "<peripheral><dim>65536</dim><dimIncrement>4</dimIncrement><dimIndex>0-65535</dimIndex><name>P" +
                QByteArray::number(i) + "_%s</name><baseAddress>" + QByteArray::number(0x100000 + 0x40000 * i) +
                "</baseAddress><registers><register><name>R</name><addressOffset>0</addressOffset></register>"
                "</registers></peripheral>\n";
    }
    return Device(text);
}

bool Put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What svd-peripheral and the register window do with one peripheral:
// load and parse the file, read the peripheral, build its rows.
void ReadOne(const char *label, const QString &path, const QString &name)
{
    const double start = NowMs();
    XmlDocument document;
    document.LoadFile(path);
    const double parsed = NowMs();
    const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(document, name);
    const double read = NowMs();
    RegisterRowTree tree;
    qsizetype rows = 0;
    if (result.outcome == SvdPeripheralResult::Outcome::Found) {
        const RegisterRow *top = tree.AppendPeripheral(result.peripheral, {});
        for (const auto &reg : top->Children())
            rows += 1 + qsizetype(reg->ChildCount());
    }
    const double built = NowMs();
    std::printf("%-44s parse %8.1f ms  read %8.1f ms  rows %8.1f ms  total %8.1f ms  (%lld rows%s%s)\n", label,
                parsed - start, read - parsed, built - read, built - start, qlonglong(rows),
                result.message.isEmpty() ? "" : ", ", qPrintable(result.message.trimmed()));
}

// Runs a case in a child process, so its peak memory is its own.
void InChild(const std::function<void()> &run)
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        run();
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        std::printf("  could not run the case\n");
        return;
    }
    std::printf("%-44s peak %8.1f MB%s\n", "", double(usage.ru_maxrss) / 1024.0,
                WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "" : "  (the case failed)");
}

} // namespace

int main(int argc, char **argv)
{
    const int chain = argc > 1 ? std::atoi(argv[1]) : 60000;
    const int deriving = argc > 2 ? std::atoi(argv[2]) : 999;
    const int arrays = argc > 3 ? std::atoi(argv[3]) : 5000;
    QTemporaryDir dir;
    const QString registers = dir.filePath("register-chain.svd");
    const QString fields = dir.filePath("field-chain.svd");
    const QString blocks = dir.filePath("block-chain.svd");
    const QString shared = dir.filePath("shared-values.svd");
    const QString indexed = dir.filePath("indexed-arrays.svd");
    const int shortChain = chain / 3;
    if (!Put(registers, RegisterChain(chain)) || !Put(fields, FieldChain(shortChain, false)) ||
        !Put(blocks, FieldChain(shortChain, true)) || !Put(shared, SharedValues(100000, deriving)) ||
        !Put(indexed, IndexedArrays(arrays))) {
        std::fprintf(stderr, "cannot write the bench files in %s\n", qPrintable(dir.path()));
        return 1;
    }

    const QByteArray chainLabel = QByteArray::number(chain) + " registers each derived from the last";
    InChild([&] { ReadOne(chainLabel.constData(), registers, "CHAIN"); });
    const QByteArray fieldLabel = QByteArray::number(shortChain) + " fields each derived from the last";
    InChild([&] { ReadOne(fieldLabel.constData(), fields, "CHAIN"); });
    const QByteArray blockLabel = QByteArray::number(shortChain) + " enumeratedValues each derived";
    InChild([&] { ReadOne(blockLabel.constData(), blocks, "CHAIN"); });
    const QByteArray sharedLabel = "100000 values derived by " + QByteArray::number(deriving) + " fields";
    InChild([&] { ReadOne(sharedLabel.constData(), shared, "SHARED"); });
    const QByteArray arraysLabel = QByteArray::number(arrays) + " arrays of 65536, read the last element";
    const QString last = QStringLiteral("P%1_65535").arg(arrays - 1);
    InChild([&] { ReadOne(arraysLabel.constData(), indexed, last); });
    InChild([&] {
        const double start = NowMs();
        const qsizetype names = SvdDeviceModel::ReadPeripheralNames(indexed).size();
        std::printf("%-44s total %8.1f ms  (%lld names)\n", "the same file's names", NowMs() - start, qlonglong(names));
    });
    return 0;
}
