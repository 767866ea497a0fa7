#pragma once

#include <QtGlobal>

// Every text the application shell shows in a message box, in one place
// (control captions stay with their windows). The link's texts that the
// shell shows too, such as the missing probe library, are in
// link/LinkMessages.h.
//
// These texts are a contract, character for character, punctuation and
// spacing included. Never tidy them.
//
// Each text is marked for translations/*.ts and shown through Tr()
// (link/Tr.h); under the C locale it is shown as written here.
namespace AppMessages {

// A second copy started from the same folder.
inline constexpr char kAlreadyRunning[] = QT_TRANSLATE_NOOP("Corvane", "此程序正在运行，同一路径只能打开一次。");

// A register window compared with its saved data when none is saved.
inline constexpr char kNoSavedData[] = QT_TRANSLATE_NOOP("Corvane", "No saved data to compare !\n");

// An exported window or a saved plot series whose file could not be
// written (%1: the path).
inline constexpr char kFileCreate[] = QT_TRANSLATE_NOOP("Corvane", "%1 create error !\n");

// The status line of a register window when the user tries to edit a value
// that takes no edit (%1: REGISTER or REGISTER.FIELD).
inline constexpr char kReadOnly[] = QT_TRANSLATE_NOOP("Corvane", "%1 is read-only !");

// A GDB server typed in the panel that is not "host:port" (%1: the text);
// the stored server stays.
inline constexpr char kBadGdbServer[] =
    QT_TRANSLATE_NOOP("Corvane", "%1: not a GDB server, type host:port (port 1 to 65535) !\n");

// View -> Language: the submenu, and the note of a choice.
inline constexpr char kLanguageMenu[] = QT_TRANSLATE_NOOP("Corvane", "语言(&L)");
inline constexpr char kLanguageNextStart[] =
    QT_TRANSLATE_NOOP("Corvane", "The language chosen is used from the next start of Corvane.");

} // namespace AppMessages
