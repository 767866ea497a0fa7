#pragma once

#include <cstdint>

// Control of the stand-in probe library from the process that loaded it.
// Resolve these by name from the same library file the binding loaded.
//
// Faults (StandIn_SetFault, or "fault NAME [N]" in the configuration file):
//   no-probe       no probe attached (the probe list is emptied)
//   select         JLINK_EMU_SelectByUSBSN fails (-1)
//   open           JLINK_Open fails, JLINK_IsOpen then reports 0
//   not-connected  JLINK_EMU_IsConnected reports 0
//   connect        JLINK_Connect fails (-1), from the fromCall-th connect on
//   probe-arrives  a probe is plugged in right after the next count-only
//                  JLINK_EMU_GetList, so the list call reports one more
//                  probe than records it was given
//   huge-count     the count-only JLINK_EMU_GetList reports 0x7FFFFFFF probes
//   short-read     JLINK_ReadMemEx moves and reports one byte less, from the
//                  fromCall-th read after the fault was set on (1: every read)
//   short-write    the same for JLINK_WriteMemEx
//   regrdy-never   the core never sets S_REGRDY in DHCSR after a selector is
//                  written to DCRSR
//
// The core: DHCSR, DCRSR and DCRDR at 0xE000EDF0 answer as a Cortex-M33's
// debug registers over a register file; JLINK_Halt and the DHCSR halt request
// halt it, JLINK_Go and the run request let it run. With a memory file the
// halt of JLINK_Halt and JLINK_Go is kept in DHCSR's word there, for the next
// process that loads the file.
//
// Call log: one line per call, in order, e.g.
//   JLINK_EMU_GetList 1 null 0
//   JLINK_EMU_GetList 1 array 2
//   JLINK_EMU_SelectByUSBSN 123456
//   JLINK_ExecCommand "device=CORTEX-M33" null 0
//   JLINK_ReadMemEx 0x20000000 0x10 4
// Functions without arguments log their name alone ("JLINK_Open").
//
// Environment, read when the library loads:
//   JLINK_STANDIN_CONFIG  start-state file (see StandInConfig.h)
//   JLINK_STANDIN_LOG     file each call line is appended to

extern "C" {

// Back to the start state: configured probes and faults (default: one probe,
// 123456, no fault), memory from the memory file or empty, nothing open, an
// empty call log.
void StandIn_Reset(void);
void StandIn_SetProbes(const uint32_t *serialNumbers, int count);
// Adds one fault; 0 when the name is unknown, 1 otherwise.
int StandIn_SetFault(const char *fault, int fromCall);
// Names the memory file (empty: none) and loads it.
void StandIn_SetMemoryFile(const char *path);
void StandIn_Poke(uint32_t address, const uint8_t *bytes, uint32_t count);
void StandIn_Peek(uint32_t address, uint8_t *into, uint32_t count);
void StandIn_PokeWord(uint32_t address, uint32_t word);
uint32_t StandIn_PeekWord(uint32_t address);
// The core's register file by DCRSR selector.
void StandIn_SetCoreRegister(uint32_t selector, uint32_t value);
uint32_t StandIn_CoreRegister(uint32_t selector);
// Copies the call log (lines ending in '\n') into `into`, cut to size - 1
// and terminated; returns the full length.
int StandIn_CallLog(char *into, int size);
void StandIn_ClearCallLog(void);

} // extern "C"
