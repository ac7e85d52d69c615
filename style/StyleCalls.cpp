// The brush functions and the area calls that the styling stages share.
#include "style/StyleCalls.h"

UINT32 ColorBrush(UINT32 Argb, UINT32 Modifier) { return HostUi()->MakeBrush(nullptr, Argb, Modifier); }

UINT32 HostImageBrush(UINT32 HostImageId) {
  THEME_IMAGE *Image = HostUi()->GetImage(HostImageId);
  return HostUi()->MakeBrush(Image, 0, 0);
}

UINT32 ThemeImageBrush(UINT32 ThemeImageId) { return HostUi()->MakeBrush(ThemeImageEntry(ThemeImageId), 0, 0); }

void ReadObjectArea(UINT64 Object, OBJECT_AREA *Area) {
  // The host promises two INT32 at the start; room for more costs nothing.
  INT32 Buffer[4] = {};
  HostUi()->GetObjectArea(Object, Buffer);
  Area->Horizontal = Buffer[0];
  Area->Vertical = Buffer[1];
}
