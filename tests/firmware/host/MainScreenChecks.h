// The main-screen set-up as the host sees it: the calls of a type-1
// notification and what they leave in the host's image store and table.
#pragma once

#include "host/ThemeProviderProtocol.h"

// Sends notification 1 and checks its calls and results. Pass is 1 for
// the first notification of the run and 2 for the one after it, which
// trims the already trimmed images again.
void NotifyMainScreen(const THEME_PROVIDER_PROTOCOL *Record, UINTN Pass);
