// Main-screen set-up: whenever the host builds its main screen, the theme
// makes two swatches and two panels in the host's image store, copies and
// tints host images, sets the mode of four more, and trims its own button
// images. No state: every call repeats all of it on what the store holds.
#include "data/ThemeColorMap.h"
#include "data/ThemeQueries.h"
#include "host/HostAccess.h"
#include "screen/Screen.h"

namespace {

// Mode values belong to the host; the theme only writes them.
constexpr UINT8 kSwatchMode = 1;
constexpr UINT8 kSharedImageMode = 4;

constexpr UINT32 kReferenceImage = 1039;  // the panels take its width and three times its height
constexpr UINT32 kFilledPanel = 3694;
constexpr UINT32 kFramedPanel = 3695;
constexpr UINT32 kFilledPanelArgb = Argb(0xFF615B58);
constexpr UINT32 kFramedPanelInsideArgb = Argb(0xFF1E1B1A);  // the frame itself stays as allocated
constexpr INT32 kPanelFrame = 3;

typedef struct {
  UINT32 HostImageId;
  UINT32 Width;
  UINT32 Height;
  UINT32 Argb;
} SOLID_SWATCH;

constexpr SOLID_SWATCH kDarkSwatch = {877, 48, 40, Argb(0xFF666F75)};
constexpr SOLID_SWATCH kLightSwatch = {876, 25, 25, Argb(0xFFDDDDDD)};

// Host images copied over others: destination slot, then source image.
typedef struct {
  UINT16 Destination;
  UINT16 Source;
} IMAGE_COPY;

constexpr IMAGE_COPY kPlainCopies[] = {
    {1046, 1049},
    {1047, 1050},
};

// Each source is copied into two slots; each copy is tinted with its own
// palette colour, looked up anew for every tint.
constexpr INT32 kAccentColor = 108;
constexpr INT32 kPaleColor = 104;

typedef struct {
  UINT16 Source;
  UINT16 AccentCopy;
  UINT16 PaleCopy;
} TINTED_COPIES;

constexpr TINTED_COPIES kTintedCopies[] = {
    {2228, 2198, 2098}, {2229, 2199, 2099}, {2230, 2200, 2100}, {2231, 2201, 2101}, {2232, 2202, 2102},
    {2233, 2203, 2103}, {2234, 2204, 2104}, {2235, 2205, 2105}, {2236, 2206, 2106}, {2237, 2207, 2107},
    {2238, 2208, 2108}, {2239, 2209, 2109}, {2240, 2210, 2110},
};

constexpr UINT32 kTintMask = 0xFFFFFFFF;

constexpr UINT32 kSharedModeImages[] = {808, 809, 810, 811};

// The theme's button images whose border is trimmed, in this order.
constexpr UINT8 kTrimmedThemeImages[] = {27, 28, 29, 30, 31, 32, 33, 34};

// Images of this width or more lose twice as much border.
constexpr INT32 kWideImage = 400;

void MakeSwatch(const SOLID_SWATCH &Swatch) {
  THEME_IMAGE *Image = HostUi()->GetImageSlot(Swatch.HostImageId);
  if (Image == nullptr) {
    return;
  }
  HostUi()->AllocImage(Image, Swatch.Width, Swatch.Height);
  HostUi()->FillImage(Image, nullptr, Swatch.Argb);
  Image->Mode = kSwatchMode;
}

// A fresh image of the reference's width and three times its height.
THEME_IMAGE *MakePanel(UINT32 HostImageId, const THEME_IMAGE &Reference) {
  THEME_IMAGE *Panel = HostUi()->GetImageSlot(HostImageId);
  if (Panel != nullptr) {
    HostUi()->AllocImage(Panel, Reference.Width, 3 * Reference.Height);
  }
  return Panel;
}

void MakePanels() {
  const THEME_IMAGE *Reference = HostUi()->GetImage(kReferenceImage);
  if (Reference == nullptr) {
    return;
  }
  if (THEME_IMAGE *Panel = MakePanel(kFilledPanel, *Reference)) {
    HostUi()->FillImage(Panel, nullptr, kFilledPanelArgb);
  }
  if (THEME_IMAGE *Panel = MakePanel(kFramedPanel, *Reference)) {
    HOST_RECT Inside = {};
    HostServices()->SetRect(&Inside, 0, 0, (INT32)Panel->Width, (INT32)Panel->Height);
    HostServices()->InflateRect(&Inside, -kPanelFrame, -kPanelFrame);
    HostUi()->FillImage(Panel, &Inside, kFramedPanelInsideArgb);
  }
}

void CopyPlainImages() {
  for (const IMAGE_COPY &Copy : kPlainCopies) {
    THEME_IMAGE *Source = HostUi()->GetImage(Copy.Source);
    THEME_IMAGE *Destination = HostUi()->GetImageSlot(Copy.Destination);
    if (Source != nullptr && Destination != nullptr) {
      HostUi()->CopyImage(Destination, Source);
    }
  }
}

void CopyAndTint(UINT32 Destination, THEME_IMAGE *Source, INT32 ColorIndex) {
  THEME_IMAGE *Slot = HostUi()->GetImageSlot(Destination);
  if (Source != nullptr && Slot != nullptr) {
    HostUi()->CopyImageInto(Slot, Source);
  }
  HostUi()->SetImageColor(Destination, kTintMask, ThemeColor(ColorIndex));
}

void CopyTintedImages() {
  for (const TINTED_COPIES &Copies : kTintedCopies) {
    THEME_IMAGE *Source = HostUi()->GetImage(Copies.Source);
    CopyAndTint(Copies.AccentCopy, Source, kAccentColor);
    CopyAndTint(Copies.PaleCopy, Source, kPaleColor);
  }
}

void SetSharedImageModes() {
  for (UINT32 HostImageId : kSharedModeImages) {
    if (THEME_IMAGE *Image = HostUi()->GetImage(HostImageId)) {
      Image->Mode = kSharedImageMode;
    }
  }
}

}  // namespace

void BuildMainScreen() {
  MakeSwatch(kDarkSwatch);
  MakePanels();
  HostUi()->RefreshImages();
  MakeSwatch(kLightSwatch);
  CopyPlainImages();
  CopyTintedImages();
  SetSharedImageModes();
  for (UINT8 ThemeImageId : kTrimmedThemeImages) {
    TrimImageBorder(ThemeImageId);
  }
}

void TrimImageBorder(UINT32 ThemeImageId) {
  THEME_IMAGE *Entry = ThemeImageEntry(ThemeImageId);
  const INT32 Width = (INT32)Entry->Width;
  const INT32 Height = (INT32)Entry->Height;
  const INT32 Border = Width < kWideImage ? 2 : 4;
  // Nothing to keep: an image smaller than its border stays as it is.
  if (Width < Border || Height < Border) {
    return;
  }
  THEME_IMAGE Trimmed = {};
  HostUi()->AllocImage(&Trimmed, (UINT32)(Width - Border), (UINT32)(Height - Border));
  // Half the border off each side, all of it off the bottom.
  HostUi()->BlitImage(&Trimmed, Entry, 0, 0, Border / 2, 0, Width - Border, Height - Border, 0, nullptr);
  HostUi()->FreeImage(Entry);
  HostServices()->CopyBuffer(Entry, &Trimmed, sizeof(Trimmed));
}
