// Pixel sizes read from image file headers: the PNG IHDR chunk and the JPEG
// start-of-frame segment. Reads only within the bytes given.
#pragma once

#include "platform/uefi/UefiBase.h"

typedef struct {
  UINT32 Width;
  UINT32 Height;
  UINT8 Depth;       // PNG bit depth, JPEG sample precision
  UINT8 Layout;      // PNG colour type, JPEG component count
  BOOLEAN Interlaced; // PNG Adam7; JPEG progressive
} IMAGE_HEADER_INFO;

BOOLEAN ReadPngHeader(const UINT8 *File, UINTN Size, IMAGE_HEADER_INFO *Info);
BOOLEAN ReadJpegHeader(const UINT8 *File, UINTN Size, IMAGE_HEADER_INFO *Info);

inline UINT32 ReadBigEndian32(const UINT8 *Bytes) {
  return ((UINT32)Bytes[0] << 24) | ((UINT32)Bytes[1] << 16) | ((UINT32)Bytes[2] << 8) | Bytes[3];
}
inline UINT16 ReadBigEndian16(const UINT8 *Bytes) { return (UINT16)((Bytes[0] << 8) | Bytes[1]); }
inline UINT32 ReadLittleEndian32(const UINT8 *Bytes) {
  return (UINT32)Bytes[0] | ((UINT32)Bytes[1] << 8) | ((UINT32)Bytes[2] << 16) | ((UINT32)Bytes[3] << 24);
}
