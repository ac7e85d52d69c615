// Processor and memory primitives: the only way the driver reaches
// instructions, I/O ports and the physical diagnostic window. The driver
// links the real instructions (CpuX64.cpp); the host tests link a simulated
// machine in their place.
#pragma once

#include "platform/uefi/UefiBase.h"

// Memory. The driver links its own memcpy and memset; the host build takes
// the C library's.
inline void CopyMem(VOID *Destination, const VOID *Source, UINTN Length) {
  __builtin_memcpy(Destination, Source, Length);
}
inline void ZeroMem(VOID *Destination, UINTN Length) { __builtin_memset(Destination, 0, Length); }

typedef struct {
  UINT32 Eax;
  UINT32 Ebx;
  UINT32 Ecx;
  UINT32 Edx;
} CPUID_RESULT;

// CPUID with the leaf in EAX and the sub-leaf in ECX.
CPUID_RESULT CpuId(UINT32 Leaf, UINT32 SubLeaf);
UINT64 ReadTsc();
void CpuPause();
UINT64 ReadMsr(UINT32 Index);

UINT8 IoRead8(UINT16 Port);
void IoWrite8(UINT16 Port, UINT8 Value);
void IoWrite16(UINT16 Port, UINT16 Value);
void IoWrite32(UINT16 Port, UINT32 Value);

// The diagnostic window of physical memory. Each call is one volatile access
// of the named width at Offset from the window's start; the caller keeps
// Offset + width within DIAG_WINDOW_SIZE.
#define DIAG_WINDOW_BASE 0x8A00000ULL
#define DIAG_WINDOW_SIZE 0x1000000ULL
UINT8 WindowRead8(UINTN Offset);
UINT32 WindowRead32(UINTN Offset);
void WindowWrite8(UINTN Offset, UINT8 Value);
void WindowWrite16(UINTN Offset, UINT16 Value);
void WindowWrite32(UINTN Offset, UINT32 Value);

// Asks the execution environment about a fatal code: CPUID leaf 0xBACCD00B
// with EBX 2 and ECX Code, SI's low 16 bits cleared before it. Returns the
// EAX that CPUID delivered with its low 16 bits replaced by SI's, which only
// an environment that services this leaf itself makes non-zero. RBX, RCX,
// RDX, RSI and the flags are as they were.
UINT32 EnvironmentProbe(UINT32 Code);
