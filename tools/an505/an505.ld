/* Code in the secure alias of SSRAM1, where the board's secure vector table
 * sits after reset; counters and stack in the secure alias of the internal
 * SRAM (the non-secure view is 0x20000000). */
MEMORY
{
  CODE (rx) : ORIGIN = 0x10000000, LENGTH = 64K
  RAM (rw)  : ORIGIN = 0x30000000, LENGTH = 32K
}
ENTRY(Reset_Handler)
SECTIONS
{
  .text : { KEEP(*(.vectors)) *(.text*) *(.rodata*) } > CODE
  .counters (NOLOAD) : { KEEP(*(.counters)) } > RAM
  .bss (NOLOAD) : { *(.bss*) *(COMMON) } > RAM
  __stack_top = ORIGIN(RAM) + LENGTH(RAM);
}
