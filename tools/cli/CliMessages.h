#pragma once

#include <QtGlobal>

// Every text of the command-line tool's own, in one place; the operations'
// messages come from the catalogues of their layers.
//
// These texts are a contract, character for character: scripts read them
// and the tests pin them. Never tidy them. %1, %2 are QString::arg places.
//
// Each text is marked for translations/*.ts and shown through Tr()
// (link/Tr.h); under the C locale it is shown as written here.
namespace CliMessages {

inline constexpr char kUsageHead[] = QT_TRANSLATE_NOOP(
    "Corvane", "usage: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]\n\ncommands:\n");
// Command name, its arguments.
inline constexpr char kCommandUsage[] = QT_TRANSLATE_NOOP("Corvane", "usage: corvane-cli %1 %2\n");
// What is wrong with the command line, before the usage.
inline constexpr char kProblem[] = QT_TRANSLATE_NOOP("Corvane", "corvane-cli: %1\n");
inline constexpr char kNeedsValue[] = QT_TRANSLATE_NOOP("Corvane", "%1 needs a value");
inline constexpr char kUnknownOption[] = QT_TRANSLATE_NOOP("Corvane", "unknown option %1");
inline constexpr char kNoCommand[] = QT_TRANSLATE_NOOP("Corvane", "no command given");
inline constexpr char kUnknownLanguage[] = QT_TRANSLATE_NOOP("Corvane", "unknown language %1 (en or zh)");
inline constexpr char kUnknownCommand[] = QT_TRANSLATE_NOOP("Corvane", "unknown command %1");

// The dump's LENGTH when it is no hexadecimal number of 32 bits.
inline constexpr char kNoLength[] = "no length %1, please check!";
// Peripheral name, the SVD file's path.
inline constexpr char kNoPeripheral[] = QT_TRANSLATE_NOOP("Corvane", "no peripheral %1 in %2\n");
// A snapshot file shorter than the peripheral's span: peripheral name, file,
// its length, the span.
inline constexpr char kShortFile[] = QT_TRANSLATE_NOOP(
    "Corvane", "%1: %2 holds 0x%3 bytes of the span 0x%4; registers beyond its end are not compared\n");
// Register name, peripheral name.
inline constexpr char kNoRegister[] = QT_TRANSLATE_NOOP("Corvane", "no register %1 in %2\n");

// fault --elf: the file, the reason.
inline constexpr char kElfUnreadable[] = QT_TRANSLATE_NOOP("Corvane", "%1 cannot be read as an ELF file: %2\n");

} // namespace CliMessages
