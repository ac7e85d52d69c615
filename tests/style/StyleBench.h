// Styling cases run the way the host runs them: ThemeStyleObject through the
// installed record, against a fresh recording host per case, comparing the
// whole trace. Brush ids are wide (0x9E5A1001, ... with junk above bit 31),
// so a state set shows the low 16 bits and every request, attribute and
// descriptor value shows the whole 32-bit brush.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fakes/DriverState.h"

namespace style_bench {

inline constexpr UINT64 kObject = 0x0B1E00000000D00DULL;
inline constexpr UINT64 kChild = 0x0B1E00000000C001ULL;
inline constexpr UINT64 kParent = 0x0B1E00000000A001ULL;
inline constexpr UINT64 kSibling = 0x0B1E00000000B001ULL;

// Host images the stages ask GetImage for; each prints as HostImage(id).
inline constexpr UINT32 kHostImages[] = {9, 1055, 1104, 1105, 1106, 1107, 1108, 1862, 2198, 2203, 2228, 2233, 2384, 2385, 2569};

struct STYLE_CASE {
  const char *Name;
  UINT16 Class;
  UINT16 PartCode;
  UINT32 ObjectId;
  const char *Expected;
  void (*Script)(RecordingHost &Host) = nullptr;  // answers the case needs
};

inline void NameHandles(RecordingHost &Host) {
  Host.Name(kObject, "obj");
  Host.Name(kChild, "child");
  Host.Name(kParent, "parent");
  Host.Name(kSibling, "sibling");
  for (UINT32 Id : kHostImages) {
    Host.Name(&Host.Image(Id), "HostImage(" + std::to_string(Id) + ")");
  }
}

// One case from a freshly loaded driver; the result must be 0 whatever the
// stages did.
inline void RunStyleCase(const STYLE_CASE &Case) {
  SCOPED_TRACE(Case.Name);
  FreshDriverState Fresh;
  RecordingHost Host;
  Host.AttachTo(&mThemeProvider);
  Host.UseWideBrushIds();
  NameHandles(Host);
  if (Case.Script != nullptr) {
    Case.Script(Host);
  }
  EXPECT_EQ(mThemeProvider.StyleObject(kObject, Case.Class, Case.PartCode, Case.ObjectId), 0u);
  EXPECT_TRACE(Host, Case.Expected);
}

template <size_t Count>
void RunStyleCases(const STYLE_CASE (&Cases)[Count]) {
  for (const STYLE_CASE &Case : Cases) {
    RunStyleCase(Case);
  }
}

}  // namespace style_bench
