// The host calls that every styling stage makes. The three brush functions
// make one new brush each (HostImageBrush asks GetImage first) and return the
// 32-bit MakeBrush result as the host gave it; a STATE_BRUSHES field keeps
// only its low 16 bits.
#pragma once

#include "host/HostAccess.h"

// Each brush function is inline for the styling engine's loop and out of
// line, under the shorter name, for the odd rows' functions.
inline UINT32 MakeColorBrush(UINT32 Argb, UINT32 Modifier) { return HostUi()->MakeBrush(nullptr, Argb, Modifier); }
UINT32 ColorBrush(UINT32 Argb, UINT32 Modifier);
// GetImage's answer goes to MakeBrush unchecked, null included.
inline UINT32 MakeHostImageBrush(UINT32 HostImageId) {
  THEME_IMAGE *Image = HostUi()->GetImage(HostImageId);
  return HostUi()->MakeBrush(Image, 0, 0);
}
UINT32 HostImageBrush(UINT32 HostImageId);
// The host-filled image table entry of the theme image.
UINT32 ThemeImageBrush(UINT32 ThemeImageId);

// Single host calls, inline: the styling of one object makes up to nineteen.
// SetStateBrushes for the object with the case's set.
inline void SendStateBrushes(UINT64 Object, UINT32 State, STATE_BRUSHES *Brushes) {
  HostUi()->SetStateBrushes(Object, State, Brushes);
}

// ObjectRequest whose result nobody reads.
inline void SendRequest(UINT64 Object, UINT64 Code, UINT64 Index, UINT64 Value) {
  HostUi()->ObjectRequest(Object, Code, Index, Value);
}

// GetObjectArea into a buffer of the stage's, then its first two values.
void ReadObjectArea(UINT64 Object, OBJECT_AREA *Area);
// SetObjectArea (Object, 0, Area, 0).
inline void WriteObjectArea(UINT64 Object, OBJECT_AREA *Area) { HostUi()->SetObjectArea(Object, 0, Area, 0); }
// Vertical + Change, wrapping in 32 bits whatever the host reported.
inline INT32 MoveVertical(INT32 Vertical, INT32 Change) { return WrappingAdd(Vertical, Change); }
