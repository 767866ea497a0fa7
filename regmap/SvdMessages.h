#pragma once

// The failure messages of the SVD walks, character for character.
namespace SvdMessages {

inline constexpr char kNoPeripherals[] = "[svd] peripherals not find !\n";
inline constexpr char kNoPeripheralName[] = "[svd] peripherals->peripheral->name not find !\n";
inline constexpr char kNoBaseAddress[] = "[svd] peripherals->peripheral->baseAddress not find!\n";
inline constexpr char kNoRegisterName[] = "[svd] peripherals->peripheral->registers->register->name  not find!\n";
inline constexpr char kNoAddressOffset[] =
    "[svd] peripherals->peripheral->registers->register->addressOffset  not find!\n";
inline constexpr char kNoFieldName[] =
    "[svd] peripherals->peripheral->registers->register->fields->field->name not find!\n";
inline constexpr char kNoBitOffset[] =
    "[svd] peripherals->peripheral->registers->register->fields->field->bitOffset not find!\n";
inline constexpr char kNoBitWidth[] =
    "[svd] peripherals->peripheral->registers->register->fields->field->bitWidth not find!\n";

} // namespace SvdMessages
