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

enum PcdReadKind : UINT8 { PcdReadBool, PcdRead8, PcdRead32 };

// Local PCD token numbers are assigned by each platform's own build, so the
// driver's build names the eight it reads (THEME_PCD_TOKENS, in read order).
// Built with none (THEME_PCD_TOKENS_NONE), the driver makes no PCD call at
// all, not even the presence look-ups, and keeps the settings of a platform
// without PCD services.
#if defined(THEME_PCD_TOKENS_NONE)
constexpr BOOLEAN kReadsPcdSettings = FALSE;
constexpr UINT32 kPcdTokens[8] = {};
#elif defined(THEME_PCD_TOKENS)
constexpr BOOLEAN kReadsPcdSettings = TRUE;
constexpr UINT32 kPcdTokens[] = {THEME_PCD_TOKENS};
#else
#error "the build names the PCD tokens (THEME_PCD_TOKENS) or none (THEME_PCD_TOKENS_NONE)"
#endif
static_assert(sizeof(kPcdTokens) / sizeof(kPcdTokens[0]) == 8, "eight PCD token numbers");

struct PcdSetting {
  UINT32 Token;
  PcdReadKind Kind;
  UINT8 Field;  // offset in DEBUG_SETTINGS
};

// In the order the platform expects the reads.
constexpr PcdSetting kPcdSettings[] = {
    {kPcdTokens[0], PcdReadBool, offsetof(DEBUG_SETTINGS, PcdRead1)},
    {kPcdTokens[1], PcdReadBool, offsetof(DEBUG_SETTINGS, PcdRead2)},
    {kPcdTokens[2], PcdRead8, offsetof(DEBUG_SETTINGS, PcdRead3)},
    {kPcdTokens[3], PcdRead32, offsetof(DEBUG_SETTINGS, PcdRead4)},
    {kPcdTokens[4], PcdReadBool, offsetof(DEBUG_SETTINGS, PcdRead5)},
    {kPcdTokens[5], PcdRead32, offsetof(DEBUG_SETTINGS, PcdRead6)},
    {kPcdTokens[6], PcdRead32, offsetof(DEBUG_SETTINGS, PcdRead7)},
    {kPcdTokens[7], PcdRead8, offsetof(DEBUG_SETTINGS, PcdRead8)},
};

// Each read goes through GetPcdProtocol; a field whose protocol has gone
// missing keeps its zero.
void ReadPcdSetting(const PcdSetting &Setting) {
  PCD_PROTOCOL *Pcd = GetPcdProtocol();
  if (Pcd == nullptr) {
    return;
  }
  UINT8 *Field = reinterpret_cast<UINT8 *>(&gDebugSettings) + Setting.Field;
  switch (Setting.Kind) {
    case PcdReadBool:
      *Field = Pcd->GetBool(Setting.Token);
      return;
    case PcdRead8:
      *Field = Pcd->Get8(Setting.Token);
      return;
    case PcdRead32: {
      const UINT32 Value = Pcd->Get32(Setting.Token);
      CopyMem(Field, &Value, sizeof(Value));
      return;
    }
  }
}

}  // namespace

void ReadDebugSettings() {
  DEBUG_SETTINGS &Settings = gDebugSettings;
  ZeroMem(&Settings, sizeof(Settings));
  if (!kReadsPcdSettings || !ProtocolPresent(&gPcdProtocolGuid) || !ProtocolPresent(&gEfiPcdProtocolGuid)) {
    return;
  }
  Settings.Header = 0x0101;
  Settings.Level = 3;
  Settings.LineLimit = 0x0080;
  Settings.HaltOnError = 1;
  Settings.SecondHeader = 0x0202;
  Settings.SecondLevel = 2;
  Settings.Trailer = 2;
  for (const PcdSetting &Setting : kPcdSettings) {
    ReadPcdSetting(Setting);
  }
}

void ReportFailure(UINT32 Code) {
  if (gDebugSettings.HaltOnError == 1) {
    FatalCodeHalt(Code);
  }
}
