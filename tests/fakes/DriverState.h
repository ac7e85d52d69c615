// Each test starts from the state of a freshly loaded image and leaves it
// that way: the fixture saves the driver's state section and restores it.
#pragma once

#include "entry/ThemeProvider.h"
#include "fakes/FakeBootServices.h"
#include "fakes/StateSection.h"
#include "fakes/TraceFormat.h"
#include "platform/FirmwareTables.h"

class FreshDriverState {
 public:
  FreshDriverState() {
    TracePointerNames().Clear();
    TracePointerNames().Name(&mThemeProvider, "mThemeProvider");
    FakeBootServices::NameGuid(gThemeProviderProtocolGuid, "ThemeProvider");
  }
  ~FreshDriverState() {
    Saved_.Restore();
    TracePointerNames().Clear();
  }

 private:
  DriverStateCopy Saved_;
};
