// The installed record, constant-initialised: the driver has no constructors
// to run, so every field must be final at link time.
#include "data/ThemeColorMap.h"
#include "data/ThemeQueries.h"
#include "data/ThemeTables.h"
#include "entry/ThemeProvider.h"
#include "platform/DriverState.h"
#include "screen/Screen.h"
#include "style/Style.h"

constinit const EFI_GUID gThemeProviderProtocolGuid = THEME_PROVIDER_PROTOCOL_GUID;

DRIVER_STATE constinit THEME_PROVIDER_PROTOCOL mThemeProvider = {
    .Name = {THEME_NAME_UNITS},
    .Version = THEME_PROVIDER_VERSION,
    .Signature = THEME_PROVIDER_SIGNATURE,
    .ImageHandle = nullptr,
    .Reserved1 = 0,
    .ImageTable = nullptr,
    .ThemeInfo = THEME_MAPPED_HOST_ID_COUNT,
    .UiTable = nullptr,
    .ServiceTable = nullptr,
    .Reserved2 = 0,
    .Notify = ThemeNotify,
    .GetColor = ThemeGetColor,
    .MapImage = ThemeMapImage,
    .StyleObject = ThemeStyleObject,
    .GetValue = ThemeGetValue,
    .GetRect = ThemeGetRect,
    .Reserved = ThemeReserved,
};

UINTN EFIAPI ThemeReserved(VOID) { return 0; }
