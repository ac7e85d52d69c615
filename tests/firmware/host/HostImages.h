// The host's images: the image table built from the theme's package, the
// host's own images kept under host image ids, and the pixel storage behind
// both. The host-owned bytes of a THEME_IMAGE hold the storage pointer, its
// size and what kind of storage it is.
#pragma once

#include "host/HostTypes.h"

#define HOST_IMAGE_TABLE_ENTRIES 169  // entry 0 unused, theme images 1..168

enum : UINT8 {
  HostImageEmpty = 0,
  HostImagePixels = 1,   // ARGB pixels from pool, Width x Height
  HostImageEncoded = 2,  // a PNG or JPEG file inside the package, not decoded
};

UINT8 ImageKind(const THEME_IMAGE *Image);
UINT32 *ImagePixels(const THEME_IMAGE *Image);
const UINT8 *ImageFile(const THEME_IMAGE *Image);
UINT32 ImageStorageBytes(const THEME_IMAGE *Image);
UINT16 ImageThemeId(const THEME_IMAGE *Image);  // for encoded entries

// Makes Image an undecoded entry for package file File of theme image Id.
void SetEncodedImage(THEME_IMAGE *Image, UINT16 Id, UINT8 BlockType, const UINT8 *File, UINT32 FileSize,
                     UINT32 Width, UINT32 Height);
// Gives Image fresh pixel storage of Width x Height (zeroed); sizes that
// are negative as INT32 or too large for pool leave it empty with size 0.
BOOLEAN AllocateImagePixels(THEME_IMAGE *Image, UINT32 Width, UINT32 Height);
void ReleaseImage(THEME_IMAGE *Image);
void FillImagePixels(THEME_IMAGE *Image, const HOST_RECT *Rect, UINT32 Argb);
// Destination becomes an independent copy of Source (pixels duplicated).
void DuplicateImage(THEME_IMAGE *Destination, const THEME_IMAGE *Source);
void BlitImagePixels(THEME_IMAGE *Destination, const THEME_IMAGE *Source, INT32 DestX, INT32 DestY, INT32 SourceX,
                     INT32 SourceY, INT32 Width, INT32 Height);
UINT32 ImagePixel(const THEME_IMAGE *Image, UINT32 X, UINT32 Y);

// The image table whose address the host writes into the record.
THEME_IMAGE *ImageTable();
BOOLEAN CreateImageTable();

// The host's writable record kept under HostImageId (created on first use,
// with the host's own image where it has one); null when the store is full.
THEME_IMAGE *HostImageSlot(UINT32 HostImageId);
// The image in effect for HostImageId: the theme's replacement when the
// active record maps the id to an image the table holds, else the host's own.
THEME_IMAGE *ResolveHostImage(UINT32 HostImageId);
// "ThemeImage(n)" for an entry of the image table, "HostImage(id)" for a
// record of the host's store; FALSE for any other address.
BOOLEAN NameImage(const VOID *Address, char *Name, UINTN Capacity);
// Where GetImage resolutions went, for the report.
UINTN ResolvedToTheme();
UINTN ResolvedToHost();
UINTN ResolvedToNothing();
