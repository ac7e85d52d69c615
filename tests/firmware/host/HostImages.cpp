#include "tests/firmware/host/HostImages.h"

#include "host/ThemeProviderProtocol.h"
#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/HostTables.h"

namespace {

// Host-owned bytes 8..23 of a THEME_IMAGE, as this host lays them out.
typedef struct {
  UINT64 Storage;  // pixels or file bytes
  UINT32 StorageBytes;
  UINT8 Kind;
  UINT8 BlockType;
  UINT16 ThemeId;
} IMAGE_STORAGE;
static_assert(sizeof(IMAGE_STORAGE) == sizeof(THEME_IMAGE::HostOwned1));

IMAGE_STORAGE StorageOf(const THEME_IMAGE *Image) {
  IMAGE_STORAGE Storage;
  __builtin_memcpy(&Storage, Image->HostOwned1, sizeof(Storage));
  return Storage;
}

void SetStorage(THEME_IMAGE *Image, const IMAGE_STORAGE &Storage) {
  __builtin_memcpy(Image->HostOwned1, &Storage, sizeof(Storage));
}

// Larger images get their size but no pixels: the emulated machine is small.
constexpr UINT64 kMaxPixelBytes = 16u * 1024 * 1024;

typedef struct {
  UINT32 Id;
  THEME_IMAGE Record;
} HOST_IMAGE_SLOT;

constexpr UINTN kSlotCapacity = 256;
constinit HOST_IMAGE_SLOT mSlots[kSlotCapacity] = {};
constinit UINTN mSlotCount = 0;
constinit THEME_IMAGE *mImageTable = nullptr;
constinit UINTN mResolvedToTheme = 0;
constinit UINTN mResolvedToHost = 0;
constinit UINTN mResolvedToNothing = 0;

// The host's own images: ids it can show without any theme, and their sizes.
typedef struct {
  UINT32 FirstId;
  UINT32 LastId;
  UINT32 Width;
  UINT32 Height;
} HOST_OWN_IMAGES;

constexpr HOST_OWN_IMAGES kOwnImages[] = {
    {1, 1, 64, 36},         {9, 12, 48, 12},        {808, 810, 16, 32},     {876, 877, 16, 16},
    {1039, 1042, 14, 14},   {1046, 1050, 32, 32},   {1054, 1056, 240, 40},  {1104, 1108, 360, 52},
    {1291, 1292, 24, 24},   {1330, 1330, 64, 64},   {2098, 2110, 24, 24},   {2198, 2240, 24, 24},
    {2384, 2385, 24, 24},   {2569, 2569, 40, 40},   {3694, 3695, 14, 42},
};

const HOST_OWN_IMAGES *OwnImage(UINT32 HostImageId) {
  for (const HOST_OWN_IMAGES &Range : kOwnImages) {
    if (HostImageId >= Range.FirstId && HostImageId <= Range.LastId) {
      return &Range;
    }
  }
  return nullptr;
}

HOST_IMAGE_SLOT *FindSlot(UINT32 HostImageId) {
  for (UINTN Index = 0; Index < mSlotCount; Index++) {
    if (mSlots[Index].Id == HostImageId) {
      return &mSlots[Index];
    }
  }
  return nullptr;
}

}  // namespace

UINT8 ImageKind(const THEME_IMAGE *Image) { return StorageOf(Image).Kind; }
UINT32 *ImagePixels(const THEME_IMAGE *Image) {
  const IMAGE_STORAGE Storage = StorageOf(Image);
  return Storage.Kind == HostImagePixels ? reinterpret_cast<UINT32 *>(Storage.Storage) : nullptr;
}
const UINT8 *ImageFile(const THEME_IMAGE *Image) {
  const IMAGE_STORAGE Storage = StorageOf(Image);
  return Storage.Kind == HostImageEncoded ? reinterpret_cast<const UINT8 *>(Storage.Storage) : nullptr;
}
UINT32 ImageStorageBytes(const THEME_IMAGE *Image) { return StorageOf(Image).StorageBytes; }
UINT16 ImageThemeId(const THEME_IMAGE *Image) { return StorageOf(Image).ThemeId; }

