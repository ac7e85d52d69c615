// The diagnostic log in the fixed physical window: a 16-byte header, then
// the logged bytes, oldest first. Other firmware continues the same log.
#pragma once

#include "platform/uefi/UefiBase.h"

#define MEMORY_LOG_SIGNATURE 0x4D454D44  // "DMEM"
#define MEMORY_LOG_MARKER1 0x55AA55AA
#define MEMORY_LOG_MARKER2 0xBB66BB66

// Window offsets of the header fields and the data area.
#define MEMORY_LOG_SIGNATURE_AT 0
#define MEMORY_LOG_MARKER1_AT 4
#define MEMORY_LOG_WRITE_OFFSET_AT 8
#define MEMORY_LOG_MARKER2_AT 12
#define MEMORY_LOG_DATA_AT 16
#define MEMORY_LOG_DATA_SIZE 0xFFFFF0
// The oldest bytes dropped when a message does not fit.
#define MEMORY_LOG_DISCARD 0x400000

// Failure codes, reported only when HaltOnError is 1.
#define FATAL_MEMORY_LOG_MESSAGE_TOO_LONG 0x20850309
#define FATAL_UNKNOWN_STORE_WIDTH 0x00010320

// Width codes of StoreByWidth; the same plus 128 name the same width.
#define STORE_WIDTH_8 1
#define STORE_WIDTH_16 2
#define STORE_WIDTH_32 3

// TRUE on the bootstrap processor when the header is intact and its
// WriteOffset lies within the window.
BOOLEAN MemoryLogIsValid();
// Creates an empty log unless a valid one is already in place.
void MemoryLogInitialize();
// Appends Length bytes, making room by dropping the oldest when needed. A
// message that cannot fit even then is dropped whole.
void MemoryLogWrite(const UINT8 *Data, UINTN Length);
// Copies one value of the width that Code names from Source to the window at
// WindowOffset, as one access; an unknown code copies nothing.
void StoreByWidth(UINT32 Code, UINTN WindowOffset, const VOID *Source);
