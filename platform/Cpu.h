// Processor and memory primitives: the only way the driver reaches
// instructions, I/O ports and the physical diagnostic window. The driver
// links the real instructions (CpuX64.cpp); the host tests link a simulated
// machine in their place.
#pragma once

#include "platform/uefi/UefiBase.h"

// Memory. The driver links its own memcpy and memset; the host build takes
// the C library's.

/**
  Copies Length bytes from Source to Destination, which must not overlap.
**/
inline void CopyMem(VOID *Destination, const VOID *Source, UINTN Length) {
  __builtin_memcpy(Destination, Source, Length);
}

/**
  Sets Length bytes from Destination on to 0.
**/
inline void ZeroMem(VOID *Destination, UINTN Length) { __builtin_memset(Destination, 0, Length); }

typedef struct {
  UINT32 Eax;
  UINT32 Ebx;
  UINT32 Ecx;
  UINT32 Edx;
} CPUID_RESULT;

/**
  Executes CPUID.

  @param[in] Leaf     Goes into EAX.
  @param[in] SubLeaf  Goes into ECX.

  @return EAX, EBX, ECX and EDX as the processor left them. A leaf above the
          processor's highest gives whatever the processor gives for it;
          callers check the highest leaf first.
**/
CPUID_RESULT CpuId(UINT32 Leaf, UINT32 SubLeaf);

/**
  @return The time-stamp counter (RDTSC), EDX in the upper half.
**/
UINT64 ReadTsc();

/**
  Executes PAUSE: a hint inside a wait loop, no other effect.
**/
void CpuPause();

/**
  Executes RDMSR. A register that the processor lacks raises a
  general-protection fault: callers read only registers that CPUID says
  are there.

  @param[in] Index  The model-specific register, into ECX.

  @return The register, EDX in the upper half.
**/
UINT64 ReadMsr(UINT32 Index);

/**
  @param[in] Port  The I/O port.

  @return One byte read from Port (IN, 8 bits).
**/
UINT8 IoRead8(UINT16 Port);

/**
  Writes Value to Port as one OUT of the width of Value: 8, 16 or 32 bits.
**/
void IoWrite8(UINT16 Port, UINT8 Value);
void IoWrite16(UINT16 Port, UINT16 Value);
void IoWrite32(UINT16 Port, UINT32 Value);

// The diagnostic window of physical memory.
#define DIAG_WINDOW_BASE 0x8A00000ULL
#define DIAG_WINDOW_SIZE 0x1000000ULL

/**
  Reads or writes the diagnostic window: one volatile access of the width
  the name gives, at its physical address, in program order, never merged
  with another or served from a copy.

  @param[in] Offset  From the window's start; the caller keeps Offset plus
                     the width within DIAG_WINDOW_SIZE.
  @param[in] Value   What a write stores.

  @return What a read found.
**/
UINT8 WindowRead8(UINTN Offset);
UINT32 WindowRead32(UINTN Offset);
void WindowWrite8(UINTN Offset, UINT8 Value);
void WindowWrite16(UINTN Offset, UINT16 Value);
void WindowWrite32(UINTN Offset, UINT32 Value);

/**
  Asks the execution environment about a fatal code: CPUID leaf 0xBACCD00B
  with EBX 2 and ECX Code, SI's low 16 bits cleared before it. RBX, RCX,
  RDX, RSI and the flags are as they were on entry.

  @param[in] Code  The fatal code, into ECX.

  @return The EAX that CPUID delivered with its low 16 bits replaced by SI's:
          they are 0 on a processor, and non-zero only where an environment
          services this leaf itself and wants the caller to go on.
**/
UINT32 EnvironmentProbe(UINT32 Code);
