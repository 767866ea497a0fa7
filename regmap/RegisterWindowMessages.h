#pragma once

#include <QtGlobal>

// Every text the register windows and their snapshot files show the user,
// in one place; the SVD walks' texts are in SvdMessages.h.
//
// These texts are a contract, character for character: their spelling
// (typos included), spacing, "!" and trailing line breaks are what users,
// scripts and the tests expect. Never tidy them. The same words with and
// without a line break, or with the blank before or after "!", are different
// texts for different places. Texts with % are printf formats
// (MessageText::Format) with the arguments named beside.
//
// Each text is marked for translations/*.ts and shown through Tr()
// (link/Tr.h); under the C locale it is shown as written here.
namespace RegisterWindowMessages {

// %s is the snapshot file's path.
// A load, an import, the capture's reload: the file cannot be read.
inline constexpr char kSnapshotOpen[] = QT_TRANSLATE_NOOP("Corvane", "%s open error! \n");
// A save, an export, a read from the chip: the file cannot be written.
inline constexpr char kSnapshotCreate[] = QT_TRANSLATE_NOOP("Corvane", "%s create error !\n");
// The register read and write: the file of the transfer cannot be used.
inline constexpr char kTransferOpen[] = QT_TRANSLATE_NOOP("Corvane", "%s open error !\n");
// The peripheral write's variant, without the line break.
inline constexpr char kPeripheralWriteOpen[] = QT_TRANSLATE_NOOP("Corvane", "%s open error !");

// %s is the peripheral's name: the grid has no base and span for it.
inline constexpr char kNoSpan[] = QT_TRANSLATE_NOOP("Corvane", "%s GetRegInfo error !\n");
inline constexpr char kPeripheralWriteNoSpan[] = QT_TRANSLATE_NOOP("Corvane", "%s GetRegInfo error !");

// Notes of a load: name, the peripheral's span, the file's length.
inline constexpr char kFileShort[] = QT_TRANSLATE_NOOP("Corvane", "%s size 0x%x > file len 0x%x, fill zero !\n");
inline constexpr char kFileLong[] =
    QT_TRANSLATE_NOOP("Corvane", "%s size 0x%x < file len 0x%x, remove following data !\n");

// Name, span, the transfer buffer's size.
inline constexpr char kSpanTooLarge[] =
    QT_TRANSLATE_NOOP("Corvane", "%s span 0x%x does not fit the 0x%x-byte transfer buffer, refused !\n");

// An edited value does not fit its register or field (a number of any
// length): the text typed, the register (or REGISTER.FIELD), its width in
// bits (a field's bits within its register).
inline constexpr char kOutOfRange[] = QT_TRANSLATE_NOOP("Corvane", "out of range !\n%s does not fit %s (%u bits)\n");
// An edited value is not wholly a number: the text typed, the window's base
// ("hexadecimal" or "decimal"), the register (or REGISTER.FIELD).
inline constexpr char kNotANumber[] = QT_TRANSLATE_NOOP("Corvane", "not a number !\n%s is no %s value for %s\n");
// The same for a field with enumerated values, which also takes their names
// (in any case): the text typed, the base, REGISTER.FIELD, the names
// ("OFF, FAST").
inline constexpr char kNotANumberNorName[] =
    QT_TRANSLATE_NOOP("Corvane", "not a number !\n%s is no %s value for %s, nor one of its names: %s\n");

// An edit of some bits of a register whose other bits are not known from
// the chip, which cannot be read to learn them: the register (or
// REGISTER.FIELD) edited, the register. Nothing changes.
inline constexpr char kEditReadChangesChip[] = QT_TRANSLATE_NOOP(
    "Corvane",
    "not read !\n%s: reading %s changes the chip, so its other bits are not known; read it first or type its whole "
    "value\n");
// The same where the chip table refuses the read: the names, then its refusal.
inline constexpr char kEditReadRefused[] = QT_TRANSLATE_NOOP(
    "Corvane", "not read !\n%s: %s cannot be read (%s), so its other bits are not known; type its whole value\n");
// A write that cannot start now: the register or peripheral. The rows of an
// immediate write go back to what they showed before the edit.
inline constexpr char kWriteBusy[] =
    QT_TRANSLATE_NOOP("Corvane", "not written !\n%s: another action runs; write it again once it has ended\n");

} // namespace RegisterWindowMessages
