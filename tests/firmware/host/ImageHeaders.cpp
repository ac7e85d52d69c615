#include "tests/firmware/host/ImageHeaders.h"

namespace {

constexpr UINT8 kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Signature, chunk length, "IHDR", 13 bytes of header data.
constexpr UINTN kPngHeaderEnd = 8 + 4 + 4 + 13;

// Start-of-frame markers: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
BOOLEAN IsStartOfFrame(UINT8 Marker) {
  return Marker >= 0xC0 && Marker <= 0xCF && Marker != 0xC4 && Marker != 0xC8 && Marker != 0xCC;
}

// Markers that stand alone, without a length: TEM and RST0..RST7.
BOOLEAN IsStandalone(UINT8 Marker) { return Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD7); }

}  // namespace

BOOLEAN ReadPngHeader(const UINT8 *File, UINTN Size, IMAGE_HEADER_INFO *Info) {
  if (File == nullptr || Size < kPngHeaderEnd) {
    return FALSE;
  }
  for (UINTN Index = 0; Index < sizeof(kPngSignature); Index++) {
    if (File[Index] != kPngSignature[Index]) {
      return FALSE;
    }
  }
  if (ReadBigEndian32(File + 8) != 13 || File[12] != 'I' || File[13] != 'H' || File[14] != 'D' || File[15] != 'R') {
    return FALSE;
  }
  Info->Width = ReadBigEndian32(File + 16);
  Info->Height = ReadBigEndian32(File + 20);
  Info->Depth = File[24];
  Info->Layout = File[25];
  Info->Interlaced = File[28] == 1;
  return Info->Width != 0 && Info->Height != 0;
}

BOOLEAN ReadJpegHeader(const UINT8 *File, UINTN Size, IMAGE_HEADER_INFO *Info) {
  if (File == nullptr || Size < 4 || File[0] != 0xFF || File[1] != 0xD8) {
    return FALSE;
  }
  UINTN Offset = 2;
  while (Offset + 1 < Size) {
    if (File[Offset] != 0xFF) {
      return FALSE;
    }
    // Any number of fill bytes may precede a marker.
    while (Offset + 1 < Size && File[Offset + 1] == 0xFF) {
      Offset++;
    }
    if (Offset + 1 >= Size) {
      return FALSE;
    }
    const UINT8 Marker = File[Offset + 1];
    Offset += 2;
    if (IsStandalone(Marker)) {
      continue;
    }
    if (Marker == 0xD9 || Marker == 0xDA || Offset + 2 > Size) {
      return FALSE;  // image end or scan data before any frame header
    }
    const UINT16 Length = ReadBigEndian16(File + Offset);
    if (Length < 2 || Offset + Length > Size) {
      return FALSE;
    }
    if (IsStartOfFrame(Marker)) {
      if (Length < 8) {
        return FALSE;
      }
      Info->Depth = File[Offset + 2];
      Info->Height = ReadBigEndian16(File + Offset + 3);
      Info->Width = ReadBigEndian16(File + Offset + 5);
      Info->Layout = File[Offset + 7];
      Info->Interlaced = Marker == 0xC2 || Marker == 0xC6 || Marker == 0xCA || Marker == 0xCE;
      return Info->Width != 0 && Info->Height != 0;
    }
    Offset += Length;
  }
  return FALSE;
}
