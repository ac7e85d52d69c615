// Puts the driver's state back to that of a freshly loaded image before each
// fuzz input: the first call keeps a copy of the state section.
#pragma once

#include "fakes/StateSection.h"

inline void RestoreFreshDriverState() {
  static const DriverStateCopy Fresh;
  Fresh.Restore();
}
