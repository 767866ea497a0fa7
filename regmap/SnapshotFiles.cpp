#include "regmap/SnapshotFiles.h"

#include "link/MessageText.h"
#include "link/TransferBuffer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SnapshotFiles {

QString DefaultPath(const QString &home, const QString &chip, const QString &name)
{
    return home + QStringLiteral("/data/") + chip + u'/' + name + QStringLiteral(".bin");
}

QString TemporaryPath(const QString &home, const QString &name)
{
    return home + QStringLiteral("/data/temp/") + name + QStringLiteral("_temp.bin");
}

bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(u'/') && !name.contains(QChar(0));
}

void MakeFolderFor(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
}

bool Replace(const QString &path, const uint8_t *bytes, qint64 size)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (size > 0 && file.write(reinterpret_cast<const char *>(bytes), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<QByteArray> ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

std::optional<QString> CheckFits(const QString &name, uint32_t span, uint32_t highestWordEnd)
{
    if (span <= TransferBuffer::kSize && highestWordEnd <= TransferBuffer::kSize)
        return std::nullopt;
    return MessageText::Format("%s span 0x%x does not fit the 0x%x-byte transfer buffer, refused !\n",
                               name.toUtf8().constData(), span, unsigned(TransferBuffer::kSize));
}

} // namespace SnapshotFiles
