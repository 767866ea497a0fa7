#pragma once

#include <QtGlobal>

// Every message text of the memory view's logic, in one place; the link's
// and the operations' own come from their catalogues.
//
// These texts are a contract, character for character. %1 is a
// QString::arg place.
//
// Each text is marked for translations/*.ts and shown through Tr()
// (link/Tr.h); under the C locale it is shown as written here.
namespace MemoryViewMessages {

// The address box's text is neither a name of the chip's SVD file nor a
// hexadecimal address.
inline constexpr char kNoAddress[] = QT_TRANSLATE_NOOP("Corvane", "no address %1, please check!");
// The length box's text is not wholly a hexadecimal number of 32 bits.
inline constexpr char kNoLength[] = QT_TRANSLATE_NOOP("Corvane", "no length %1, please check!");
// The find box's text is no byte sequence or 32-bit value.
inline constexpr char kNoPattern[] = QT_TRANSLATE_NOOP("Corvane", "no data to find, please check!");

// Beside a register (or a whole peripheral, %1 its name) whose SVD
// description cannot be read: whether reading it changes the chip is not
// known, so it is never read.
inline constexpr char kUnknownInSvd[] = QT_TRANSLATE_NOOP("Corvane", "%1 [SVD unreadable: not read]");

// The window closed while the link stayed busy: the typed units still
// queued were not written. %1: one "0x<address> = <value>" a line.
inline constexpr char kWritesNotDone[] =
    QT_TRANSLATE_NOOP("Corvane", "memory window closed while the link was busy, not written:\n%1");

} // namespace MemoryViewMessages
