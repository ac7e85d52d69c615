// The one form in which the driver's code writes a colour that it sends: Argb
// (the default theme's value). A theme's build maps each default colour to
// the theme's own here, when the driver is compiled; the default theme maps
// every colour to itself. Numbers that are not colours (requests, masks,
// modifiers) are written as they are, never through Argb.
#pragma once

#include "platform/uefi/UefiBase.h"

consteval UINT32 Argb(UINT32 DefaultArgb) { return DefaultArgb; }
