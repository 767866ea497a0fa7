// Any bytes as Corvane.ini, and one write into it. The input's first line is
// the write ("SECTION<tab>KEY<tab>TEXT"), the rest is the file. Every name
// the file holds is read before and after the write:
// - a write that fails leaves the file byte for byte and says why;
// - a write that works reads back as written, changes no other key, and
//   writing the same again changes nothing.
#include "FuzzSupport.h"

#include "link/ConfigFile.h"

#include <QList>
#include <QPair>
#include <QStringList>

namespace {

constexpr int kReadSize = 1 << 20;
const QString kMissing = QStringLiteral("\u0001missing");

QString Trimmed(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && (text[first] == u' ' || text[first] == u'\t'))
        ++first;
    while (last > first && (text[last - 1] == u' ' || text[last - 1] == u'\t'))
        --last;
    return text.mid(first, last - first);
}

// Section and key names as they appear in the file, and every pair of them:
// more pairs than the file holds, which is what makes a change show.
QList<QPair<QString, QString>> NamePairs(const QByteArray &file)
{
    QStringList sections;
    QStringList keys;
    for (const QByteArray &line : file.split('\n')) {
        const QString text = Trimmed(QString::fromUtf8(line).remove(u'\r'));
        if (text.startsWith(u'[')) {
            const qsizetype close = text.indexOf(u']');
            sections << Trimmed(text.mid(1, close < 0 ? -1 : close - 1));
        } else if (const qsizetype equals = text.indexOf(u'='); equals > 0) {
            keys << Trimmed(text.left(equals));
        }
    }
    sections.removeDuplicates();
    keys.removeDuplicates();
    QList<QPair<QString, QString>> pairs;
    for (const QString &section : sections.mid(0, 8))
        for (const QString &key : keys.mid(0, 8))
            pairs.append({section, key});
    return pairs;
}

QStringList ReadAll(const ConfigFile &config, const QList<QPair<QString, QString>> &pairs)
{
    QStringList values;
    for (const auto &[section, key] : pairs)
        values << config.ReadText(section, key, kMissing, kReadSize);
    return values;
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArray request = lineEnd < 0 ? input : input.left(lineEnd);
    const QByteArray file = lineEnd < 0 ? QByteArray() : input.mid(lineEnd + 1);
    const QList<QByteArray> parts = request.split('\t');
    const QString section = QString::fromUtf8(parts.value(0));
    const QString key = QString::fromUtf8(parts.value(1));
    const QString text = QString::fromUtf8(parts.mid(2).join('\t'));

    const QString path = Fuzz::ScratchPath(QStringLiteral("Corvane.ini"));
    Fuzz::PutFile(path, file);
    ConfigFile config(path);
    const QList<QPair<QString, QString>> pairs = NamePairs(file);
    const QStringList before = ReadAll(config, pairs);
    config.ReadTextList(section, key, "E_%d", 64);
    config.ReadInt(section, key, -7);

    if (!config.WriteText(section, key, text)) {
        Fuzz::Check(!config.WriteFailure().isEmpty());
        Fuzz::Check(Fuzz::FileBytes(path) == file);
        Fuzz::Check(ReadAll(config, pairs) == before);
        return 0;
    }
    Fuzz::Check(config.WriteFailure().isEmpty());
    Fuzz::Check(config.ReadText(section, key, kMissing, kReadSize) == (text.isEmpty() ? kMissing : text));
    const QStringList after = ReadAll(config, pairs);
    for (qsizetype i = 0; i < pairs.size(); ++i)
        if (!SameName(pairs[i].first, section) || !SameName(pairs[i].second, key))
            Fuzz::Check(after[i] == before[i]);

    const QByteArray written = Fuzz::FileBytes(path);
    Fuzz::Check(config.WriteText(section, key, text));
    Fuzz::Check(Fuzz::FileBytes(path) == written);
    return 0;
}
