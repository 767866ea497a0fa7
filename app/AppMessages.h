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

// The core window's captions and its own lines.
namespace CoreWindowText {
inline constexpr char kTitle[] = QT_TRANSLATE_NOOP("Corvane", "core");
inline constexpr char kMenuEntry[] = QT_TRANSLATE_NOOP("Corvane", "内核窗口(&K)\tCtrl+K");
inline constexpr char kPanelButton[] = QT_TRANSLATE_NOOP("Corvane", "内核窗口");
inline constexpr char kRead[] = QT_TRANSLATE_NOOP("Corvane", "Read");
inline constexpr char kHaltRead[] = QT_TRANSLATE_NOOP("Corvane", "halt, read, keep halted");
inline constexpr char kWatch[] = QT_TRANSLATE_NOOP("Corvane", "Watch");
inline constexpr char kElfLabel[] = QT_TRANSLATE_NOOP("Corvane", "ELF file");
inline constexpr char kElfBrowse[] = "...";
inline constexpr char kElfDialogTitle[] = QT_TRANSLATE_NOOP("Corvane", "Select the firmware's ELF file");
inline constexpr char kElfFilter[] = QT_TRANSLATE_NOOP("Corvane", "ELF Files(*.elf *.axf *.out)");
inline constexpr char kRegistersTab[] = QT_TRANSLATE_NOOP("Corvane", "registers");
inline constexpr char kFaultTab[] = QT_TRANSLATE_NOOP("Corvane", "fault");
inline constexpr char kNameTitle[] = QT_TRANSLATE_NOOP("Corvane", "Name");
inline constexpr char kValueTitle[] = QT_TRANSLATE_NOOP("Corvane", "Value");
inline constexpr char kMeaningTitle[] = QT_TRANSLATE_NOOP("Corvane", "Meaning");
// A read found the core running: nothing was read.
inline constexpr char kRunning[] =
    QT_TRANSLATE_NOOP("Corvane", "The core is running: nothing was read. Halt it with \"halt HCPU\" in the panel, "
                                 "or here with \"halt, read, keep halted\".");
// A read ended with the link's message: what was shown before is gone.
inline constexpr char kReadFailed[] = QT_TRANSLATE_NOOP("Corvane", "Not read: the link failed.");
// When the registers were read (%1: the time).
inline constexpr char kReadAt[] = QT_TRANSLATE_NOOP("Corvane", "Read at %1, the core halted.");
// The fault tab's link to the faulting instruction (%1: the address as a
// link, %2: where it is in the firmware, or nothing).
inline constexpr char kFaultingPc[] = QT_TRANSLATE_NOOP("Corvane", "Faulting PC: %1 %2");
inline constexpr char kNoFrame[] = QT_TRANSLATE_NOOP("Corvane", "No stacked frame: the faulting PC is not known.");
// The ELF file was not taken (%1: the path, %2: why).
inline constexpr char kElfNotTaken[] = QT_TRANSLATE_NOOP("Corvane", "ELF file %1 not taken: %2");
// A value typed into the grid that is no 32-bit number (%1: the register, %2: the text).
inline constexpr char kBadValue[] = QT_TRANSLATE_NOOP("Corvane", "%1: %2 is not a 32-bit number, please check!");
} // namespace CoreWindowText
