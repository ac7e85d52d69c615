// Each test starts from the state of a freshly loaded image and leaves it
// that way. Every mutable global of the driver is defined DRIVER_STATE and so
// lies in one section of the host build; the fixture saves that section by
// value and restores it, so a new global cannot be forgotten here.
#pragma once

#include <cstring>
#include <vector>

#include "entry/ThemeProvider.h"
#include "fakes/FakeBootServices.h"
#include "fakes/TraceFormat.h"
#include "platform/FirmwareTables.h"

extern "C" char __start_theme_driver_state[];
extern "C" char __stop_theme_driver_state[];

class FreshDriverState {
 public:
  FreshDriverState() : Saved_(__start_theme_driver_state, __stop_theme_driver_state) {
    TracePointerNames().Clear();
    TracePointerNames().Name(&mThemeProvider, "mThemeProvider");
    FakeBootServices::NameGuid(gThemeProviderProtocolGuid, "ThemeProvider");
  }
  ~FreshDriverState() {
    memcpy(__start_theme_driver_state, Saved_.data(), Saved_.size());
    TracePointerNames().Clear();
  }

 private:
  std::vector<char> Saved_;
};
