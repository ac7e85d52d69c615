// PI hand-off blocks as far as the driver reads them: the generic header,
// the GUID extension block, and the configuration-table GUID of the list.
// Layout only; no behaviour.
#pragma once

#include "platform/uefi/UefiBase.h"

// {7739F24C-93D7-11D4-9A3A-0090273FC14D}
#define EFI_HOB_LIST_GUID {0x7739F24C, 0x93D7, 0x11D4, {0x9A, 0x3A, 0x00, 0x90, 0x27, 0x3F, 0xC1, 0x4D}}

#define EFI_HOB_TYPE_GUID_EXTENSION 0x0004
#define EFI_HOB_TYPE_END_OF_HOB_LIST 0xFFFF

typedef struct {
  UINT16 HobType;
  UINT16 HobLength;  // of the whole block, this header included
  UINT32 Reserved;
} EFI_HOB_GENERIC_HEADER;
static_assert(sizeof(EFI_HOB_GENERIC_HEADER) == 8);
static_assert(offsetof(EFI_HOB_GENERIC_HEADER, HobType) == 0);
static_assert(offsetof(EFI_HOB_GENERIC_HEADER, HobLength) == 2);
static_assert(offsetof(EFI_HOB_GENERIC_HEADER, Reserved) == 4);

// The block's data follows Name.
typedef struct {
  EFI_HOB_GENERIC_HEADER Header;
  EFI_GUID Name;
} EFI_HOB_GUID_TYPE;
static_assert(sizeof(EFI_HOB_GUID_TYPE) == 24);
static_assert(offsetof(EFI_HOB_GUID_TYPE, Header) == 0);
static_assert(offsetof(EFI_HOB_GUID_TYPE, Name) == 8);
