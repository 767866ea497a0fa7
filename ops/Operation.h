#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "link/UserInterfaces.h"

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>

// What every control-panel operation works with: the configuration file it
// reads its settings from, the links of the run, and the user's side.
struct OperationEnv
{
    const ConfigFile &config;
    TargetLinks &links;
    UserContext &user;
    // Bytes done of the total, for the long file transfers; may be empty.
    std::function<void(qint64 done, qint64 total)> progress;
    // Whether the long file transfers are asked to end before their next
    // chunk (the command-line tool's stop signals); may be empty.
    std::function<bool()> stopRequested = {};
};

// The panel's hex dump field.
class DumpView
{
public:
    virtual ~DumpView() = default;
    virtual void SetDumpText(const QString &text) = 0;
};

// A user's action on the target as the one runner of actions runs it, off
// the windows' thread: `env` holds the relayed user, the progress and the
// stop request, `dump` hands dump texts to the panel.
using TargetAction = std::function<void(OperationEnv &env, DumpView &dump)>;

namespace OpsText {
inline constexpr char kFileDialogTitle[] = QT_TRANSLATE_NOOP("Corvane", "选择/输入 保存的文件");
inline constexpr char kLoadDialogTitle[] = QT_TRANSLATE_NOOP("Corvane", "选择 写入芯片的文件");
inline constexpr char kBinaryFilterText[] = QT_TRANSLATE_NOOP("Corvane", "Binary Files(*.bin)");
inline constexpr char kAnyFilterText[] = QT_TRANSLATE_NOOP("Corvane", "All Files(*)");
} // namespace OpsText

enum class MemoryFileUse { Save, Load };

// The question of a memory range's file, binary files first: saving (the
// read to file) asks where to save and before overwriting; loading (the
// write from file) opens a file that exists.
FileRequest MemoryFileRequest(MemoryFileUse use);
