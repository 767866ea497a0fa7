// Any bytes as the analyzer's inputs and output: the part before the first
// "\n%%\n" is the database script analyzer_db.py, the part after it the
// analyzer's SVD file, and the whole input is the output of a run, fed to
// the line splitter in reads of the sizes the worker takes.
// - the IP list is sorted as its rows are inserted, and a row is enabled
//   only when some line of the database names a module;
// - the splitter never holds more than its receive buffer, drops no
//   character of a line and gives no empty row.
#include "FuzzSupport.h"

#include "ipcheck/IpListBuilder.h"
#include "ipcheck/OutputLineSplitter.h"

#include <QStringList>

namespace {

void CheckIpList(QByteArrayView database, QByteArrayView svd)
{
    const QString folder = Fuzz::ScratchPath(QStringLiteral("analyzer"));
    static const bool made = QDir().mkpath(folder + QStringLiteral("/vx21a"));
    Fuzz::Check(made);
    Fuzz::PutFile(folder + QStringLiteral("/vx21a/analyzer_db.py"), database);
    Fuzz::PutFile(folder + QStringLiteral("/vx21a/VX21a.svd"), svd);

    const std::vector<IpListRow> rows = BuildIpList(QStringLiteral("VX21A"), folder, QStringLiteral("/nowhere"));
    // The pieces the builder reads: lines, cut at the length of its buffer.
    bool anyModule = false;
    for (qsizetype start = 0; start < database.size();) {
        const qsizetype lineFeed = database.indexOf('\n', start);
        const qsizetype end =
            std::min(lineFeed < 0 ? database.size() : lineFeed + 1, start + IpListBuilder::kDatabaseLineLength);
        anyModule = anyModule || IpListBuilder::ModuleText(database.sliced(start, end - start).toByteArray());
        start = end;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Fuzz::Check(!rows[i].enabled || anyModule);
        if (i > 0)
            Fuzz::Check(QStringView(rows[i - 1].name).left(IpListBuilder::kRowTextLength) <=
                        QStringView(rows[i].name).left(IpListBuilder::kRowTextLength));
    }
}

void CheckSplitter(QByteArrayView output)
{
    OutputLineSplitter splitter;
    qsizetype at = 0;
    qsizetype rowCharacters = 0;
    int read = 0;
    while (at < output.size()) {
        // Reads of every size up to what the splitter allows.
        const int allowed = splitter.NextReadSize();
        Fuzz::Check(allowed > 0 && splitter.CarrySize() + allowed < OutputLineSplitter::kReceiveBufferSize);
        const int size = int(std::min<qsizetype>({allowed, output.size() - at, 1 + (read++ * 37) % allowed}));
        for (const QString &row : splitter.Feed(output.data() + at, size)) {
            Fuzz::Check(!row.isEmpty());
            rowCharacters += row.size();
        }
        Fuzz::Check(splitter.CarrySize() < OutputLineSplitter::kFlushLength);
        at += size;
    }
    rowCharacters += splitter.TakeCarry().size();
    Fuzz::Check(splitter.CarrySize() == 0);
    // Each line's bytes decode on their own; a cut mid-character (a flush)
    // may decode differently from the whole, so compare only plain text.
    const bool plain = std::all_of(output.begin(), output.end(), [](char c) { return c > 0 && c < 0x7F; });
    if (plain)
        Fuzz::Check(rowCharacters == output.size() - output.toByteArray().count('\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype separator = input.indexOf(QByteArrayView("\n%%\n"));
    const QByteArrayView database = separator < 0 ? input : input.first(separator);
    const QByteArrayView svd = separator < 0 ? QByteArrayView() : input.sliced(separator + 4);
    CheckIpList(database, svd);
    CheckSplitter(input);
    return 0;
}
