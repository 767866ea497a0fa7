#include "regmap/SnapshotFiles.h"

#include "link/DiskFile.h"
#include "link/MessageText.h"
#include "regmap/RegisterWindowMessages.h"
#include "link/TransferBuffer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace SnapshotFiles {

QString DataFolder(const QString &home, const QString &chip)
{
    return home + QStringLiteral("/data/") + chip;
}

QString DefaultPath(const QString &home, const QString &chip, const QString &name)
{
    return DataFolder(home, chip) + u'/' + name + QStringLiteral(".bin");
}

QString TemporaryPath(const QString &home, const QString &name)
{
    return home + QStringLiteral("/data/temp/") + name + QStringLiteral("_temp.bin");
}

bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

void MakeFolderFor(const QString &home, const QString &folder)
{
    if (IsPlainFileName(folder))
        QDir(home).mkpath(QStringLiteral("data/") + folder);
}

bool Replace(const QString &path, const uint8_t *bytes, qint64 size)
{
    return DiskFile::Replace(path, QByteArrayView(reinterpret_cast<const char *>(bytes), size));
}

bool OpenForReading(QFile &file, const QString &path)
{
    const int fd = DiskFile::OpenRegular(path);
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

std::optional<QByteArray> ReadAll(const QString &path)
{
    // A snapshot never exceeds the transfer buffer by much; a FIFO or a
    // device in its place is refused instead of blocking.
    return DiskFile::ReadWhole(path, DiskFile::kTextLimit);
}

std::optional<QString> CheckFits(const QString &name, uint32_t span, uint32_t highestWordEnd)
{
    if (span <= TransferBuffer::kSize && highestWordEnd <= TransferBuffer::kSize)
        return std::nullopt;
    return MessageText::Format(RegisterWindowMessages::kSpanTooLarge, name.toUtf8().constData(), span,
                               unsigned(TransferBuffer::kSize));
}

} // namespace SnapshotFiles
