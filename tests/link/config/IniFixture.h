#pragma once

#include "link/ConfigFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A private folder with a Corvane.ini path in it; the file itself exists
// only after Put or a write.
class IniFixture : public testing::Test
{
protected:
    QString Path() const { return m_dir.filePath("Corvane.ini"); }

    void Put(const QByteArray &bytes)
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray Bytes() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
    }

    QStringList FolderEntries() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
    ConfigFile m_file{m_dir.filePath("Corvane.ini")};
};
