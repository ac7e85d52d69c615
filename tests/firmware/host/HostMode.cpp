#include "tests/firmware/host/HostMode.h"

#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/DriverLoader.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/ShippingWays.h"

namespace {

struct MODE_NAME {
  HOST_MODE Mode;
  const char *Name;
};

constexpr MODE_NAME kModeNames[] = {
    {HostModeDriverFile, "driver-file"},
    {HostModeFirmwareVolume, "firmware-volume"},
    {HostModeLoadOption, "load-option"},
    {HostModeSecureBoot, "secure-boot"},
    {HostModeFatalCode, "fatal-code"},
    {HostModeFlash, "flash"},
};

// True when Text (Length bytes) is Name, followed only by line ends or spaces.
BOOLEAN NamesMode(const char *Text, UINTN Length, const char *Name) {
  UINTN At = 0;
  for (; Name[At] != 0; At++) {
    if (At >= Length || Text[At] != Name[At]) {
      return FALSE;
    }
  }
  for (; At < Length; At++) {
    if (Text[At] != '\r' && Text[At] != '\n' && Text[At] != ' ') {
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace

BOOLEAN ReadBootFile(const CHAR16 *Path, VOID **Data, UINTN *Size) {
  DRIVER_LOAD File = {};
  File.Path = Path;
  if (!ReadDriverFile(&File)) {
    char Name[64];
    NarrowText(Path, sizeof(Name) - 1, Name, sizeof(Name));
    Info("%s not read: %s (status 0x%llX)", Name, File.ReadFailure, File.ReadStatus);
    return FALSE;
  }
  *Data = File.File;
  *Size = File.FileSize;
  return TRUE;
}

HOST_MODE ReadHostMode() {
  DRIVER_LOAD File = {};
  File.Path = u"\\EFI\\BOOT\\HostMode.txt";
  if (!ReadDriverFile(&File)) {
    return HostModeDriverFile;
  }
  HOST_MODE Mode = HostModeUnknown;
  for (const MODE_NAME &Entry : kModeNames) {
    if (NamesMode(static_cast<const char *>(File.File), File.FileSize, Entry.Name)) {
      Mode = Entry.Mode;
    }
  }
  FreeHostPool(File.File);
  return Mode;
}

const char *HostModeName(HOST_MODE Mode) {
  for (const MODE_NAME &Entry : kModeNames) {
    if (Entry.Mode == Mode) {
      return Entry.Name;
    }
  }
  return "unknown";
}

BOOLEAN BringInDriver(HOST_RUN *Run, HOST_MODE Mode) {
  switch (Mode) {
    case HostModeDriverFile: return LoadAndStartDriver(Run);
    case HostModeFirmwareVolume: return DispatchFromFirmwareVolume(Run);
    case HostModeLoadOption: return LoadThroughLoadOption(Run);
    case HostModeSecureBoot: return LoadUnderSecureBoot(Run);
    case HostModeFatalCode: return LoadAndStartDriver(Run);
    case HostModeFlash: return FindDriverInFlash(Run);
    case HostModeUnknown: break;
  }
  return Check(FALSE, "host mode known", "\\EFI\\BOOT\\HostMode.txt names none of the modes");
}
