#include "tests/firmware/host/CallLog.h"

namespace {

constexpr UINTN LogCapacity = 8192;

constinit HOST_CALL mCalls[LogCapacity] = {};
constinit UINTN mCallCount = 0;  // including dropped ones
constinit UINTN mUnlisted = 0;
constinit HOST_CALL mFirstUnlisted = {};

void Append(const HOST_CALL &Call) {
  if (mCallCount < LogCapacity) {
    mCalls[mCallCount] = Call;
  }
  mCallCount++;
}

struct SLOT_NAME {
  UINT8 Table;
  UINT8 Slot;
  const char *Name;
};

constexpr SLOT_NAME mSlotNames[] = {
    {HostTableUi, 7, "SetObjectAttribute"},  {HostTableUi, 8, "ObjectRequest"},
    {HostTableUi, 11, "ApplyDecoration"},    {HostTableUi, 29, "SetObjectArea"},
    {HostTableUi, 32, "GetObjectTag"},       {HostTableUi, 34, "GetObjectParent"},
    {HostTableUi, 45, "GetObjectArea"},      {HostTableUi, 46, "GetObjectRect"},
    {HostTableUi, 47, "QueryObjectValue"},   {HostTableUi, 48, "BeginDraw"},
    {HostTableUi, 49, "EndDraw"},            {HostTableUi, 68, "FindChild"},
    {HostTableUi, 76, "CreateObject"},       {HostTableUi, 95, "GetImage"},
    {HostTableUi, 97, "GetImageSlot"},       {HostTableUi, 100, "AllocImage"},
    {HostTableUi, 101, "FreeImage"},         {HostTableUi, 104, "CopyImageInto"},
    {HostTableUi, 106, "CopyImage"},         {HostTableUi, 109, "BlitImage"},
    {HostTableUi, 111, "FillImage"},         {HostTableUi, 123, "DrawImageAt"},
    {HostTableUi, 131, "SetTextStyle"},      {HostTableUi, 134, "DrawText"},
    {HostTableUi, 137, "MeasureText"},       {HostTableUi, 141, "DrawImage"},
    {HostTableUi, 147, "CopyText"},          {HostTableUi, 150, "ThemeAttached"},
    {HostTableUi, 151, "ThemeDetached"},     {HostTableUi, 153, "RemoveEventHook"},
    {HostTableUi, 155, "AddEventHook"},      {HostTableUi, 161, "GetObjectFont"},
    {HostTableUi, 163, "CallDefaultHandler"}, {HostTableUi, 169, "SetImageColor"},
    {HostTableUi, 173, "RefreshImages"},     {HostTableUi, 180, "MakeBrush"},
    {HostTableUi, 182, "SetStateBrushes"},   {HostTableServices, 3, "ZeroBuffer"},
    {HostTableServices, 4, "CopyBuffer"},    {HostTableServices, 39, "SetRect"},
    {HostTableServices, 40, "AdjustRect"},   {HostTableServices, 41, "InflateRect"},
    {HostTableServices, 46, "RectWidth"},    {HostTableServices, 48, "CenterOffset"},
    {HostTableServices, 58, "ScaleRect"},    {HostTableServices, 59, "ScaleX"},
    {HostTableServices, 60, "ScaleY"},
};

}  // namespace

void LogCall(UINT8 Table, UINT8 Slot, UINT64 A0, UINT64 A1, UINT64 A2, UINT64 A3) {
  Append(HOST_CALL{Table, Slot, TRUE, {A0, A1, A2, A3}});
}

void LogUnlistedCall(UINT8 Table, UINT8 Slot) {
  const HOST_CALL Call{Table, Slot, FALSE, {0, 0, 0, 0}};
  if (mUnlisted == 0) {
    mFirstUnlisted = Call;
  }
  mUnlisted++;
  Append(Call);
}

UINTN CallMark() { return mCallCount; }
UINTN CallsSince(UINTN Mark) { return mCallCount - Mark; }

const HOST_CALL *CallAt(UINTN Mark, UINTN Offset) {
  const UINTN Index = Mark + Offset;
  return Index < mCallCount && Index < LogCapacity ? &mCalls[Index] : nullptr;
}

UINTN CountCalls(UINTN Mark, UINT8 Table, UINT8 Slot) {
  UINTN Count = 0;
  for (UINTN Index = Mark; Index < mCallCount && Index < LogCapacity; Index++) {
    if (mCalls[Index].Table == Table && mCalls[Index].Slot == Slot) {
      Count++;
    }
  }
  return Count;
}

UINTN UnlistedCalls() { return mUnlisted; }
const HOST_CALL *FirstUnlistedCall() { return mUnlisted != 0 ? &mFirstUnlisted : nullptr; }
UINTN DroppedCalls() { return mCallCount > LogCapacity ? mCallCount - LogCapacity : 0; }

const char *SlotName(UINT8 Table, UINT8 Slot) {
  for (const SLOT_NAME &Entry : mSlotNames) {
    if (Entry.Table == Table && Entry.Slot == Slot) {
      return Entry.Name;
    }
  }
  return Table == HostTableUi ? "unlisted UI slot" : "unlisted service slot";
}
