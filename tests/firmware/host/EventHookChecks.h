// The event hook as the host's event dispatch reaches it while the theme
// is attached: its registration, the three events it handles and the ones
// it passes back.
#pragma once

#include "tests/firmware/host/Run.h"

void CheckEventHook(const HOST_RUN *Run);
