#include "fakes/RecordingHost.h"

#include <cstring>
#include <sstream>

#include "fakes/FakeHostTables.h"
#include "fakes/TraceFormat.h"

namespace {

RecordingHost *gActiveHost = nullptr;

constexpr UINT16 kEventHookHandle = 0x2A7;
constexpr UINT32 kFirstBrushId = 0x1001;
constexpr UINT32 kWideBrushBits = 0x9E5A0000;  // bit 31 set: sign extension shows too
constexpr UINT64 kRaxJunk = 0xA5A5A5A500000000ULL;

RecordingHost &Host() { return RecordingHost::Active(); }

void WriteOut(HostUiSlot Slot, VOID *Destination, UINTN Length) {
  if (Destination != nullptr && !Host().TakeWrite((UINT8)Slot, Destination, Length)) {
    memset(Destination, 0, Length);
  }
}

template <typename Result>
Result FromScript(UINT64 Value) {
  if constexpr (std::is_pointer_v<Result>) {
    return reinterpret_cast<Result>(static_cast<uintptr_t>(Value));
  } else {
    return static_cast<Result>(Value);
  }
}

std::string FormatHex(UINT64 Value) {
  std::ostringstream Out;
  Out << "0x" << std::uppercase << std::hex << Value;
  return Out.str();
}

// The recording host's operations, wired by WireFakeHostTables.
struct Recording {
  // What each operation does besides recording, where a simple host does more
  // than answer 0. Operations without an entry here answer 0 (or null).
  static UINTN Behave(UI_TAG(GetObjectArea), UINT64, VOID *Area) { WriteOut(HostUiSlot::GetObjectArea, Area, sizeof(OBJECT_AREA)); return 0; }
  static UINTN Behave(UI_TAG(GetObjectRect), UINT64, HOST_RECT *Rect) { WriteOut(HostUiSlot::GetObjectRect, Rect, sizeof(HOST_RECT)); return 0; }
  static UINTN Behave(UI_TAG(QueryObjectValue), UINT64, UINT32 *Value) { WriteOut(HostUiSlot::QueryObjectValue, Value, sizeof(UINT32)); return 0; }
  static UINTN Behave(UI_TAG(MeasureText), UINT64, CHAR16 *, VOID *Size) { WriteOut(HostUiSlot::MeasureText, Size, 8); return 0; }
  static THEME_IMAGE *Behave(UI_TAG(GetImage), UINT32 HostImageId) { return Host().FindImage(HostImageId); }
  static THEME_IMAGE *Behave(UI_TAG(GetImageSlot), UINT32 HostImageId) { return Host().FindSlot(HostImageId); }
  static UINTN Behave(UI_TAG(AllocImage), THEME_IMAGE *Image, UINT32 Width, UINT32 Height) {
    Image->Width = Width;
    Image->Height = Height;
    return 0;
  }
  static UINTN Behave(UI_TAG(AddEventHook), HOST_EVENT_HOOK, UINT32, UINT32, UINT16 *Handle) {
    if (Handle != nullptr && !Host().TakeWrite((UINT8)HostUiSlot::AddEventHook, Handle, sizeof(*Handle))) {
      *Handle = kEventHookHandle;
    }
    return 0;
  }
  static UINT32 Behave(UI_TAG(MakeBrush), THEME_IMAGE *, UINT32, UINT32) { return Host().NextBrush(); }
  // Like a terse host: copies up to Capacity CHAR16 and stops after the
  // terminator, so a text of Capacity characters or more arrives unterminated.
  static UINTN Behave(UI_TAG(CopyText), const CHAR16 *Source, CHAR16 *Destination, UINTN Capacity) {
    for (UINTN Index = 0; Index < Capacity; Index++) {
      Destination[Index] = Source[Index];
      if (Source[Index] == 0) {
        break;
      }
    }
    return 0;
  }
  // Reads the text to its terminator, as a host draws it, and keeps it whole.
  static UINTN Behave(UI_TAG(DrawText), UINT64, INT32, INT32, CHAR16 *Text) {
    Host().KeepDrawnText(Text);
    return 0;
  }
  static UINTN Behave(SERVICES_TAG(ZeroBuffer), VOID *Buffer, UINTN Length) { memset(Buffer, 0, Length); return 0; }
  static UINTN Behave(SERVICES_TAG(CopyBuffer), VOID *Destination, const VOID *Source, UINTN Length) { memcpy(Destination, Source, Length); return 0; }
  static UINTN Behave(SERVICES_TAG(SetRect), HOST_RECT *Rect, INT32 Left, INT32 Top, INT32 Right, INT32 Bottom) {
    *Rect = HOST_RECT{Left, Top, Right, Bottom};
    return 0;
  }
  static UINTN Behave(SERVICES_TAG(InflateRect), HOST_RECT *Rect, INT32 Dx, INT32 Dy) {
    *Rect = HOST_RECT{Rect->Left - Dx, Rect->Top - Dy, Rect->Right + Dx, Rect->Bottom + Dy};
    return 0;
  }
  static UINT32 Behave(SERVICES_TAG(RectWidth), HOST_RECT *Rect) { return static_cast<UINT32>(Rect->Right - Rect->Left); }
  static INT32 Behave(SERVICES_TAG(CenterOffset), UINT32 Outer, UINT32 Inner) { return (static_cast<INT32>(Outer) - static_cast<INT32>(Inner)) / 2; }
  static UINTN Behave(SERVICES_TAG(ScaleRect), VOID *Destination, const THEME_RECT *Design) {
    *static_cast<HOST_RECT *>(Destination) = HOST_RECT{Design->X, Design->Y, Design->X + Design->Width, Design->Y + Design->Height};
    return 0;
  }
  static INT32 Behave(SERVICES_TAG(ScaleX), INT32 DesignUnits) { return DesignUnits; }
  static INT32 Behave(SERVICES_TAG(ScaleY), INT32 DesignUnits) { return DesignUnits; }

