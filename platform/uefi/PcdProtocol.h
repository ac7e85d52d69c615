// The native PCD protocol (dynamic PCDs by token number) and the PI PCD
// protocol's GUID. Layout only; no behaviour.
#pragma once

#include "platform/uefi/UefiBase.h"

// {11B34006-D85B-4D0A-A290-D5A571310EF7}
#define PCD_PROTOCOL_GUID {0x11B34006, 0xD85B, 0x4D0A, {0xA2, 0x90, 0xD5, 0xA5, 0x71, 0x31, 0x0E, 0xF7}}
// {13A3F0F6-264A-3EF0-F2E0-DEC512342F34}
#define EFI_PCD_PROTOCOL_GUID {0x13A3F0F6, 0x264A, 0x3EF0, {0xF2, 0xE0, 0xDE, 0xC5, 0x12, 0x34, 0x2F, 0x34}}

// Each read takes a token number and returns the PCD's value.
typedef UINT8(EFIAPI *PCD_PROTOCOL_GET8)(UINTN TokenNumber);
typedef UINT16(EFIAPI *PCD_PROTOCOL_GET16)(UINTN TokenNumber);
typedef UINT32(EFIAPI *PCD_PROTOCOL_GET32)(UINTN TokenNumber);
typedef UINT64(EFIAPI *PCD_PROTOCOL_GET64)(UINTN TokenNumber);
typedef VOID *(EFIAPI *PCD_PROTOCOL_GET_POINTER)(UINTN TokenNumber);
typedef BOOLEAN(EFIAPI *PCD_PROTOCOL_GET_BOOLEAN)(UINTN TokenNumber);
typedef UINTN(EFIAPI *PCD_PROTOCOL_GET_SIZE)(UINTN TokenNumber);

typedef struct {
  VOID *SetSku;
  PCD_PROTOCOL_GET8 Get8;
  PCD_PROTOCOL_GET16 Get16;
  PCD_PROTOCOL_GET32 Get32;
  PCD_PROTOCOL_GET64 Get64;
  PCD_PROTOCOL_GET_POINTER GetPtr;
  PCD_PROTOCOL_GET_BOOLEAN GetBool;
  PCD_PROTOCOL_GET_SIZE GetSize;
  VOID *ExAndSetOperations[23];  // token-space reads, writes, callbacks, enumeration
} PCD_PROTOCOL;
static_assert(sizeof(PCD_PROTOCOL) == 31 * 8);
static_assert(offsetof(PCD_PROTOCOL, SetSku) == 0);
static_assert(offsetof(PCD_PROTOCOL, Get8) == 8);
static_assert(offsetof(PCD_PROTOCOL, Get16) == 16);
static_assert(offsetof(PCD_PROTOCOL, Get32) == 24);
static_assert(offsetof(PCD_PROTOCOL, Get64) == 32);
static_assert(offsetof(PCD_PROTOCOL, GetPtr) == 40);
static_assert(offsetof(PCD_PROTOCOL, GetBool) == 48);
static_assert(offsetof(PCD_PROTOCOL, GetSize) == 56);
static_assert(offsetof(PCD_PROTOCOL, ExAndSetOperations) == 64);
