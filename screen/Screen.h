// Screen and event customisation: the lifecycle notifications the host sends
// through record slot 0, the event hook registered on attachment, and the
// work both hand on to.
#pragma once

#include "host/HostTypes.h"

// Record slot 0. Types 0 (attach), 1 (main screen being built), 2 and
// 3 (detach); any other type is refused with EFI_INVALID_PARAMETER.
EFI_STATUS EFIAPI ThemeNotify(UINT32 Type);

// The hook the host calls with each of its events while the theme is
// attached. Handles paint, layout and create events and returns their
// result; every other event comes back HOOK_NOT_HANDLED, untouched.
UINT64 EFIAPI ThemeEventHook(HOST_EVENT *Event);

// The handle under which the host keeps the hook: written by AddEventHook,
// passed to RemoveEventHook and CallDefaultHandler, kept after removal.
extern UINT16 mEventHookHandle;

// Prepares the host's image store for the main screen and trims the
// border off the theme's button images. Repeats everything on every call.
void BuildMainScreen();

// Replaces theme image ThemeImageId in the host's image table by a copy
// less a thin border: 1 or 2 columns each side and 2 or 4 rows below.
void TrimImageBorder(UINT32 ThemeImageId);

// Paints the custom item of a paint event after the host's own handling.
void PaintCustomItem(HOST_EVENT *Event);

// Gives the target of a create event its icon child, when the host has the
// icon image and creates the child.
void AddIconChild(UINT64 Target);