  // Records the call with its records decoded, does the operation's work,
  // and answers from the script or with its own result.
  template <UINT8 Table, UINT8 Slot, typename Result, typename... Arguments>
  static Result Operate(Arguments... Values) {
    HOST_CALL Call;
    CaptureHostCall(&Call, Table, Slot, Values...);
    Result Answer = BehaveAt<Recording, Table, Slot, Result>(Values...);
    UINT64 Scripted = 0;
    if (Host().TakeScripted(Table, Slot, &Scripted)) {
      Answer = FromScript<Result>(Scripted);
    }
    CaptureHostResult(&Call, Answer);
    std::string Note;
    if constexpr (Table == kHostTableUi && Slot == (UINT8)HostUiSlot::AddEventHook) {
      const UINT16 *Handle = std::get<3>(std::tuple<Arguments...>(Values...));
      if (Handle != nullptr) {
        Note = " [handle " + FormatHex(*Handle) + "]";
      }
    }
    Host().Record(Call, Note);
    return Answer;
  }

  // Wide mode shows a plug-in that widened MakeBrush's result.
  static UINT64 JunkAbove32() { return Host().WideBrushIds() ? kRaxJunk : 0; }

  static UINTN Called(UINT8 Table, UINT8 Slot) {
    HOST_CALL Call;
    CaptureHostCall(&Call, Table, Slot);
    Host().Record(Call);
    ADD_FAILURE() << "the plug-in called unlisted host " << (Table == kHostTableUi ? "UI" : "services") << " slot "
                  << static_cast<unsigned>(Slot);
    return 0;
  }
};

BOOLEAN NameFromTrace(VOID *, UINT64 Value, CHAR8 *Name, UINTN Capacity) {
  const std::string *Found = TracePointerNames().Find(reinterpret_cast<const void *>(Value));
  if (Found == nullptr) {
    return FALSE;
  }
  snprintf(Name, Capacity, "%s", Found->c_str());
  return TRUE;
}

std::string Describe(UINT8 Table, UINT8 Slot) {
  const char *Name = HostSlotName(Table, Slot);
  return Name != nullptr ? Name : "slot " + std::to_string(Slot);
}

}  // namespace

