// The driver's one theme-provider record, mThemeProvider (declared with the
// host accessors), and the one operation that belongs to the record itself.
#pragma once

#include "host/HostAccess.h"

// Record slot 6: reads and writes nothing, returns 0.
UINTN EFIAPI ThemeReserved(VOID);
