// The diagnostic library's settings, read from the platform configuration
// database at set-up, and the one rule every failure site follows.
#pragma once

#include "platform/uefi/PcdProtocol.h"

// Byte-packed: other platform code reads the settings by this layout. Only
// HaltOnError is read within this driver; PcdRead1 to PcdRead8 hold the
// values of the eight PCD reads, in read order (their token numbers are
// chosen when the driver is built: platform/DebugSettings.cpp).
#pragma pack(push, 1)
typedef struct {
  UINT16 Header;        // 0x0101
  UINT8 Level;          // 3
  UINT16 LineLimit;     // 0x0080
  UINT8 HaltOnError;    // 1: failures go to FatalCodeHalt
  BOOLEAN PcdRead1;
  BOOLEAN PcdRead2;
  UINT8 PcdRead3;
  UINT16 SecondHeader;  // 0x0202
  UINT8 SecondLevel;    // 2
  UINT32 PcdRead4;
  BOOLEAN PcdRead5;
  UINT32 PcdRead6;
  UINT32 PcdRead7;
  UINT8 PcdRead8;
  UINT8 Trailer;        // 2
} DEBUG_SETTINGS;
#pragma pack(pop)
static_assert(sizeof(DEBUG_SETTINGS) == 27);
static_assert(offsetof(DEBUG_SETTINGS, Header) == 0);
static_assert(offsetof(DEBUG_SETTINGS, Level) == 2);
static_assert(offsetof(DEBUG_SETTINGS, LineLimit) == 3);
static_assert(offsetof(DEBUG_SETTINGS, HaltOnError) == 5);
static_assert(offsetof(DEBUG_SETTINGS, PcdRead1) == 6);
static_assert(offsetof(DEBUG_SETTINGS, PcdRead2) == 7);
static_assert(offsetof(DEBUG_SETTINGS, PcdRead3) == 8);
static_assert(offsetof(DEBUG_SETTINGS, SecondHeader) == 9);
static_assert(offsetof(DEBUG_SETTINGS, SecondLevel) == 11);
static_assert(offsetof(DEBUG_SETTINGS, PcdRead4) == 12);
static_assert(offsetof(DEBUG_SETTINGS, PcdRead5) == 16);
static_assert(offsetof(DEBUG_SETTINGS, PcdRead6) == 17);
static_assert(offsetof(DEBUG_SETTINGS, PcdRead7) == 21);
static_assert(offsetof(DEBUG_SETTINGS, PcdRead8) == 25);
static_assert(offsetof(DEBUG_SETTINGS, Trailer) == 26);

extern DEBUG_SETTINGS gDebugSettings;
extern PCD_PROTOCOL *gPcdProtocol;
extern const EFI_GUID gPcdProtocolGuid;
extern const EFI_GUID gEfiPcdProtocolGuid;

// The cached PCD_PROTOCOL, located on first use; null when there is none.
PCD_PROTOCOL *GetPcdProtocol();

// Fills gDebugSettings: zeros, then the fixed values and the eight PCD reads
// when both PCD protocols are present.
void ReadDebugSettings();

// Passes Code to FatalCodeHalt when HaltOnError is 1; otherwise does nothing.
// Either way the caller carries on.
void ReportFailure(UINT32 Code);
