// Any bytes as a GDB server's target description: the input split at
// "\n%%\n" gives target.xml and the files it includes ("1.xml" is the second
// part, and so on; any other name is an empty file). Every register has a
// number below 4096 and a size of at most 1024 bits, and the files fetched
// stay few however the files include each other.
#include "FuzzSupport.h"

#include "link/GdbCoreRegisters.h"

#include <QList>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QList<QByteArray> files;
    const QByteArray whole(reinterpret_cast<const char *>(data), qsizetype(size));
    for (qsizetype start = 0;;) {
        const qsizetype end = whole.indexOf("\n%%\n", start);
        files << whole.mid(start, end < 0 ? -1 : end - start);
        if (end < 0)
            break;
        start = end + 4;
    }
    int fetched = 0;
    const auto registers = GdbCoreRegisters::Parse(files[0], [&](const QByteArray &href) {
        ++fetched;
        bool ok = false;
        const int index = href.chopped(href.endsWith(".xml") ? 4 : 0).toInt(&ok);
        return ok && index > 0 && index < files.size() ? files[index] : QByteArray();
    });
    Fuzz::Check(fetched <= 64);
    for (const GdbCoreRegisters::Described &reg : registers)
        Fuzz::Check(reg.number >= 0 && reg.number < 4096 && reg.bits >= 0 && reg.bits <= 1024);
    return 0;
}
