// The driver's one theme-provider record, mThemeProvider (declared with the
// host accessors), and the one operation that belongs to the record itself.
#pragma once

#include "host/HostAccess.h"

/**
  Record slot 6: reserved. Reads and writes nothing, also before the host
  wrote any table pointer.

  @return 0, always.
**/
UINTN EFIAPI ThemeReserved(VOID);
