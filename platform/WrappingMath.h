// Pixel arithmetic that wraps in 32 bits rather than overflow: the host's
// positions and scaling are not the plug-in's to bound.
#pragma once

#include "platform/uefi/UefiBase.h"

inline INT32 WrappingAdd(INT32 Left, INT32 Right) { return (INT32)((UINT32)Left + (UINT32)Right); }
inline INT32 WrappingSub(INT32 Left, INT32 Right) { return (INT32)((UINT32)Left - (UINT32)Right); }
