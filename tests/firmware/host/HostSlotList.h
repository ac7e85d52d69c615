// The slots of the host's two tables as the reference host knows them: its
// own copy, with the slot numbers written out, so that the driver's slot
// lists (host/*.def) are checked against something other than themselves.
// ReferenceHostSlots.AgreeWithTheDriversLists compares the two.
//   X (slot number, operation name, function-pointer type)
#pragma once

#define REFERENCE_HOST_UI_TABLE_SLOTS 183
#define REFERENCE_HOST_SERVICES_TABLE_SLOTS 61

#define REFERENCE_HOST_UI_SLOTS(X) \
  X(7, SetObjectAttribute, HOST_SET_OBJECT_ATTRIBUTE) \
  X(8, ObjectRequest, HOST_OBJECT_REQUEST) \
  X(11, ApplyDecoration, HOST_APPLY_DECORATION) \
  X(29, SetObjectArea, HOST_SET_OBJECT_AREA) \
  X(32, GetObjectTag, HOST_GET_OBJECT_TAG) \
  X(34, GetObjectParent, HOST_GET_OBJECT_PARENT) \
  X(45, GetObjectArea, HOST_GET_OBJECT_AREA) \
  X(46, GetObjectRect, HOST_GET_OBJECT_RECT) \
  X(47, QueryObjectValue, HOST_QUERY_OBJECT_VALUE) \
  X(48, BeginDraw, HOST_BEGIN_DRAW) \
  X(49, EndDraw, HOST_END_DRAW) \
  X(68, FindChild, HOST_FIND_CHILD) \
  X(76, CreateObject, HOST_CREATE_OBJECT) \
  X(95, GetImage, HOST_GET_IMAGE) \
  X(97, GetImageSlot, HOST_GET_IMAGE_SLOT) \
  X(100, AllocImage, HOST_ALLOC_IMAGE) \
  X(101, FreeImage, HOST_FREE_IMAGE) \
  X(104, CopyImageInto, HOST_COPY_IMAGE_INTO) \
  X(106, CopyImage, HOST_COPY_IMAGE) \
  X(109, BlitImage, HOST_BLIT_IMAGE) \
  X(111, FillImage, HOST_FILL_IMAGE) \
  X(123, DrawImageAt, HOST_DRAW_IMAGE_AT) \
  X(131, SetTextStyle, HOST_SET_TEXT_STYLE) \
  X(134, DrawText, HOST_DRAW_TEXT) \
  X(137, MeasureText, HOST_MEASURE_TEXT) \
  X(141, DrawImage, HOST_DRAW_IMAGE) \
  X(147, CopyText, HOST_COPY_TEXT) \
  X(150, ThemeAttached, HOST_THEME_ATTACHED) \
  X(151, ThemeDetached, HOST_THEME_DETACHED) \
  X(153, RemoveEventHook, HOST_REMOVE_EVENT_HOOK) \
  X(155, AddEventHook, HOST_ADD_EVENT_HOOK) \
  X(161, GetObjectFont, HOST_GET_OBJECT_FONT) \
  X(163, CallDefaultHandler, HOST_CALL_DEFAULT_HANDLER) \
  X(169, SetImageColor, HOST_SET_IMAGE_COLOR) \
  X(173, RefreshImages, HOST_REFRESH_IMAGES) \
  X(180, MakeBrush, HOST_MAKE_BRUSH) \
  X(182, SetStateBrushes, HOST_SET_STATE_BRUSHES)

#define REFERENCE_HOST_SERVICES_SLOTS(X) \
  X(3, ZeroBuffer, HOST_ZERO_BUFFER) \
  X(4, CopyBuffer, HOST_COPY_BUFFER) \
  X(39, SetRect, HOST_SET_RECT) \
  X(40, AdjustRect, HOST_ADJUST_RECT) \
  X(41, InflateRect, HOST_INFLATE_RECT) \
  X(46, RectWidth, HOST_RECT_WIDTH) \
  X(48, CenterOffset, HOST_CENTER_OFFSET) \
  X(58, ScaleRect, HOST_SCALE_RECT) \
  X(59, ScaleX, HOST_SCALE_X) \
  X(60, ScaleY, HOST_SCALE_Y)
