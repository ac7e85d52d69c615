// The theme's images as the firmware published them: the HII package list
// on the driver's image handle (or, where the firmware publishes none, in
// the driver's resource section), walked block by block into the host's
// image table, each image's format and size checked against the theme's list.
#include "tests/firmware/host/Checks.h"
#include "tests/firmware/host/ExpectedFile.h"
#include "tests/firmware/host/ExpectedTheme.h"
#include "tests/firmware/host/HostFirmware.h"
#include "tests/firmware/host/HiiResource.h"
#include "tests/firmware/host/HostImages.h"
#include "tests/firmware/host/ImageHeaders.h"
#include "tests/firmware/host/PackageWalk.h"
#include "tests/firmware/host/Run.h"

namespace {

const EFI_GUID kPackageListProtocolGuid = HOST_HII_PACKAGE_LIST_PROTOCOL_GUID;
// {CA5BD025-1E18-4390-83BC-55F1F65D6C50}
const EFI_GUID kThemePackageListGuid = {0xCA5BD025, 0x1E18, 0x4390, {0x83, 0xBC, 0x55, 0xF1, 0xF6, 0x5D, 0x6C, 0x50}};

constexpr const char *kPublishedCheck = "image package on the driver's image handle";
constexpr UINT32 kMaxListLength = 64u * 1024 * 1024;
constexpr UINTN kDetailLines = 4;  // mismatches spelled out per check

// Interlaced PNG images: 100-102, 104-107, 111-116.
BOOLEAN ExpectInterlaced(UINT32 Id) {
  return (Id >= 100 && Id <= 102) || (Id >= 104 && Id <= 107) || (Id >= 111 && Id <= 116);
}

const EXPECTED_IMAGES *ExpectedImage(UINT32 Id) {
  for (const EXPECTED_IMAGES &Range : kImages) {
    if (Id >= Range.FirstId && Id <= Range.LastId) {
      return &Range;
    }
  }
  return nullptr;
}

// Tallies over all blocks, with the first few faults of each kind kept.
typedef struct {
  UINT32 Ids[kDetailLines];
  UINT32 Got[kDetailLines][2];
  UINTN Count;
} FAULTS;

void Note(FAULTS *Faults, UINT32 Id, UINT32 GotA, UINT32 GotB) {
  if (Faults->Count < kDetailLines) {
    Faults->Ids[Faults->Count] = Id;
    Faults->Got[Faults->Count][0] = GotA;
    Faults->Got[Faults->Count][1] = GotB;
  }
  Faults->Count++;
}

typedef struct {
  THEME_IMAGE *Table;
  UINTN Filled;
  UINTN BeyondTable;
  FAULTS Unreadable;
  FAULTS WrongFormat;
  FAULTS WrongSize;
  FAULTS NotRgba8;
  FAULTS WrongInterlace;
  FAULTS NotBaseline3;
  FAULTS NotAsDrawn;  // against the theme's image files, where listed
} TABLE_BUILD;

// CRC-32 (the zlib polynomial, reflected), bit by bit: the package is
// checked once per run.
UINT32 Crc32(const UINT8 *Data, UINT32 Length) {
  UINT32 Crc = 0xFFFFFFFF;
  for (UINT32 Index = 0; Index < Length; Index++) {
    Crc ^= Data[Index];
    for (int Bit = 0; Bit < 8; Bit++) {
      Crc = (Crc >> 1) ^ (0xEDB88320u & (0u - (Crc & 1)));
    }
  }
  return ~Crc;
}

void VisitBlock(VOID *Context, UINT32 Id, UINT8 BlockType, const UINT8 *File, UINT32 FileSize) {
  auto *Build = static_cast<TABLE_BUILD *>(Context);
  const BOOLEAN Jpeg = BlockType == HII_IMAGE_BLOCK_JPEG;
  const HOST_EXPECTATIONS *Expectations = HostExpectations();
  if (Expectations->ImagesListed) {
    const EXPECTED_IMAGE_FILE *Drawn = Id < EXPECTED_IMAGE_CAPACITY ? &Expectations->Images[Id] : nullptr;
    const UINT32 Crc = Crc32(File, FileSize);
    if (Drawn == nullptr || !Drawn->Listed || Drawn->Size != FileSize || Drawn->Crc != Crc) {
      Note(&Build->NotAsDrawn, Id, FileSize, Crc);
    }
  }
  IMAGE_HEADER_INFO Header = {};
  const BOOLEAN Readable = Jpeg ? ReadJpegHeader(File, FileSize, &Header) : ReadPngHeader(File, FileSize, &Header);
  if (!Readable) {
    Note(&Build->Unreadable, Id, BlockType, FileSize);
  }
  if (Id >= HOST_IMAGE_TABLE_ENTRIES) {
    Build->BeyondTable++;
    return;
  }
  SetEncodedImage(&Build->Table[Id], (UINT16)Id, BlockType, File, FileSize, Header.Width, Header.Height);
  Build->Filled++;
  const EXPECTED_IMAGES *Expected = ExpectedImage(Id);
  if (Expected == nullptr || !Readable) {
    return;
  }
  if (Expected->Jpeg != Jpeg) {
    Note(&Build->WrongFormat, Id, BlockType, 0);
  }
  if (Header.Width != Expected->Width || Header.Height != Expected->Height) {
    Note(&Build->WrongSize, Id, Header.Width, Header.Height);
  }
  if (!Jpeg && (Header.Depth != 8 || Header.Layout != 6)) {
    Note(&Build->NotRgba8, Id, Header.Depth, Header.Layout);
  }
  if (!Jpeg && Header.Interlaced != ExpectInterlaced(Id)) {
    Note(&Build->WrongInterlace, Id, Header.Interlaced, 0);
  }
  if (Jpeg && (Header.Interlaced || Header.Layout != 3)) {
    Note(&Build->NotBaseline3, Id, Header.Interlaced, Header.Layout);
  }
}

void ReportFaults(const char *Name, const FAULTS &Faults, UINTN Total, const char *What) {
  if (Faults.Count == 0) {
    Check(TRUE, Name, "all %llu images", (UINT64)Total);
    return;
  }
  Check(FALSE, Name, "%llu of %llu images differ", (UINT64)Faults.Count, (UINT64)Total);
  for (UINTN Index = 0; Index < Faults.Count && Index < kDetailLines; Index++) {
    Info("  image %u: %s %u, %u", Faults.Ids[Index], What, Faults.Got[Index][0], Faults.Got[Index][1]);
  }
}

void CheckBlocks(const PACKAGE_WALK &Walk, const TABLE_BUILD &Build) {
  const UINTN Blocks = Walk.PngBlocks + Walk.JpegBlocks;
  CheckDec("image package: image blocks", kThemeImageCount, Blocks);
  Check(Walk.JpegBlocks == 4 && Walk.PngBlocks == 164, "image package: PNG and JPEG blocks", "%u PNG, %u JPEG%s",
        Walk.PngBlocks, Walk.JpegBlocks, Walk.JpegBlocks == 4 && Walk.PngBlocks == 164 ? "" : " (expected 164, 4)");
  Check(Walk.EndBlockSeen && Walk.BytesAfterEndBlock == 0, "image package: END block closes it", "%s, %u bytes after",
        Walk.EndBlockSeen ? "END found" : "no END", Walk.BytesAfterEndBlock);
  CheckDec("image package: image information offset", 12, Walk.ImageInfoOffset);
  CheckDec("image package: palette information offset", 0, Walk.PaletteInfoOffset);
  ReportFaults("images readable (PNG IHDR, JPEG start of frame)", Build.Unreadable, Blocks, "block type, file bytes");
  ReportFaults("image formats by id", Build.WrongFormat, Blocks, "block type");
  if (HostExpectations()->ImagesListed) {
    ReportFaults("image files as the theme drew them", Build.NotAsDrawn, Blocks, "size, CRC-32");
  }
  ReportFaults("image sizes by id", Build.WrongSize, Blocks, "size");
  ReportFaults("PNG images are 8-bit RGBA", Build.NotRgba8, Walk.PngBlocks, "depth, colour type");
  ReportFaults("PNG interlacing by id", Build.WrongInterlace, Walk.PngBlocks, "interlaced");
  ReportFaults("JPEG images are baseline with three components", Build.NotBaseline3, Walk.JpegBlocks,
               "progressive, components");
}

// The package list the firmware published on the driver's image handle. A
// firmware without HII support publishes none; a setup screen there reads
// the list from the driver's resource section, as the firmware's loader
// would have, and so does this host. Null when neither has one.
const VOID *LocatePackageList(const HOST_RUN *Run) {
  VOID *Interface = nullptr;
  const EFI_STATUS Status =
      gHostBootServices->HandleProtocol(Run->Load.ImageHandle, &kPackageListProtocolGuid, &Interface);
  if (!EFI_ERROR(Status) && Interface != nullptr) {
    Check(TRUE, kPublishedCheck, "published by the firmware at 0x%llX", reinterpret_cast<UINT64>(Interface));
    return Interface;
  }
  const HOST_LOADED_IMAGE_PROTOCOL *Image = Run->Load.LoadedImage;
  HII_RESOURCE Resource;
  if (Image == nullptr || !FindHiiResource(static_cast<const UINT8 *>(Run->Load.File), Run->Load.FileSize,
                                           static_cast<const UINT8 *>(Image->ImageBase), Image->ImageSize,
                                           &Resource)) {
    Check(FALSE, kPublishedCheck, "none (HII package list protocol: status 0x%llX), nor in the driver's resources: %s",
          Status, Image == nullptr ? "no loaded image" : Resource.Problem);
    return nullptr;
  }
  NotApplicable(kPublishedCheck,
                "the firmware publishes no HII package list (status 0x%llX); read from the driver's resource "
                "section instead (%u bytes at RVA 0x%X)",
                Status, Resource.Size, Resource.Rva);
  return static_cast<const UINT8 *>(Image->ImageBase) + Resource.Rva;
}

}  // namespace

