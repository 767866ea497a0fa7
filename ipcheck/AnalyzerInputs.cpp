#include "ipcheck/AnalyzerInputs.h"

namespace AnalyzerInputs {

QString AnalyzerFolder(const QString &pathField, const QString &exeDir)
{
    const QString text = pathField.left(kPathFieldLength);
    if (text.startsWith(u'/'))
        return text;
    return exeDir + u'/' + text;
}

ModelFiles FilesFor(const QString &chipModel, const QString &analyzerFolder)
{
    static const char *const kModels[][2] = {{"VX21A", "a"}, {"VX21B", "b"}, {"VX21C", "c"}, {"VX21E", "e"}};
    const QString model = chipModel.left(kChipModelLength);
    for (const auto &entry : kModels) {
        if (model != QLatin1StringView(entry[0]))
            continue;
        const QString letter = QLatin1StringView(entry[1]);
        const QString folder = analyzerFolder + QStringLiteral("/vx21") + letter;
        return ModelFiles{folder + QStringLiteral("/analyzer_db.py"),
                          folder + QStringLiteral("/VX21") + letter + QStringLiteral(".svd")};
    }
    return ModelFiles{};
}

} // namespace AnalyzerInputs
