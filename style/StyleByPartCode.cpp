// The second styling stage: a look chosen by the object's part code, often
// refined by its class. A part code with a row claims the object even when
// no line of it holds for the class.
#include "style/StyleCalls.h"
#include "style/StyleStages.h"

namespace {

// The rows that no step can say, as named functions; the table below runs
// them through Odd steps.

// 0x3002 and 0x3003 with class 2: a kind 2067 descriptor carries two raw
// colours, copied in one piece after the host cleared the descriptor.
constexpr UINT64 mDecorationPairTranslucent[2] = {Argb(0x90D4D4D4), Argb(0x90D4D4D4)};
constexpr UINT64 mDecorationPairDark[2] = {Argb(0xFF1E1B1A), Argb(0xFF1E1B1A)};

// One copy for both rows: inlined into each, it would cost 90 bytes more.
__attribute__((noinline)) void ApplyPairDecoration(UINT64 Object, const UINT64 (&Pair)[2], UINT64 Value4) {
  DECORATION_DESC Descriptor;
  HostServices()->ZeroBuffer(&Descriptor, sizeof(Descriptor));
  Descriptor.Object = Object;
  Descriptor.Kind = kClearedDecorationKind;
  __builtin_memcpy(&Descriptor.Value[2], Pair, sizeof(Pair));
  Descriptor.Value[4] = Value4;
  HostUi()->ApplyDecoration(&Descriptor);
}

BOOLEAN TranslucentPairDecoration(UINT64 Object, UINT32) {
  ApplyPairDecoration(Object, mDecorationPairTranslucent, 0);
  return TRUE;
}

BOOLEAN DarkPairDecoration(UINT64 Object, UINT32) {
  ApplyPairDecoration(Object, mDecorationPairDark, 1);
  return TRUE;
}

// Part codes 0x1102 and 0x1105: request 1550 answers an offset into two runs
// of host images, or 0xFFFFFFFF for nothing more. The brushes of the first
// set are made out of field order, those of the third partly.
constexpr UINT32 kNoImageOffset = 0xFFFFFFFF;
constexpr UINT32 kFirstImageRun = 2228;
constexpr UINT32 kSecondImageRun = 2198;
constexpr UINT32 kOffsetRunsFrame = 1055;

BOOLEAN OffsetImageRuns(UINT64 Object, UINT32) {
  const UINT32 Offset = (UINT32)HostUi()->ObjectRequest(Object, HOST_REQUEST_IMAGE_OFFSET, 0, 0);
  if (Offset == kNoImageOffset) {
    return TRUE;
  }
  STATE_BRUSHES Brushes;
  Brushes.Brush[1] = (BRUSH_ID)HostImageBrush(kOffsetRunsFrame);
  Brushes.Brush[2] = (BRUSH_ID)HostImageBrush(kFirstImageRun + Offset);
  Brushes.Brush[0] = (BRUSH_ID)ColorBrush(Argb(0xFFFFFFFF), 0);
  Brushes.Brush[3] = BRUSH_KEEP;
  HostUi()->SetStateBrushes(Object, 5, &Brushes);
  HostUi()->SetStateBrushes(Object, 3, &Brushes);
  Brushes.Brush[2] = (BRUSH_ID)HostImageBrush(kSecondImageRun + Offset);
  Brushes.Brush[0] = (BRUSH_ID)ColorBrush(Argb(0xFFFF6A00), 0);
  Brushes.Brush[1] = BRUSH_KEEP;
  HostUi()->SetStateBrushes(Object, 2, &Brushes);
  return TRUE;
}

// A class line of a part code is Row(part code, class); Row(part code) alone
// holds for any class ("other" where it follows class lines).
constexpr STYLE_WRITTEN_STEP kPartRows[] = {
    Row(0x1101), Or(0x1103),
      State(6, Color(0xFFECEDEE), HostImage(1104), Keep, Keep),
      State(2, Same, HostImage(1105), Keep, Keep),
      State(5, Same, HostImage(1106), Keep, Keep),
      State(3, Same, HostImage(1108), Keep, Keep),
      State(1, Color(0xFF3F3F46), HostImage(1107), Keep, Keep),
    Row(0x1102), Or(0x1105),
      Odd(OffsetImageRuns),
    Row(0x1304),
      State(6, Color(0xFFE5E2E1), Keep, Keep, Keep),
      State(4, Color(0xFF968C88), Keep, Keep, Keep),
      State(2, Same, Keep, Keep, Keep),
      State(3, Keep, Keep, Keep, Color(0xFFFF8333, ScaleX(3))),
      State(5, Keep, Keep, Keep, Same),
    Row(0x2080, 2),
      Deco(2084, Color(0xFF615B58, 0x2EFFFFFF), Color(0xFF615B58, 0x14FFFFFF), Color(0xFF615B58), Color(0xFF615B58), 0, 0),
      Deco(2085, Color(0xFFE5E2E1), Color(0xFFE5E2E1), Color(0xFFE5E2E1), 0, 0, 0),
    Row(0x2080, 7),
      State(6, Color(0xFFE5E2E1), Keep, Keep, Keep),
      State(5, Color(0xFFE5E2E1), Keep, Keep, Keep),
    Row(0x2080, 19),
      State(6, Keep, Color(0xFF615B58), Keep, Keep),
      State(2, Keep, Color(0xFF615B58, 0x2EFFFFFF), Keep, Keep),
    Row(0x2080),
    Row(0x2081, 2),
      Deco(2084, Color(0xFF1E1B1A, 0x2EFFFFFF), Color(0xFF1E1B1A, 0x14FFFFFF), Color(0xFF1E1B1A), Color(0xFF1E1B1A), 0, 0),
      Req(2077, 0, Argb(0xFF615B58)),
    Row(0x2081),
    Row(0x2082, 2),
      Deco(2084, Color(0xFF1E1B1A, 0x2EFFFFFF), Color(0xFF1E1B1A, 0x14FFFFFF), 0, 0, 0, 0),
      Req(2077, 0, Argb(0xFF615B58)),
    Row(0x2082),
    Row(0x2200),
      State(1, Keep, Keep, Keep, Color(0xFF615B58, 1)),
    // Every line of 0x2400 starts with the same two requests.
    Row(0x2400, 2),
      Req(1540, 6, Argb(0xFFE5E2E1)),
      Req(1540, 1, Argb(0xFFA0A0A0)),
      Deco(2084, Color(0xFF1E1B1A, 0x2EFFFFFF), Color(0xFF1E1B1A, 0x14FFFFFF), Color(0xFF1E1B1A), Color(0xFF1E1B1A), 0, 0),
      Req(2077, 0, Argb(0xFF5B6158)),
    Row(0x2400, 11),
      Req(1540, 6, Argb(0xFFE5E2E1)),
      Req(1540, 1, Argb(0xFFA0A0A0)),
    Row(0x2400, 15),
      Req(1540, 6, Argb(0xFFE5E2E1)),
      Req(1540, 1, Argb(0xFFA0A0A0)),
      RestyleAs(0x1101, 15),
    Row(0x2400),
      Req(1540, 6, Argb(0xFFE5E2E1)),
      Req(1540, 1, Argb(0xFFA0A0A0)),
      State(4, Keep, Keep, Keep, Color(0xFF52525B, 1)),
    Row(0x3002, 2),
      Odd(TranslucentPairDecoration),
      State(0, Color(0xFF212121), Keep, Keep, Keep),
    Row(0x3002),
    Row(0x3003, 2),
      Odd(DarkPairDecoration),
      State(0, Color(0xFFE5E2E1), Keep, Keep, Keep),
      State(2, Color(0xFFE5E2E1), Color(0xFF1E1B1A, 0x2EFFFFFF), Keep, Keep),
      Req(2077, 0, Argb(0xFF615B58)),
    Row(0x3003, 11),
      Req(524, 0, Argb(0xFFE0E0E0)),
    Row(0x3003),
    Row(0x4001), Or(0x4002),
      State(0, Color(0xFFE5E2E1), Color(0xFF615B58, 0x1F000000), Keep, Color(0xFFB1A6A2)),
      State(1, Color(0xFFE5E2E1), Color(0xFF615B58), Keep, Keep),
      State(5, Color(0xFFE5E2E1), Color(0xFF615B58, 0x1F000000), Keep, Color(0xFFB1A6A2)),
};
constexpr STYLE_TABLE_SIZES kPartSizes = MeasureRows(kPartRows);
constexpr auto kPartTable = LinkRows<kPartSizes>(kPartRows);

}  // namespace

constinit const STYLE_TABLE kStyleByPartCode = kPartTable.Table();
