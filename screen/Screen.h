// Screen and event customisation: the lifecycle notifications the host sends
// through record slot 0, the event hook registered on attachment, and the
// work both hand on to.
#pragma once

#include "host/HostTypes.h"

/**
  Record slot 0: where the host stands. Type 0 registers ThemeEventHook and
  announces the theme (ThemeAttached); 1 prepares the main screen
  (BuildMainScreen); 2 does nothing; 3 removes the hook and announces the
  detachment (ThemeDetached).

  @param[in] Type  0 attach, 1 main screen being built, 2, 3 detach.

  @retval EFI_SUCCESS            Types 1 and 2.
  @return                        Types 0 and 3: the status that ThemeAttached
                                 or ThemeDetached returned.
  @retval EFI_INVALID_PARAMETER  Any other type; no host call was made.
**/
EFI_STATUS EFIAPI ThemeNotify(UINT32 Type);

/**
  The hook that the host calls with each of its events while the theme is
  attached. A paint event (512) runs the host's default handling, then
  PaintCustomItem; a layout event (635) narrows the HOST_RECT at Data; a
  create event (2327) runs the default handling, then AddIconChild. Each of
  the three gets 0 written into Result.

  @param[in,out] Event  The host's event record, passed on whole.

  @retval 0                 The event was one of the three.
  @retval HOOK_NOT_HANDLED  Any other event, or a layout event without a
                            rectangle; no host call, Event untouched.
**/
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
