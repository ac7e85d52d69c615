// A recording setup-screen host: every listed slot of both host tables
// appends one line (operation, arguments with their records decoded, result)
// to a trace and answers like a simple host, or with a scripted value.
//
// How a test uses it:
//
//   FreshDriverState Fresh;
//   RecordingHost Host;
//   Host.AttachTo(&mThemeProvider);
//   Host.Name(Object, "obj");                      // handles and pointers print by name
//   Host.Script(&HOST_UI_TABLE::GetObjectTag, {1599});       // next result(s), typed
//   Host.Script(&HOST_UI_TABLE::GetImage, {nullptr});
//   Host.ScriptWrite(&HOST_UI_TABLE::GetObjectArea, OBJECT_AREA{100, 150});  // what an out-parameter receives
//   Host.UseWideBrushIds();                        // optional, see below
//   mThemeProvider.StyleObject(Object, Class, PartCode, Id);
//   EXPECT_TRACE(Host, R"(
//     GetObjectTag(obj) -> 1599
//     MakeBrush(null, 0xFFE5E2E1, 0) -> 0x1001
//     SetStateBrushes(obj, 2, [0x1001, keep, 0, 0x1001]) -> 0
//     ApplyDecoration(obj, 2067, [0, 0, 0x90D4D4D4, 0x90D4D4D4, 1, 0]) -> 0
//     GetObjectArea(obj, ptr) -> 0
//     SetObjectArea(obj, 0, {Horizontal 100, Vertical 152}, 0) -> 0
//   )");
//
// - Lines compare one by one after trimming; a mismatch prints a line diff
//   (- expected, + actual).
// - MakeBrush answers 0x1001, 0x1002, ... in order. UseWideBrushIds() makes
//   them 0x9E5A1001, ... with junk above bit 31 of RAX, so a plug-in that
//   keeps more than the 32-bit result, or more than the low 16 bits in a
//   STATE_BRUSHES, shows it in the trace.
// - AddEventHook writes handle 0x2A7 (or a scripted write); the line ends
//   with "[handle 0x2A7]".
// - A script or scripted write still unused when the host is destroyed fails
//   the test, naming the operation and the values.
// - A call through any slot the lists do not name fails the test.
// - CopyText copies like a terse host (no terminator when the text fills
//   the capacity); DrawText keeps each text whole for DrawnTexts().
// - Out-parameters print as pointers: they hold nothing before the call.
// - Pointers print by name (Name(), or TracePointerNames()), else "ptr", so
//   traces do not depend on where the stack lies.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "data/ThemeTables.h"
#include "fakes/ExpectLines.h"
#include "host/HostAccess.h"
#include "tests/hostcalls/HostCall.h"

typedef std::vector<std::string> Trace;

// The result type of a host operation, from its function-pointer type.
template <typename Operation>
struct HostOperationTraits;
template <typename Result, typename... Arguments>
struct HostOperationTraits<Result(EFIAPI *)(Arguments...)> {
  using ResultType = Result;
};

class RecordingHost {
 public:
  RecordingHost();
  ~RecordingHost();
  RecordingHost(const RecordingHost &) = delete;
  RecordingHost &operator=(const RecordingHost &) = delete;

  // Writes the host's three pointers into the record, as a real host does.
  void AttachTo(THEME_PROVIDER_PROTOCOL *Record);

  // The next calls of the operation return these values, in order; after
  // them the operation's own answer applies again. The operation still does
  // its other work (writing out-parameters, for one).
  template <typename Operation>
  void Script(Operation HOST_UI_TABLE::*Slot, std::initializer_list<typename HostOperationTraits<Operation>::ResultType> Results) {
    Enqueue(kHostTableUi, SlotOf(Slot), Results);
  }
  template <typename Operation>
  void Script(Operation HOST_SERVICES_TABLE::*Slot, std::initializer_list<typename HostOperationTraits<Operation>::ResultType> Results) {
    Enqueue(kHostTableServices, SlotOf(Slot), Results);
  }

