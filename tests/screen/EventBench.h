// What the screen tests share: a fresh driver attached to a recording host,
// and one host event aimed at a named object whose result starts as a value
// the theme never writes, so that an untouched result shows.
#pragma once

#include "fakes/DriverState.h"
#include "fakes/RecordingHost.h"
#include "screen/Screen.h"

constexpr UINT64 kObject = 0x0B1E0001;
constexpr UINT64 kUntouched = 0x5A5A5A5A5A5A5A5AULL;

struct EventBench {
  EventBench() {
    Host.AttachTo(&mThemeProvider);
    Host.Name(&Event, "event");
    Host.Name(kObject, "obj");
    Event.Target = kObject;
    Event.Result = kUntouched;
  }
  FreshDriverState Fresh;
  RecordingHost Host;
  HOST_EVENT Event{};
};
