#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// One row of the IP list: a peripheral of the analyzer's SVD file, enabled
// when the analyzer's database imports a module for it.
struct IpListRow
{
    QString name;
    bool enabled = false;
};

// Builds the IP list of a chip model from the analyzer folder's files: every
// peripheral name of the SVD file, sorted by UTF-16 code units, enabled when
// an import line of analyzer_db.py names it (with or without "HPSYS_" or
// "LPSYS_", any case). Every failure is silent and gives an empty or partly
// filled list.
std::vector<IpListRow> BuildIpList(const QString &chipModel, const QString &pathField, const QString &exeDir);

namespace IpListBuilder {

// Row texts are read through a buffer of 100 characters when rows are sorted
// and matched.
inline constexpr int kRowTextLength = 99;
// The database is read line by line through a buffer of this many bytes; a
// longer line arrives in pieces, each taken as a line.
inline constexpr int kDatabaseLineLength = 298;

// Inserts a disabled row before the first row whose text is greater.
void InsertSorted(std::vector<IpListRow> &rows, const QString &name);

// The module text of one database line, or nothing for a line without
// "from". It keeps a line end when the line has no "import".
std::optional<QString> ModuleText(const QByteArray &line);

// Enables every row whose name begins with the module text, "HPSYS_" and
// the module text, or "LPSYS_" and the module text, ignoring case.
void EnableMatchingRows(std::vector<IpListRow> &rows, const QString &module);

} // namespace IpListBuilder
