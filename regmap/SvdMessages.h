#pragma once

#include <QtGlobal>

// The failure messages of the SVD walks, character for character.
//
// Each text is marked for translations/*.ts and shown through Tr()
// (link/Tr.h); under the C locale it is shown as written here.
namespace SvdMessages {

inline constexpr char kNoPeripherals[] = QT_TRANSLATE_NOOP("Corvane", "[svd] peripherals not find !\n");
inline constexpr char kNoPeripheralName[] =
    QT_TRANSLATE_NOOP("Corvane", "[svd] peripherals->peripheral->name not find !\n");
inline constexpr char kNoBaseAddress[] =
    QT_TRANSLATE_NOOP("Corvane", "[svd] peripherals->peripheral->baseAddress not find!\n");
inline constexpr char kNoRegisterName[] =
    QT_TRANSLATE_NOOP("Corvane", "[svd] peripherals->peripheral->registers->register->name  not find!\n");
inline constexpr char kNoAddressOffset[] =
    QT_TRANSLATE_NOOP("Corvane", "[svd] peripherals->peripheral->registers->register->addressOffset  not find!\n");
inline constexpr char kNoFieldName[] =
    QT_TRANSLATE_NOOP("Corvane", "[svd] peripherals->peripheral->registers->register->fields->field->name not find!\n");
inline constexpr char kNoBitOffset[] = QT_TRANSLATE_NOOP(
    "Corvane", "[svd] peripherals->peripheral->registers->register->fields->field->bitOffset not find!\n");
inline constexpr char kNoBitWidth[] = QT_TRANSLATE_NOOP(
    "Corvane", "[svd] peripherals->peripheral->registers->register->fields->field->bitWidth not find!\n");

// With the element's name (%1) and what it could not be (%2 and on).
inline constexpr char kNoDerivedFrom[] = QT_TRANSLATE_NOOP("Corvane", "[svd] %1 derivedFrom %2 not find!\n");
inline constexpr char kDimTooLarge[] = QT_TRANSLATE_NOOP("Corvane", "[svd] %1 dim %2 over %3!\n");    // text, limit
inline constexpr char kNotANumber[] = QT_TRANSLATE_NOOP("Corvane", "[svd] %1 %2 %3 not a number!\n"); // tag, text
inline constexpr char kTooManyElements[] = QT_TRANSLATE_NOOP("Corvane", "[svd] %1 expands to more than %2 elements!\n");
inline constexpr char kClustersTooDeep[] = QT_TRANSLATE_NOOP("Corvane", "[svd] %1 clusters nested deeper than %2!\n");
// A register, cluster copy or peripheral whose addresses would wrap round.
inline constexpr char kAddressWraps[] = QT_TRANSLATE_NOOP("Corvane", "[svd] %1 address past 0xFFFFFFFF !\n");
// A peripheral whose registers cover the whole 4 GiB: its span has no 32-bit value.
inline constexpr char kSpanTooLarge[] = QT_TRANSLATE_NOOP("Corvane", "[svd] %1 span past 0xFFFFFFFF !\n");

} // namespace SvdMessages
