// The debug settings, read once at set-up from the platform configuration
// database when both PCD protocols are present.
#include "platform/DebugSettings.h"

#include "platform/Cpu.h"
#include "platform/DriverState.h"
#include "platform/FatalCode.h"
#include "platform/FirmwareTables.h"

DRIVER_STATE constinit DEBUG_SETTINGS gDebugSettings = {};
DRIVER_STATE constinit PCD_PROTOCOL *gPcdProtocol = nullptr;

constinit const EFI_GUID gPcdProtocolGuid = PCD_PROTOCOL_GUID;
constinit const EFI_GUID gEfiPcdProtocolGuid = EFI_PCD_PROTOCOL_GUID;

PCD_PROTOCOL *GetPcdProtocol() {
  if (gPcdProtocol == nullptr) {
    VOID *Interface = nullptr;
    gLibBootServices->LocateProtocol(&gPcdProtocolGuid, nullptr, &Interface);
    gPcdProtocol = static_cast<PCD_PROTOCOL *>(Interface);
  }
  return gPcdProtocol;
}

namespace {

// Presence only: the interfaces found here are not kept.
BOOLEAN ProtocolPresent(const EFI_GUID *Protocol) {
  VOID *Interface = nullptr;
  return !EFI_ERROR(gLibBootServices->LocateProtocol(Protocol, nullptr, &Interface));
}

}  // namespace

void ReadDebugSettings() {
  DEBUG_SETTINGS &Settings = gDebugSettings;
  ZeroMem(&Settings, sizeof(Settings));
  if (!ProtocolPresent(&gPcdProtocolGuid) || !ProtocolPresent(&gEfiPcdProtocolGuid)) {
    return;
  }
  Settings.Header = 0x0101;
  Settings.Level = 3;
  Settings.LineLimit = 0x0080;
  Settings.HaltOnError = 1;
  Settings.SecondHeader = 0x0202;
  Settings.SecondLevel = 2;
  Settings.Trailer = 2;
  // One read per statement: the platform may watch the order of the reads.
  Settings.Token1055 = GetPcdProtocol()->GetBool(1055);
  Settings.Token1427 = GetPcdProtocol()->GetBool(1427);
  Settings.Token1346 = GetPcdProtocol()->Get8(1346);
  Settings.Token1430 = GetPcdProtocol()->Get32(1430);
  Settings.Token1428 = GetPcdProtocol()->GetBool(1428);
  Settings.Token1355 = GetPcdProtocol()->Get32(1355);
  Settings.Token1354 = GetPcdProtocol()->Get32(1354);
  Settings.Token1429 = GetPcdProtocol()->Get8(1429);
}

void ReportFailure(UINT32 Code) {
  if (gDebugSettings.HaltOnError == 1) {
    FatalCodeHalt(Code);
  }
}
