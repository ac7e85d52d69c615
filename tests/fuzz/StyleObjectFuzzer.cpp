// ThemeStyleObject with fuzzed object, class, part code and identifier,
// against a host whose every answer (brush ids, images, children, parents,
// tags, request results, areas, scaled lengths) comes from the input. Only
// the styling operations may be called, never more often than the longest
// case needs, and the result is always 0.
#include "entry/ThemeProvider.h"
#include "fuzz/FuzzHost.h"

namespace {

// Part code 0x2400 with class 15: two requests, then the seventeen calls of
// part code 0x1101.
constexpr size_t kLongestCase = 19;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  FuzzHost Host(Data, Size);
  Host.Allow({HostUiSlot::MakeBrush, HostUiSlot::SetStateBrushes, HostUiSlot::ApplyDecoration, HostUiSlot::ObjectRequest,
              HostUiSlot::SetObjectAttribute, HostUiSlot::GetImage, HostUiSlot::GetObjectArea, HostUiSlot::SetObjectArea,
              HostUiSlot::GetObjectParent, HostUiSlot::FindChild, HostUiSlot::GetObjectTag});
  Host.Allow({HostServicesSlot::ZeroBuffer, HostServicesSlot::ScaleX, HostServicesSlot::ScaleY});
  Host.LimitCalls(kLongestCase);
  Host.AttachTo(&mThemeProvider);

  const UINT64 Object = Host.Input().ConsumeIntegral<UINT64>();
  const UINT16 Class = Host.Input().ConsumeIntegral<UINT16>();
  const UINT16 PartCode = Host.Input().ConsumeIntegral<UINT16>();
  const UINT32 ObjectId = Host.Input().ConsumeIntegral<UINT32>();
  if (mThemeProvider.StyleObject(Object, Class, PartCode, ObjectId) != 0) {
    abort();
  }
  return 0;
}
