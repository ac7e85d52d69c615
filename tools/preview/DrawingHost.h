// A setup-screen host that really draws: the image operations of the host's
// UI table work on pixels, the services scale the 1920 x 1080 design space to
// a chosen screen, and every styling call is recorded in the stages' own
// notation. One host is active at a time; the tables' functions reach it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "data/ThemeTables.h"
#include "host/ThemeProviderProtocol.h"
#include "tools/preview/Canvas.h"

namespace preview {

class Fonts;

// What a brush was made of, as the host saw the MakeBrush call.
struct BrushInfo {
  std::string Notation;   // Color(0xFF7A726F, 1), HostImage(1104), ThemeImage(168)
  uint32_t Argb = 0;
  uint32_t Modifier = 0;
  const Pixmap *Image = nullptr;  // the image's pixels when the brush was made
};

// One object's styling as the host received it.
struct StyledObject {
  std::vector<std::string> Calls;  // every call, in order, in notation
  // State -> its four BRUSH_ID fields as last set; keep and none included.
  std::map<uint32_t, std::vector<uint16_t>> States;
};

// The answers the host gives about the object being styled.
struct ObjectAnswers {
  uint16_t Tag = 0;
  uint64_t RequestResult = 0;  // for requests whose result the stages test
  int32_t AreaHorizontal = 320;
  int32_t AreaVertical = 240;
};

// Object handles the host hands out; the trace names them.
inline constexpr uint64_t kStyledObjectHandle = 0x5100;
inline constexpr uint64_t kParentObjectHandle = 0x5200;
inline constexpr uint64_t kChildObjectHandle = 0x5300;
inline constexpr uint64_t kCustomItemHandle = 0x5400;

class DrawingHost {
 public:
  DrawingHost(int32_t ScreenWidth, int32_t ScreenHeight);
  ~DrawingHost();
  DrawingHost(const DrawingHost &) = delete;
  DrawingHost &operator=(const DrawingHost &) = delete;

  // Writes the three host pointers into the record, as a real host does;
  // the host's destructor clears them again.
  void AttachTo(THEME_PROVIDER_PROTOCOL *Record);

  // Fills the image table: Images[k - 1] becomes theme image k.
  void LoadThemeImages(const std::vector<Pixmap> &Images);

  // A new image record with pixels of its own (for tests and host images).
  THEME_IMAGE NewImage(const Pixmap &Pixels);
  // The pixels a record holds, or null when it has none.
  const Pixmap *PixelsOf(const THEME_IMAGE *Image) const;
  Pixmap *PixelsOf(const THEME_IMAGE *Image);

  // The record in effect for a host image id: the slot the plug-in wrote,
  // else the theme's replacement, else the host's own (a stand-in pattern).
  THEME_IMAGE *ImageInEffect(uint32_t HostImageId);
  // Host image ids whose slot the plug-in asked for, in id order.
  std::vector<uint32_t> SlotIds() const;

  // Scaling of the design space to the screen.
  int32_t ScaleX(int32_t DesignUnits) const;
  int32_t ScaleY(int32_t DesignUnits) const;
  int32_t ScreenWidth() const { return ScreenWidth_; }
  int32_t ScreenHeight() const { return ScreenHeight_; }

  // Styling: the next ThemeStyleObject call is recorded into a fresh record.
  void BeginStyling(const ObjectAnswers &Answers);
  void EndStyling() { Styling_ = false; }
  const StyledObject &Styled() const { return Styled_; }
  const BrushInfo *FindBrush(uint32_t BrushId) const;

  // Events: the hook the plug-in registered, and the screen it draws on.
  HOST_EVENT_HOOK Hook() const { return Hook_; }
  uint16_t HookHandle() const { return HookHandle_; }
  bool HookRegistered() const { return HookRegistered_; }
  Pixmap Screen;
  HOST_RECT CustomItemRect{};          // where the painted item lies on Screen
  // Calls outside styling, in order; the runner takes them phase by phase.
  std::vector<std::string> HostCalls;

  Fonts *Text = nullptr;  // for the text the plug-in draws; none = no text

  HOST_UI_TABLE Ui;
  HOST_SERVICES_TABLE Services;
  THEME_IMAGE ImageTable[THEME_IMAGE_COUNT + 1];  // entry n is theme image n; entry 0 unused

  // Reached by the table functions.
  static DrawingHost &Active();
  struct Operations;

 private:
  uint32_t Store(Pixmap Pixels);
  void Note(std::string Line);
  std::string BrushNotation(uint64_t Value) const;
  std::string ObjectName(uint64_t Object) const;
  std::string ObjectPrefix(uint64_t Object) const;

  int32_t ScreenWidth_;
  int32_t ScreenHeight_;
  std::vector<Pixmap> Pixels_;          // the host's pixel store; handle = index + 1
  std::map<uint32_t, THEME_IMAGE> Slots_;   // writable records by host image id
  std::map<uint32_t, THEME_IMAGE> OwnImages_;  // the host's own images, made on demand
  std::vector<uint32_t> SlotRequests_;
  THEME_PROVIDER_PROTOCOL *Record_ = nullptr;
  std::map<uint32_t, BrushInfo> Brushes_;
  uint32_t NextBrush_ = 0x1001;
  uint32_t LastImageLookup_ = 0;
  const THEME_IMAGE *LastImageResult_ = nullptr;
  StyledObject Styled_;
  std::vector<uint16_t> LastBrushSet_;  // the previous set of this object, for "same"
  ObjectAnswers Answers_;
  bool Styling_ = false;
  HOST_EVENT_HOOK Hook_ = nullptr;
  uint16_t HookHandle_ = 0;
  bool HookRegistered_ = false;
  uint64_t NextContext_ = 0xC0;
  std::map<uint64_t, HOST_RECT> Objects_;  // objects created during events
  uint32_t TextPixelSize_ = 16;
  uint32_t TextColor_ = 0;
};

// The pixel work of the image operations, on records of Host's store.
// Shared by the table functions and the tests.
void FillImagePixels(Pixmap &Image, const HOST_RECT *Rect, uint32_t Argb);
void BlitPixels(Pixmap &Destination, const Pixmap &Source, int32_t DestX, int32_t DestY, int32_t SourceX,
                int32_t SourceY, int32_t Width, int32_t Height);
// Every pixel keeps what Mask leaves clear and takes Argb's bits where Mask
// is set; fully transparent pixels stay as they are, so a shape keeps its
// outline when it is recoloured.
void RecolourPixels(Pixmap &Image, uint32_t Mask, uint32_t Argb);
// Design units to pixels of a screen Extent wide (or high), rounded to nearest.
int32_t ScaleDesign(int32_t DesignUnits, int32_t ScreenExtent, int32_t DesignExtent);

}  // namespace preview
