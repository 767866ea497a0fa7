#pragma once

// Every text of the command-line tool's own, in one place; the operations'
// messages come from the catalogues of their layers.
//
// These texts are a contract, character for character: scripts read them
// and the tests pin them. Never tidy them. %1, %2 are QString::arg places.
namespace CliMessages {

inline constexpr char kUsageHead[] = "usage: corvane-cli [--home DIR] [--chip NAME] COMMAND [ARGS...]\n\ncommands:\n";
// Command name, its arguments.
inline constexpr char kCommandUsage[] = "usage: corvane-cli %1 %2\n";
// What is wrong with the command line, before the usage.
inline constexpr char kProblem[] = "corvane-cli: %1\n";
inline constexpr char kNeedsValue[] = "%1 needs a value";
inline constexpr char kUnknownOption[] = "unknown option %1";
inline constexpr char kNoCommand[] = "no command given";
inline constexpr char kUnknownCommand[] = "unknown command %1";

// The dump's LENGTH when it is no hexadecimal number of 32 bits.
inline constexpr char kNoLength[] = "no length %1, please check!";
// Peripheral name, the SVD file's path.
inline constexpr char kNoPeripheral[] = "no peripheral %1 in %2\n";
// A snapshot file shorter than the peripheral's span: peripheral name, file,
// its length, the span.
inline constexpr char kShortFile[] =
    "%1: %2 holds 0x%3 bytes of the span 0x%4; registers beyond its end are not compared\n";
// Register name, peripheral name.
inline constexpr char kNoRegister[] = "no register %1 in %2\n";

// fault --elf: the file, the reason.
inline constexpr char kElfUnreadable[] = "%1 cannot be read as an ELF file: %2\n";

} // namespace CliMessages