  // The next call of the operation writes Value into its out-parameter
  // (GetObjectArea, GetObjectRect, QueryObjectValue, MeasureText, AddEventHook).
  template <typename Operation, typename Value>
  void ScriptWrite(Operation HOST_UI_TABLE::*Slot, const Value &Written) {
    const UINT8 *Bytes = reinterpret_cast<const UINT8 *>(&Written);
    Writes_[SlotOf(Slot)].emplace_back(Bytes, Bytes + sizeof(Value));
  }

  void UseWideBrushIds() { WideBrushIds_ = true; }
  bool WideBrushIds() const { return WideBrushIds_; }

  // Gives a pointer or a 64-bit handle the name that traces show for it.
  void Name(const void *Pointer, std::string Label);
  void Name(UINT64 Handle, std::string Label) { Name(reinterpret_cast<const void *>(Handle), std::move(Label)); }

  // Host image ids that GetImage resolves; GetImageSlot makes them on demand.
  THEME_IMAGE &Image(UINT32 HostImageId);
  // An id the host does not have: GetImage and GetImageSlot answer null.
  void Withhold(UINT32 HostImageId) { Withheld_.insert(HostImageId); }

  // Every text DrawText received, read to its terminator (traces cut it short).
  const std::vector<std::u16string> &DrawnTexts() const { return DrawnTexts_; }

  const Trace &Calls() const { return Calls_; }
  void ClearCalls() { Calls_.clear(); }
  // Success when the calls so far are the lines of Expected (each trimmed,
  // blank lines skipped); otherwise a line diff.
  ::testing::AssertionResult TraceIs(const std::string &Expected) const;

  HOST_UI_TABLE Ui;
  HOST_SERVICES_TABLE Services;
  THEME_IMAGE ImageTable[THEME_IMAGE_COUNT + 1];  // entry n is theme image n, named ThemeImage(n) in traces; entry 0 unused

  // What the fake operations use.
  static RecordingHost &Active();
  bool TakeScripted(UINT8 Table, UINT8 Slot, UINT64 *Result);
  bool TakeWrite(UINT8 Slot, VOID *Destination, UINTN Length);
  void Record(const HOST_CALL &Call, const std::string &Note = "");
  THEME_IMAGE *FindImage(UINT32 HostImageId);
  THEME_IMAGE *FindSlot(UINT32 HostImageId);
  UINT32 NextBrush();
  void KeepDrawnText(const CHAR16 *Text);

 private:
  template <typename Table, typename Operation>
  static UINT8 SlotOf(Operation Table::*Slot) {
    static const Table Probe{};
    return static_cast<UINT8>((reinterpret_cast<const char *>(&(Probe.*Slot)) - reinterpret_cast<const char *>(&Probe)) / 8);
  }
  template <typename Result>
  void Enqueue(UINT8 Table, UINT8 Slot, std::initializer_list<Result> Results) {
    auto &Queue = Scripted_[{Table, Slot}];
    for (const Result &Value : Results) {
      if constexpr (std::is_pointer_v<Result>) {
        Queue.push_back(reinterpret_cast<UINT64>(Value));
      } else {
        Queue.push_back(static_cast<UINT64>(Value));
      }
    }
  }
  void FailUnusedScripts() const;

  Trace Calls_;
  std::map<std::pair<UINT8, UINT8>, std::deque<UINT64>> Scripted_;
  std::map<UINT8, std::deque<std::vector<UINT8>>> Writes_;  // UI slots only
  std::map<UINT32, THEME_IMAGE> Images_;
  std::set<UINT32> Withheld_;
  std::vector<std::u16string> DrawnTexts_;
  bool WideBrushIds_ = false;
  UINT32 BrushesMade_ = 0;
};

#define EXPECT_TRACE(Host, Expected) EXPECT_TRUE((Host).TraceIs(Expected))