void SetEncodedImage(THEME_IMAGE *Image, UINT16 Id, UINT8 BlockType, const UINT8 *File, UINT32 FileSize,
                     UINT32 Width, UINT32 Height) {
  ZeroBytes(Image, sizeof(*Image));
  Image->Width = Width;
  Image->Height = Height;
  SetStorage(Image, IMAGE_STORAGE{reinterpret_cast<UINT64>(File), FileSize, HostImageEncoded, BlockType, Id});
}

BOOLEAN AllocateImagePixels(THEME_IMAGE *Image, UINT32 Width, UINT32 Height) {
  // Earlier storage is not freed: records are copied by value, so another
  // record may still use it.
  SetStorage(Image, IMAGE_STORAGE{0, 0, HostImageEmpty, 0, 0});
  Image->Width = 0;
  Image->Height = 0;
  if ((INT32)Width < 0 || (INT32)Height < 0) {
    return FALSE;
  }
  Image->Width = Width;
  Image->Height = Height;
  const UINT64 Bytes = (UINT64)Width * Height * 4;
  if (Bytes == 0 || Bytes > kMaxPixelBytes) {
    return Bytes == 0;
  }
  VOID *Pixels = AllocateHostPool(Bytes);
  if (Pixels == nullptr) {
    return FALSE;
  }
  SetStorage(Image, IMAGE_STORAGE{reinterpret_cast<UINT64>(Pixels), (UINT32)Bytes, HostImagePixels, 0, 0});
  return TRUE;
}

void ReleaseImage(THEME_IMAGE *Image) {
  FreeHostPool(ImagePixels(Image));
  SetStorage(Image, IMAGE_STORAGE{0, 0, HostImageEmpty, 0, 0});
}

void FillImagePixels(THEME_IMAGE *Image, const HOST_RECT *Rect, UINT32 Argb) {
  UINT32 *Pixels = ImagePixels(Image);
  if (Pixels == nullptr) {
    return;
  }
  INT64 Left = 0, Top = 0, Right = Image->Width, Bottom = Image->Height;
  if (Rect != nullptr) {
    Left = Rect->Left > 0 ? Rect->Left : 0;
    Top = Rect->Top > 0 ? Rect->Top : 0;
    Right = Rect->Right < (INT64)Image->Width ? Rect->Right : Image->Width;
    Bottom = Rect->Bottom < (INT64)Image->Height ? Rect->Bottom : Image->Height;
  }
  for (INT64 Y = Top; Y < Bottom; Y++) {
    for (INT64 X = Left; X < Right; X++) {
      Pixels[Y * Image->Width + X] = Argb;
    }
  }
}

void DuplicateImage(THEME_IMAGE *Destination, const THEME_IMAGE *Source) {
  if (Destination == Source) {
    return;
  }
  THEME_IMAGE Copy;
  CopyBytes(&Copy, Source, sizeof(Copy));
  const UINT32 *SourcePixels = ImagePixels(Source);
  if (SourcePixels != nullptr && AllocateImagePixels(&Copy, Source->Width, Source->Height)) {
    CopyBytes(ImagePixels(&Copy), SourcePixels, (UINTN)Source->Width * Source->Height * 4);
  }
  Copy.Mode = Source->Mode;
  CopyBytes(Destination, &Copy, sizeof(Copy));
}

