#pragma once

#include <QtGlobal>

// Every text the IP check shows the user, in one place: the runner's rows in
// the output list and the log list's message.
//
// These texts are a contract, character for character: their spelling,
// spacing, "!" and trailing line breaks are what users and the tests expect.
// Never tidy them. %1 is the analyzer command line (QString::arg).
//
// Each text is marked for translations/*.ts and shown through Tr()
// (link/Tr.h); under the C locale it is shown as written here.
namespace IpCheckMessages {

inline constexpr char kPipeFailed[] = QT_TRANSLATE_NOOP("Corvane", "x %1 管道创建失败\n");
inline constexpr char kSpawnFailed[] = QT_TRANSLATE_NOOP("Corvane", "%1 进程创建失败\n");
inline constexpr char kReceiveFailed[] = QT_TRANSLATE_NOOP("Corvane", "管道接收异常\n");

// Saving a log of an empty list.
inline constexpr char kNoLogData[] = QT_TRANSLATE_NOOP("Corvane", "无有效数据 !!!");

} // namespace IpCheckMessages
