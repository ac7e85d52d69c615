// The host calls that the styling stages share. Each brush function makes
// one new brush and returns the 32-bit MakeBrush result as the host gave it;
// a STATE_BRUSHES field keeps only its low 16 bits.
#pragma once

#include "host/HostAccess.h"
#include "platform/WrappingMath.h"

// MakeBrush (null, Argb, Modifier).
UINT32 ColorBrush(UINT32 Argb, UINT32 Modifier);
// GetImage (HostImageId), then MakeBrush of its answer, null included.
UINT32 HostImageBrush(UINT32 HostImageId);
// MakeBrush of the host-filled image table entry of the theme image.
UINT32 ThemeImageBrush(UINT32 ThemeImageId);

// GetObjectArea into a buffer of the stage's, then its first two values.
void ReadObjectArea(UINT64 Object, OBJECT_AREA *Area);
// SetObjectArea (Object, 0, Area, 0).
inline void WriteObjectArea(UINT64 Object, OBJECT_AREA *Area) { HostUi()->SetObjectArea(Object, 0, Area, 0); }
// Vertical + Change, wrapping in 32 bits whatever the host reported.
inline INT32 MoveVertical(INT32 Vertical, INT32 Change) { return WrappingAdd(Vertical, Change); }
