// The host behind the record's two table pointers: every slot of the UI
// table and the services table that the plug-in may call, with host objects,
// brushes, event hooks, draw contexts and the screen scaling behind them.
// Slots the tables do not name are traps that log the call.
#pragma once

#include "host/ThemeProviderProtocol.h"

HOST_UI_TABLE *HostUiTable();
HOST_SERVICES_TABLE *HostServicesTable();

// The record the host serves; GetImage resolves through its MapImage.
void SetActiveRecord(THEME_PROVIDER_PROTOCOL *Record);
THEME_PROVIDER_PROTOCOL *ActiveRecord();

// Screen size that the scaling services map the 1920 x 1080 design space to.
void SetScreenMode(UINT32 Width, UINT32 Height);
UINT32 ScreenWidth();
UINT32 ScreenHeight();
INT32 ScaleDesignX(INT32 DesignUnits);
INT32 ScaleDesignY(INT32 DesignUnits);

// Host UI objects, as the run creates them for styling and events.
typedef struct {
  UINT64 Handle;
  UINT16 Class;
  UINT16 PartCode;
  UINT32 ObjectId;
  UINT16 Tag;
  UINT64 Parent;
  HOST_RECT Rect;
  INT32 AreaHorizontal;
  INT32 AreaVertical;
  UINT32 Value;             // what QueryObjectValue reports
  const CHAR16 *Text;       // request 615
  UINT64 SelectedIndex;     // request 1550
  UINT64 HasPicture;        // request 852269
  UINT32 Kind;              // for objects the plug-in created
  UINTN StateBrushSets;
  UINTN Requests;
  UINTN Attributes;
  UINTN AreaWrites;
} HOST_OBJECT;

UINT64 CreateHostObject(UINT16 Class, UINT16 PartCode, UINT32 ObjectId, UINT64 Parent);
HOST_OBJECT *FindHostObject(UINT64 Handle);
UINTN HostObjectCount();

typedef struct {
  HOST_EVENT_HOOK Hook;
  UINT32 Group;
  UINT32 Flags;
  UINT16 Handle;
  BOOLEAN Registered;
} HOST_HOOK_STATE;

typedef struct {
  UINTN Attached;
  UINTN Detached;
  THEME_PROVIDER_PROTOCOL *LastAttached;
  THEME_PROVIDER_PROTOCOL *LastDetached;
  HOST_HOOK_STATE Hook;
  UINTN HooksAdded;
  UINTN HooksRemoved;
  UINTN BrushesMade;
  UINTN DecorationsApplied;
  UINTN DrawContextsOpen;
  UINTN DrawContextsOpened;
  UINTN ImagesRefreshed;
  UINTN ImageTints;
} HOST_STATE;

const HOST_STATE *HostState();

// What MakeBrush answers for the brush made Ordinal-th (from 0).
UINT32 HostBrushId(UINTN Ordinal);

// The name a call log gives a value: "obj<n>" for the n-th host object,
// "text<n>" for its text, "ctx<n>" for the n-th draw context, "record" for the active record, and the
// image names of the host's store. FALSE for any other value.
BOOLEAN NameHostValue(UINT64 Value, char *Name, UINTN Capacity);
