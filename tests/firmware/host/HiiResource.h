// Finds the HII package list that a PE32+ image carries in its resource
// section, the way a UEFI image loader finds it to publish: the data of the
// first name and first language under the resource type named "HII". The
// host uses it where the firmware publishes no package list itself.
#pragma once

#include "platform/uefi/UefiBase.h"

typedef struct {
  UINT32 Rva;           // of the package list, within the loaded image
  UINT32 Size;
  const char *Problem;  // why none was found, null when one was
} HII_RESOURCE;

// The image file's headers name the resource directory; the tree and the
// data are read from the loaded image, by RVA. Reads only within FileSize
// bytes of File and ImageSize bytes of Image.
BOOLEAN FindHiiResource(const UINT8 *File, UINTN FileSize, const UINT8 *Image, UINTN ImageSize, HII_RESOURCE *Found);
