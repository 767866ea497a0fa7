#include "ipcheck/IpListBuilder.h"

#include "ipcheck/AnalyzerInputs.h"
#include "xml/XmlDocument.h"

#include "link/DiskFile.h"

#include <algorithm>

#include <unistd.h>

namespace IpListBuilder {

void InsertSorted(std::vector<IpListRow> &rows, const QString &name)
{
    auto it = rows.begin();
    for (; it != rows.end(); ++it) {
        // QString's ordering is by UTF-16 code unit, case-sensitive.
        if (QStringView(it->name).left(kRowTextLength).compare(name) > 0)
            break;
    }
    rows.insert(it, IpListRow{name, false});
}

std::optional<QString> ModuleText(const QByteArray &piece)
{
    // The line is a C string: anything after a NUL byte is not part of it.
    QByteArray line = piece.left(piece.indexOf('\0') < 0 ? piece.size() : piece.indexOf('\0'));
    if (!line.contains("from"))
        return std::nullopt;
    const qsizetype import = line.indexOf("import");
    if (import >= 0) {
        // A cut before the fifth character leaves no module text at all;
        // such a line names no module.
        if (import < 4)
            return std::nullopt;
        line.truncate(import);
    }
    // The first four characters ("from" at the start of a line) are skipped
    // whatever they are.
    QByteArray module = line.mid(4);
    module.replace(" ", "");
    module.replace(".", "");
    return QString::fromLocal8Bit(module);
}

void EnableMatchingRows(std::vector<IpListRow> &rows, const QString &module)
{
    const QString prefixes[] = {module, (QStringLiteral("HPSYS_") + module).left(kRowTextLength),
                                (QStringLiteral("LPSYS_") + module).left(kRowTextLength)};
    for (IpListRow &row : rows) {
        const QStringView text = QStringView(row.name).left(kRowTextLength);
        for (const QString &prefix : prefixes) {
            if (text.startsWith(prefix, Qt::CaseInsensitive)) {
                row.enabled = true;
                break;
            }
        }
    }
}

} // namespace IpListBuilder

namespace {

// Both inputs must be regular files: a FIFO would block the window, a
// device such as /dev/zero would never end.
bool CanOpen(const QString &path)
{
    const int fd = DiskFile::OpenRegular(path);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// Every peripheral name of the SVD file in the walk every caller makes; a
// peripheral without a name gives an empty one.
std::vector<IpListRow> PeripheralRows(const QString &svdPath)
{
    std::vector<IpListRow> rows;
    XmlDocument document;
    document.LoadFile(svdPath);
    if (!document.FindElement(u"") || !document.EnterElement() || !document.FindElement(u"peripherals") ||
        !document.EnterElement())
        return rows;
    while (document.FindElement(u"peripheral")) {
        if (!document.EnterElement())
            break;
        document.FindElement(u"name");
        rows.push_back(IpListRow{document.ElementText(), false});
        if (!document.LeaveElement())
            break;
    }
    // One sort, in the order InsertSorted would give row by row: names
    // that compare equal keep the order of the file.
    std::stable_sort(rows.begin(), rows.end(), [](const IpListRow &a, const IpListRow &b) {
        return QStringView(a.name).left(IpListBuilder::kRowTextLength) <
               QStringView(b.name).left(IpListBuilder::kRowTextLength);
    });
    return rows;
}

} // namespace

std::vector<IpListRow> BuildIpList(const QString &chipModel, const QString &pathField, const QString &exeDir)
{
    const AnalyzerInputs::ModelFiles files =
        AnalyzerInputs::FilesFor(chipModel, AnalyzerInputs::AnalyzerFolder(pathField, exeDir));
    if (files.IsEmpty() || !CanOpen(files.database) || !CanOpen(files.svd))
        return {};

    std::vector<IpListRow> rows = PeripheralRows(files.svd);

    const std::optional<QByteArray> read = DiskFile::ReadWhole(files.database, DiskFile::kTextLimit);
    if (!read)
        return rows;
    const QByteArray &content = *read;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype lineFeed = content.indexOf('\n', start);
        qsizetype end = lineFeed < 0 ? content.size() : lineFeed + 1;
        end = std::min(end, start + IpListBuilder::kDatabaseLineLength);
        if (const std::optional<QString> module = IpListBuilder::ModuleText(content.mid(start, end - start)))
            IpListBuilder::EnableMatchingRows(rows, *module);
        start = end;
    }
    return rows;
}