RecordingHost::RecordingHost() : Ui{}, Services{}, ImageTable{} {
  EXPECT_EQ(gActiveHost, nullptr) << "one recording host at a time";
  gActiveHost = this;
  WireFakeHostTables<Recording>(&Ui, &Services);
  for (UINTN Id = 1; Id < sizeof(ImageTable) / sizeof(ImageTable[0]); Id++) {
    Name(&ImageTable[Id], "ThemeImage(" + std::to_string(Id) + ")");
  }
}

RecordingHost::~RecordingHost() {
  FailUnusedScripts();
  gActiveHost = nullptr;
}

void RecordingHost::FailUnusedScripts() const {
  for (const auto &[Slot, Queue] : Scripted_) {
    if (!Queue.empty()) {
      std::string Values;
      for (UINT64 Value : Queue) {
        Values += (Values.empty() ? "" : ", ") + FormatArgument(Value);
      }
      ADD_FAILURE() << "scripted results of " << Describe(Slot.first, Slot.second) << " never used: " << Values;
    }
  }
  for (const auto &[Slot, Queue] : Writes_) {
    if (!Queue.empty()) {
      ADD_FAILURE() << Queue.size() << " scripted write(s) of " << Describe(kHostTableUi, Slot) << " never used";
    }
  }
}

RecordingHost &RecordingHost::Active() {
  if (gActiveHost == nullptr) {
    ADD_FAILURE() << "a host table was called with no recording host";
    abort();
  }
  return *gActiveHost;
}

void RecordingHost::AttachTo(THEME_PROVIDER_PROTOCOL *Record) {
  Record->ImageTable = ImageTable;
  Record->UiTable = &Ui;
  Record->ServiceTable = &Services;
}

void RecordingHost::Name(const void *Pointer, std::string Label) { TracePointerNames().Name(Pointer, std::move(Label)); }

bool RecordingHost::TakeScripted(UINT8 Table, UINT8 Slot, UINT64 *Result) {
  auto Found = Scripted_.find({Table, Slot});
  if (Found == Scripted_.end() || Found->second.empty()) {
    return false;
  }
  *Result = Found->second.front();
  Found->second.pop_front();
  return true;
}

bool RecordingHost::TakeWrite(UINT8 Slot, VOID *Destination, UINTN Length) {
  auto Found = Writes_.find(Slot);
  if (Found == Writes_.end() || Found->second.empty()) {
    return false;
  }
  const std::vector<UINT8> Bytes = std::move(Found->second.front());
  Found->second.pop_front();
  EXPECT_EQ(Bytes.size(), Length) << "scripted write of " << Describe(kHostTableUi, Slot) << " has the wrong size";
  memcpy(Destination, Bytes.data(), std::min<size_t>(Bytes.size(), Length));
  return true;
}

void RecordingHost::Record(const HOST_CALL &Call, const std::string &Note) {
  char Line[512];
  FormatHostCall(&Call, &NameFromTrace, nullptr, Line, sizeof(Line));
  Calls_.push_back(Line + Note);
}

UINT32 RecordingHost::NextBrush() {
  const UINT32 Brush = kFirstBrushId + BrushesMade_++;
  return WideBrushIds_ ? (kWideBrushBits | Brush) : Brush;
}

void RecordingHost::KeepDrawnText(const CHAR16 *Text) {
  std::u16string Whole;
  for (; *Text != 0; Text++) {
    Whole += static_cast<char16_t>(*Text);
  }
  DrawnTexts_.push_back(Whole);
}

THEME_IMAGE &RecordingHost::Image(UINT32 HostImageId) { return Images_[HostImageId]; }

THEME_IMAGE *RecordingHost::FindSlot(UINT32 HostImageId) {
  return Withheld_.count(HostImageId) != 0 ? nullptr : &Image(HostImageId);
}

THEME_IMAGE *RecordingHost::FindImage(UINT32 HostImageId) {
  auto Found = Withheld_.count(HostImageId) != 0 ? Images_.end() : Images_.find(HostImageId);
  return Found == Images_.end() ? nullptr : &Found->second;
}

::testing::AssertionResult RecordingHost::TraceIs(const std::string &Expected) const {
  return LinesAre(Calls_, Expected, "host calls differ");
}
