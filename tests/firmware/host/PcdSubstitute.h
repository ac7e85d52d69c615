// The host's stand-in for the firmware's PCD protocol: it answers the
// platform debug-setting tokens with known values, passes every other read
// and every other operation to the firmware's own interface, and records
// each read of the known tokens.
#pragma once

#include "platform/uefi/UefiBase.h"

enum : UINT8 { PcdReadBool = 1, PcdRead8 = 8, PcdRead16 = 16, PcdRead32 = 32, PcdRead64 = 64, PcdReadOther = 0 };

typedef struct {
  UINTN Token;
  UINT8 Width;  // one of the PcdRead values
} PCD_READ;

typedef enum {
  PcdSubstituteReinstalled,  // the firmware's interface was replaced in place
  PcdSubstituteInstalled,    // the firmware had none; ours is on a new handle
  PcdSubstituteFailed,
} PCD_SUBSTITUTE_RESULT;

PCD_SUBSTITUTE_RESULT InstallPcdSubstitute(EFI_STATUS *Status);
// Puts the firmware's own interface back.
EFI_STATUS RemovePcdSubstitute();

// Makes sure the PI PCD protocol is present too; returns true when the
// firmware had it, false when the host installed a stand-in.
BOOLEAN EnsurePiPcdProtocol(EFI_STATUS *Status);

// For a driver the firmware dispatched before the host ran: reports whether
// the platform has the two PCD protocols, and leaves them as they are.
void ReportPlatformPcd();

UINTN PcdReadCount();
const PCD_READ *PcdReadAt(UINTN Index);
// Reads of tokens other than the known ones, passed on to the firmware.
UINTN PcdForeignReadCount();
// The value the substitute serves for a known token.
UINT32 PcdKnownValue(UINTN Token, BOOLEAN *Known);

// Look-ups of the two PCD protocols through the boot services while the
// host brings the driver in, in order: "Pcd PiPcd Pcd" for the default
// driver, nothing for one built to read no PCD.
void WatchPcdLookups();
void StopWatchingPcdLookups();
// The look-ups seen, as "Pcd" and "PiPcd" separated by spaces ("" for none).
const char *PcdLookupsSeen();