void BlitImagePixels(THEME_IMAGE *Destination, const THEME_IMAGE *Source, INT32 DestX, INT32 DestY, INT32 SourceX,
                     INT32 SourceY, INT32 Width, INT32 Height) {
  UINT32 *To = ImagePixels(Destination);
  const UINT32 *From = ImagePixels(Source);
  if (To == nullptr) {
    return;
  }
  for (INT64 Row = 0; Row < Height; Row++) {
    for (INT64 Column = 0; Column < Width; Column++) {
      const INT64 ToX = DestX + Column, ToY = DestY + Row, FromX = SourceX + Column, FromY = SourceY + Row;
      if (ToX < 0 || ToY < 0 || ToX >= Destination->Width || ToY >= Destination->Height) {
        continue;
      }
      UINT32 Pixel = 0xFF00FF00;  // an undecoded source shows as a marker colour
      if (From != nullptr) {
        if (FromX < 0 || FromY < 0 || FromX >= Source->Width || FromY >= Source->Height) {
          continue;
        }
        Pixel = From[FromY * Source->Width + FromX];
      }
      To[ToY * Destination->Width + ToX] = Pixel;
    }
  }
}

UINT32 ImagePixel(const THEME_IMAGE *Image, UINT32 X, UINT32 Y) {
  const UINT32 *Pixels = ImagePixels(Image);
  return Pixels != nullptr && X < Image->Width && Y < Image->Height ? Pixels[(UINTN)Y * Image->Width + X] : 0;
}

THEME_IMAGE *ImageTable() { return mImageTable; }

BOOLEAN CreateImageTable() {
  mImageTable = static_cast<THEME_IMAGE *>(AllocateHostPool(HOST_IMAGE_TABLE_ENTRIES * sizeof(THEME_IMAGE)));
  return mImageTable != nullptr;
}

THEME_IMAGE *HostImageSlot(UINT32 HostImageId) {
  HOST_IMAGE_SLOT *Slot = FindSlot(HostImageId);
  if (Slot != nullptr) {
    return &Slot->Record;
  }
  if (mSlotCount == kSlotCapacity) {
    return nullptr;
  }
  Slot = &mSlots[mSlotCount++];
  Slot->Id = HostImageId;
  const HOST_OWN_IMAGES *Own = OwnImage(HostImageId);
  if (Own != nullptr && AllocateImagePixels(&Slot->Record, Own->Width, Own->Height)) {
    FillImagePixels(&Slot->Record, nullptr, 0xFF000000u | (HostImageId * 0x9E3779u & 0xFFFFFFu));
  }
  return &Slot->Record;
}

THEME_IMAGE *ResolveHostImage(UINT32 HostImageId) {
  const THEME_PROVIDER_PROTOCOL *Record = ActiveRecord();
  if (Record != nullptr && Record->MapImage != nullptr && mImageTable != nullptr) {
    const UINTN ThemeId = Record->MapImage(HostImageId);
    if (ThemeId >= 1 && ThemeId < HOST_IMAGE_TABLE_ENTRIES && mImageTable[ThemeId].Width != 0) {
      mResolvedToTheme++;
      return &mImageTable[ThemeId];
    }
  }
  THEME_IMAGE *Own = (FindSlot(HostImageId) != nullptr || OwnImage(HostImageId) != nullptr)
                         ? HostImageSlot(HostImageId)
                         : nullptr;
  if (Own != nullptr && Own->Width != 0) {
    mResolvedToHost++;
    return Own;
  }
  mResolvedToNothing++;
  return nullptr;
}

BOOLEAN NameImage(const VOID *Address, char *Name, UINTN Capacity) {
  for (UINTN Id = 1; mImageTable != nullptr && Id < HOST_IMAGE_TABLE_ENTRIES; Id++) {
    if (Address == &mImageTable[Id]) {
      FormatTextTo(Name, Capacity, "ThemeImage(%llu)", (UINT64)Id);
      return TRUE;
    }
  }
  for (UINTN Index = 0; Index < mSlotCount; Index++) {
    if (Address == &mSlots[Index].Record) {
      FormatTextTo(Name, Capacity, "HostImage(%u)", mSlots[Index].Id);
      return TRUE;
    }
  }
  return FALSE;
}

UINTN ResolvedToTheme() { return mResolvedToTheme; }
UINTN ResolvedToHost() { return mResolvedToHost; }
UINTN ResolvedToNothing() { return mResolvedToNothing; }
