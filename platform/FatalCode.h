// The fatal-code display: the end of every failure path of the library.
#pragma once

#include "platform/uefi/UefiBase.h"

#define FATAL_MARKER_PORT 0xE0
#define FATAL_MARKER 0xDEAD
#define POST_CODE_PORT 0x80

// Shows Code on the POST port and halts in an endless display of 0xDEAD and
// the code. Returns FALSE only when the execution environment answered the
// probe. Callers decide whether to call it; it does not look at the settings.
BOOLEAN FatalCodeHalt(UINT32 Code);

// Time-stamp counter frequency in Hz, cached once it is known (0: not yet).
extern UINT64 gTscFrequency;
// The frequency from the first enabled P-state definition, 256 where none is
// enabled. Where the processor has no P-state definition registers, the
// frequency it reports in CPUID leaf 0x15 or else 0x16; 256 where it reports
// neither.
UINT64 GetTscFrequency();
// Holds one display step for 2.5 seconds of time-stamp counter ticks.
void WaitDisplayStep();
