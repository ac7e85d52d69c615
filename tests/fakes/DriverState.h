// The driver keeps its record and firmware pointers in globals, as firmware
// code does. Each test starts from the values of a freshly loaded image and
// leaves them that way.
#pragma once

#include "entry/ThemeProvider.h"
#include "fakes/FakeBootServices.h"
#include "fakes/TraceFormat.h"
#include "platform/FirmwareTables.h"

class FreshDriverState {
 public:
  FreshDriverState() : Saved_(mThemeProvider) {
    ResetFirmwarePointers();
    TracePointerNames().Clear();
    TracePointerNames().Name(&mThemeProvider, "mThemeProvider");
    FakeBootServices::NameGuid(gThemeProviderProtocolGuid, "ThemeProvider");
  }
  ~FreshDriverState() {
    mThemeProvider = Saved_;
    ResetFirmwarePointers();
    TracePointerNames().Clear();
  }

 private:
  static void ResetFirmwarePointers() {
    gSystemTable = nullptr;
    gBootServices = nullptr;
    gRuntimeServices = nullptr;
    gLibSystemTable = nullptr;
    gLibBootServices = nullptr;
  }
  THEME_PROVIDER_PROTOCOL Saved_;
};
