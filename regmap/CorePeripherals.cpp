#include "regmap/CorePeripherals.h"

namespace CorePeripherals {

QString FilePath(const QString &exeDir)
{
    return QStringLiteral("%1/svd/%2").arg(exeDir, QLatin1String(kFileName));
}

QStringList Missing(const QStringList &chipNames, const QStringList &coreNames)
{
    QStringList missing;
    for (const QString &name : coreNames)
        if (!chipNames.contains(name, Qt::CaseInsensitive))
            missing << name;
    return missing;
}

} // namespace CorePeripherals