void BuildImageTableFromPackage(HOST_RUN *Run) {
  Step("package");
  if (!Check(CreateImageTable(), "image table allocated", "%u entries of 32 bytes", HOST_IMAGE_TABLE_ENTRIES)) {
    return;
  }
  const VOID *Interface = LocatePackageList(Run);
  if (Interface == nullptr) {
    Info("image table left empty: %u entries of 0 x 0", HOST_IMAGE_TABLE_ENTRIES);
    return;
  }
  const auto *List = static_cast<const UINT8 *>(Interface);
  const auto *Header = static_cast<const HOST_HII_PACKAGE_LIST_HEADER *>(Interface);
  Run->PackageFound = TRUE;
  Check(GuidEquals(&Header->PackageListGuid, &kThemePackageListGuid), "package list GUID", "%s",
        GuidEquals(&Header->PackageListGuid, &kThemePackageListGuid) ? "{CA5BD025-1E18-4390-83BC-55F1F65D6C50}"
                                                                    : "differs from the theme's");
  const BOOLEAN InImage = InsideDriverImage(Run, List) && InsideDriverImage(Run, List + Header->PackageLength - 1);
  Check(InImage, "package list lies in the driver image", "%u bytes at 0x%llX", Header->PackageLength,
        reinterpret_cast<UINT64>(List));
  if (Header->PackageLength > kMaxListLength || !InImage) {
    Check(FALSE, "package list length", "%u bytes, not walked", Header->PackageLength);
    return;
  }
  TABLE_BUILD Build = {};
  Build.Table = ImageTable();
  PACKAGE_WALK Walk;
  const BOOLEAN WellFormed = WalkPackageList(List, Header->PackageLength, &Walk, VisitBlock, &Build);
  if (WellFormed) {
    Check(TRUE, "package list well formed", "%u packages, end package last", Walk.PackageCount);
  } else {
    Check(FALSE, "package list well formed", "%s at offset %u (type 0x%02X)", Walk.Problem, Walk.ProblemOffset,
          Walk.ProblemValue);
  }
  CheckDec("image packages in the list", 1, Walk.ImagePackageCount);
  Check(Walk.ListLength == 20 + Walk.ImagePackageLength + 4 && Walk.PackageCount == 2, "package list length consistent",
        "list %u = header 20 + image package %u + end package 4", Walk.ListLength, Walk.ImagePackageLength);
  CheckBlocks(Walk, Build);
  Run->PackageImages = Build.Filled;
  Info("package: %u images (%u PNG, %u JPEG), list %u bytes, image package %u bytes", Walk.PngBlocks + Walk.JpegBlocks,
       Walk.PngBlocks, Walk.JpegBlocks, Walk.ListLength, Walk.ImagePackageLength);
  const THEME_IMAGE *Table = ImageTable();
  const BOOLEAN EntryZeroEmpty = Table[0].Width == 0 && Table[0].Height == 0 && ImageKind(&Table[0]) == HostImageEmpty;
  Check(EntryZeroEmpty, "image table entry 0 unused", "%s", EntryZeroEmpty ? "empty" : "a block landed in entry 0");
  Info("image table: entry 8 %ux%u, 27 %ux%u, 30 %ux%u, 168 %ux%u", Table[8].Width, Table[8].Height, Table[27].Width,
       Table[27].Height, Table[30].Width, Table[30].Height, Table[168].Width, Table[168].Height);
}
