// The platform-wide heap-record list that drivers share, and the heap HOB
// that its records are built from. Layout only; no behaviour.
#pragma once

#include "platform/uefi/HobList.h"

// {AF62673D-DEDA-43AE-8F03-9C2D89FD78DA}
#define HEAP_RECORD_LIST_PROTOCOL_GUID \
  {0xAF62673D, 0xDEDA, 0x43AE, {0x8F, 0x03, 0x9C, 0x2D, 0x89, 0xFD, 0x78, 0xDA}}
// {D97D161A-16CD-4ADA-B9F6-AEC3F9FCCC2C}: Name of a GUID extension HOB that
// carries a HEAP_DESCRIPTOR.
#define HEAP_RECORD_HOB_GUID {0xD97D161A, 0x16CD, 0x4ADA, {0xB9, 0xF6, 0xAE, 0xC3, 0xF9, 0xFC, 0xCC, 0x2C}}

#define HEAP_DESCRIPTOR_SIGNATURE 0x50414548  // "HEAP"
#define HEAP_POOL_KIND_RUNTIME 8              // any other kind: boot-services data

typedef struct LIST_ENTRY {
  struct LIST_ENTRY *ForwardLink;
  struct LIST_ENTRY *BackLink;
} LIST_ENTRY;
static_assert(sizeof(LIST_ENTRY) == 16);
static_assert(offsetof(LIST_ENTRY, ForwardLink) == 0);
static_assert(offsetof(LIST_ENTRY, BackLink) == 8);

// Follows the EFI_HOB_GUID_TYPE header; Size payload bytes follow it.
typedef struct {
  UINT32 Signature;
  UINT32 Unread1;
  UINT32 Size;
  UINT8 PoolKind;
  UINT8 Active;  // only 1 is taken
  UINT8 Unread2[2];
} HEAP_DESCRIPTOR;
static_assert(sizeof(HEAP_DESCRIPTOR) == 16);
static_assert(offsetof(HEAP_DESCRIPTOR, Signature) == 0);
static_assert(offsetof(HEAP_DESCRIPTOR, Unread1) == 4);
static_assert(offsetof(HEAP_DESCRIPTOR, Size) == 8);
static_assert(offsetof(HEAP_DESCRIPTOR, PoolKind) == 12);
static_assert(offsetof(HEAP_DESCRIPTOR, Active) == 13);
static_assert(offsetof(HEAP_DESCRIPTOR, Unread2) == 14);

// The whole heap HOB up to its payload.
typedef struct {
  EFI_HOB_GUID_TYPE Header;
  HEAP_DESCRIPTOR Descriptor;
} HEAP_HOB;
static_assert(sizeof(HEAP_HOB) == 40);
static_assert(offsetof(HEAP_HOB, Descriptor) == 24);

// Allocated from pool, Descriptor.Size + 32 bytes, never freed; the payload
// copy follows the descriptor copy.
typedef struct {
  LIST_ENTRY Link;
  HEAP_DESCRIPTOR Descriptor;
} HEAP_RECORD;
static_assert(sizeof(HEAP_RECORD) == 32);
static_assert(offsetof(HEAP_RECORD, Link) == 0);
static_assert(offsetof(HEAP_RECORD, Descriptor) == 16);

// Published by the first driver that builds the list; later ones join it.
typedef struct {
  UINT64 Header;  // 1, never changed
  LIST_ENTRY Head;
} HEAP_RECORD_LIST_PROTOCOL;
static_assert(sizeof(HEAP_RECORD_LIST_PROTOCOL) == 24);
static_assert(offsetof(HEAP_RECORD_LIST_PROTOCOL, Header) == 0);
static_assert(offsetof(HEAP_RECORD_LIST_PROTOCOL, Head) == 8);
