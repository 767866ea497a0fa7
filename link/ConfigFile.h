#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// The INI file beside the executable (UTF-8), the channel through which the
// control panel hands the user's choices to the operations. Reads share one
// parse of the file per process until the file changes (IniFileCache): a
// change by another program or editor shows at the next read, and an
// unchanged file is neither opened nor parsed again. Every write reads the
// file anew under the writer lock and replaces it atomically.
//
// Reading:
// - section and key names compare without regard to letter case;
// - a section header is a line whose first non-blank character is "["; its
//   name runs to the first "]" (or to the end of the line), blanks trimmed;
// - a key line is "name=value": the value is the text after the first "=",
//   blanks (space, tab) trimmed, and loses one pair of matching double or
//   single quotes wrapped around it;
// - comment lines (";" or "#"), blank lines, key lines before the first
//   header and any other line are ignored;
// - the first section of a name and the first key of a name in it win.
//
// Integers (ReadInt) are read like the classic profile reader: optional sign,
// then the leading decimal digits up to the first other character. A present
// key without digits ("", "abc", "0x10" -> 0) reads 0; a missing key reads
// the default. A number that does not fit in 32 bits reads the default;
// 2147483648 to 4294967295 keep their 32-bit pattern (a probe serial number
// above 2^31 stays the same number for the probe), so they read negative.
//
// Writing keeps every other line byte for byte (comments, unknown keys,
// blank lines, order, CRLF or LF endings, a UTF-8 BOM); a replaced key keeps
// its spelling, its place and the blanks around its "=". Lines may end in LF,
// CR LF or a lone CR; added lines take the file's own ending. A new key goes after
// the last key of its section, a new section at the end of the file. Names or
// texts that cannot be stored and read back (line breaks, "=" in a key, "]" in
// a section, blanks around a name, ...) are refused and the file is left as it
// was. A file that is not UTF-8 text (UTF-16, NUL bytes) is read but never
// rewritten. Writers of the file serialise on an advisory lock (WriterLock);
// readers never wait for it. The writer holding the lock removes the new
// files that writers killed before their rename left beside the file. A text
// with blanks around it or wrapped in quotes is stored in double quotes so
// that it reads back unchanged.
class IniValues;

class ConfigFile
{
public:
    explicit ConfigFile(QString path);

    const QString &Path() const;

    // The file's values as they are now, parsed only when it changed: the
    // same object while the file stays as it is, so what a caller derives
    // from them holds as long as it is handed this object again. Null when
    // the file cannot be read.
    std::shared_ptr<const IniValues> Values() const;

    int ReadInt(const QString &section, const QString &key, int defaultValue) const;
    // At most size - 1 characters: size counts the terminator, like the read
    // sizes of the key table. The default text is cut the same way.
    QString ReadText(const QString &section, const QString &key, const QString &defaultText, int size) const;

    // The texts of an indexed list such as CHIP_TYPE: countKey gives the
    // number of entries (at most kListLimit are read), keyFormat names entry
    // i ("CHIP_%d"). The file is read once for the whole list.
    static constexpr int kListLimit = 256;
    QStringList ReadTextList(const QString &section, const QString &countKey, const char *keyFormat, int size) const;

    // An empty text removes the key (every copy of it in the section).
    bool WriteText(const QString &section, const QString &key, const QString &text);
    bool WriteInt(const QString &section, const QString &key, int value); // "%d"
    // Writes the text change makes of the key's text as the file holds it
    // now (empty when missing), read while this writer holds the lock: a
    // change that depends on the old text never undoes another writer's.
    bool UpdateText(const QString &section, const QString &key, const std::function<QString(const QString &)> &change);

    // Why the last write failed, as a message naming the file; empty after a
    // write that worked.
    const QString &WriteFailure() const;

    // Hears the message of every write that fails: a window shows it, so no
    // choice is lost without a word.
    void SetFailureReport(std::function<void(const QString &)> report);

    // How long a write waits for another writer's lock before it is refused
    // (kConfigHeld). A window's thread may wait only briefly.
    static constexpr int kDefaultLockWaitMs = 10000;
    void SetLockWaitMs(int ms) { m_lockWaitMs = ms; }

    // Called after the temporary file is written and before it replaces the
    // file; returning false abandons the write and leaves the file as it was.
    void SetBeforeRenameHook(std::function<bool()> hook);

private:
    bool Failed(const QString &message);
    bool Failed(const char *format);
    bool NotStorable(const QString &section, const QString &key);

    QString m_path;
    std::function<bool()> m_beforeRename;
    std::function<void(const QString &)> m_failureReport;
    int m_lockWaitMs = kDefaultLockWaitMs;
    QString m_writeFailure;
};
