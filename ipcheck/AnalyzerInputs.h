#pragma once

#include <QString>

// Where the analyzer's files are. The analyzer folder comes from the IP check
// window's path field: a text starting with "/" is a full path, anything else
// lies below the executable's folder. Each chip model of the table keeps its
// database script and its SVD file in a sub-folder of its own.
namespace AnalyzerInputs {

// The path field is read through a buffer of this many characters.
inline constexpr int kPathFieldLength = 258;
// The chip selector's text is at most this long.
inline constexpr int kChipModelLength = 49;

QString AnalyzerFolder(const QString &pathField, const QString &exeDir);

struct ModelFiles
{
    QString database; // ".../vx21a/analyzer_db.py"
    QString svd;      // ".../vx21a/VX21a.svd"
    bool IsEmpty() const { return database.isEmpty(); }
};

// Empty for VX21D and every name outside the table (exact, case-sensitive).
ModelFiles FilesFor(const QString &chipModel, const QString &analyzerFolder);

} // namespace AnalyzerInputs
