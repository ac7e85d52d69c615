// Instruction counts per call of the record operations, for callgrind. Each
// case runs its calls with collection on, then dumps the counts under the
// case's name; tests/bench/report.py takes from each dump what the driver's
// code executed (everything but the rounds, main and the null host's
// operations) and prints the table. Before that, each case runs once uncollected to count its host calls.
//
// Output lines (tab-separated), one per case:
//   case <name> <operation> <calls per round> <rounds> <host calls per call> <budget or 0>
#include <valgrind/callgrind.h>

#include <cstdio>

#include "bench/NullHost.h"
#include "entry/ThemeProvider.h"

namespace {

constexpr int kRounds = 50;

// One round of a case: the same calls through the record, as the host makes
// them. Kept out of line so that every round costs the same.
struct BENCH_CASE {
  const char *Name;
  const char *Operation;
  void (*Round)();
  int CallsPerRound;
  NULL_HOST_ANSWERS Answers;
  bool StyleBudget;  // ThemeStyleObject: 150 + 40 per host call
  int FixedBudget;   // otherwise: a fixed goal, or 0 for none
};

volatile UINT32 mSink;

}  // namespace

// The rounds, in a namespace of their own: what they execute themselves is
// the bench's, what their callees execute is the operation's and the host's.
namespace rounds {

template <UINT16 Class, UINT16 PartCode, UINT32 ObjectId>
void Style() {
  mSink = (UINT32)mThemeProvider.StyleObject(0xB0B, Class, PartCode, ObjectId);
}

// Every palette index, then indexes outside it.
void ColourSweep() {
  for (INT32 Index = 0; Index < 116; Index++) {
    mSink = mThemeProvider.GetColor(Index);
  }
}
void ColourOutside() {
  const INT32 Outside[] = {-1, 116, 0x7FFFFFFF, (INT32)0x80000000};
  for (INT32 Index : Outside) {
    mSink = mThemeProvider.GetColor(Index);
  }
}

// Host ids 0..2999: the mapped ones and the gaps between them.
void ImageSweep() {
  for (UINT32 HostId = 0; HostId < 3000; HostId++) {
    mSink = (UINT32)mThemeProvider.MapImage(HostId);
  }
}
void ImageFarOutside() {
  const UINT32 Far[] = {3000, 65535, 0x7FFFFFFF, 0xFFFFFFFF};
  for (UINT32 HostId : Far) {
    mSink = (UINT32)mThemeProvider.MapImage(HostId);
  }
}

void ValueKnownAndUnknown() {
  mSink = (UINT32)mThemeProvider.GetValue(4, 0);
  mSink = (UINT32)mThemeProvider.GetValue(33, 0);
  mSink = (UINT32)mThemeProvider.GetValue(18, 1);
  mSink = (UINT32)mThemeProvider.GetValue(99, 7);
}

void RectEach() {
  HOST_RECT Rect;
  for (INT32 Index = 0; Index < 10; Index++) {
    mSink = (UINT32)mThemeProvider.GetRect(Index, &Rect);
  }
}

}  // namespace rounds

namespace {

using namespace rounds;

const NULL_HOST_ANSWERS kPlain = {0, 0};

const BENCH_CASE kCases[] = {
    {"indexes 0..115", "ThemeGetColor", ColourSweep, 116, kPlain, false, 10},
    {"indexes outside", "ThemeGetColor", ColourOutside, 4, kPlain, false, 10},
    {"host ids 0..2999", "ThemeMapImage", ImageSweep, 3000, kPlain, false, 50},
    {"host ids far outside", "ThemeMapImage", ImageFarOutside, 4, kPlain, false, 50},
    {"known, special, unknown", "ThemeGetValue", ValueKnownAndUnknown, 4, kPlain, false, 0},
    {"rectangles 0..9", "ThemeGetRect", RectEach, 10, kPlain, false, 0},
    // Objects no stage claims: every lookup, no host call.
    {"unclaimed, class 0", "ThemeStyleObject", Style<0, 0, 0>, 1, kPlain, true, 0},
    {"unclaimed, class 100", "ThemeStyleObject", Style<100, 0x1104, 0x39001006>, 1, kPlain, true, 0},
    {"unclaimed, class 0xFFFF", "ThemeStyleObject", Style<0xFFFF, 0xFFFF, 0xFFFFFFFF>, 1, kPlain, true, 0},
    // Every row of every stage, and each condition both ways.
    // Identifier rows.
    {"id 0x14531000", "ThemeStyleObject", Style<0, 0, 0x14531000>, 1, kPlain, true, 0},
    {"id 0x14531001", "ThemeStyleObject", Style<0, 0, 0x14531001>, 1, kPlain, true, 0},
    {"id 0x19592000", "ThemeStyleObject", Style<0, 0, 0x19592000>, 1, kPlain, true, 0},
    {"id 0x19592001", "ThemeStyleObject", Style<0, 0, 0x19592001>, 1, kPlain, true, 0},
    {"id 0x19592002", "ThemeStyleObject", Style<0, 0, 0x19592002>, 1, kPlain, true, 0},
    {"id 0x20241079", "ThemeStyleObject", Style<0, 0, 0x20241079>, 1, kPlain, true, 0},
    {"id 0x39000000", "ThemeStyleObject", Style<0, 0, 0x39000000>, 1, kPlain, true, 0},
    {"id 0x39001003", "ThemeStyleObject", Style<0, 0, 0x39001003>, 1, kPlain, true, 0},
    {"id 0x39001004", "ThemeStyleObject", Style<0, 0, 0x39001004>, 1, kPlain, true, 0},
    {"id 0x39001005", "ThemeStyleObject", Style<0, 0, 0x39001005>, 1, kPlain, true, 0},
    {"id 0xA0000000", "ThemeStyleObject", Style<0, 0, 0xA0000000>, 1, kPlain, true, 0},
    {"id 0xA0001001", "ThemeStyleObject", Style<0, 0, 0xA0001001>, 1, kPlain, true, 0},
    {"id 0xA0001002", "ThemeStyleObject", Style<0, 0, 0xA0001002>, 1, kPlain, true, 0},
    {"id 0xA0001003", "ThemeStyleObject", Style<0, 0, 0xA0001003>, 1, kPlain, true, 0},
    {"id 0xA0001004", "ThemeStyleObject", Style<0, 0, 0xA0001004>, 1, kPlain, true, 0},
    {"id 0xA2000201", "ThemeStyleObject", Style<0, 0, 0xA2000201>, 1, kPlain, true, 0},
    {"id 0xB0000000", "ThemeStyleObject", Style<0, 0, 0xB0000000>, 1, kPlain, true, 0},
    {"id 0xB0002004", "ThemeStyleObject", Style<0, 0, 0xB0002004>, 1, kPlain, true, 0},
    // Part-code rows.
    {"part 0x1101", "ThemeStyleObject", Style<0, 0x1101, 0>, 1, kPlain, true, 0},
    {"part 0x1103", "ThemeStyleObject", Style<0, 0x1103, 0>, 1, kPlain, true, 0},
    {"part 0x1105", "ThemeStyleObject", Style<0, 0x1105, 0>, 1, kPlain, true, 0},
    {"part 0x1102, no offset", "ThemeStyleObject", Style<0, 0x1102, 0>, 1, {0, 0xFFFFFFFF}, true, 0},
    {"part 0x1304", "ThemeStyleObject", Style<0, 0x1304, 0>, 1, kPlain, true, 0},
    {"part 0x2080 class 2", "ThemeStyleObject", Style<2, 0x2080, 0>, 1, kPlain, true, 0},
    {"part 0x2080 class 7", "ThemeStyleObject", Style<7, 0x2080, 0>, 1, kPlain, true, 0},
    {"part 0x2080 class 19", "ThemeStyleObject", Style<19, 0x2080, 0>, 1, kPlain, true, 0},
    {"part 0x2080 other class", "ThemeStyleObject", Style<5, 0x2080, 0>, 1, kPlain, true, 0},
    {"part 0x2081 class 2", "ThemeStyleObject", Style<2, 0x2081, 0>, 1, kPlain, true, 0},
    {"part 0x2081 other class", "ThemeStyleObject", Style<5, 0x2081, 0>, 1, kPlain, true, 0},
    {"part 0x2082 class 2", "ThemeStyleObject", Style<2, 0x2082, 0>, 1, kPlain, true, 0},
    {"part 0x2082 other class", "ThemeStyleObject", Style<5, 0x2082, 0>, 1, kPlain, true, 0},
    {"part 0x2200", "ThemeStyleObject", Style<0, 0x2200, 0>, 1, kPlain, true, 0},
    {"part 0x2400 class 2", "ThemeStyleObject", Style<2, 0x2400, 0>, 1, kPlain, true, 0},
    {"part 0x2400 class 11", "ThemeStyleObject", Style<11, 0x2400, 0>, 1, kPlain, true, 0},
    {"part 0x2400 class 15", "ThemeStyleObject", Style<15, 0x2400, 0>, 1, kPlain, true, 0},
    {"part 0x2400 other class", "ThemeStyleObject", Style<9, 0x2400, 0>, 1, kPlain, true, 0},
    {"part 0x3002 class 2", "ThemeStyleObject", Style<2, 0x3002, 0>, 1, kPlain, true, 0},
    {"part 0x3002 other class", "ThemeStyleObject", Style<5, 0x3002, 0>, 1, kPlain, true, 0},
    {"part 0x3003 class 2", "ThemeStyleObject", Style<2, 0x3003, 0>, 1, kPlain, true, 0},
    {"part 0x3003 class 11", "ThemeStyleObject", Style<11, 0x3003, 0>, 1, kPlain, true, 0},
    {"part 0x3003 other class", "ThemeStyleObject", Style<5, 0x3003, 0>, 1, kPlain, true, 0},
    {"part 0x4001", "ThemeStyleObject", Style<0, 0x4001, 0>, 1, kPlain, true, 0},
    {"part 0x4002", "ThemeStyleObject", Style<0, 0x4002, 0>, 1, kPlain, true, 0},
    // Class rows.
    {"class 9", "ThemeStyleObject", Style<9, 0, 0>, 1, kPlain, true, 0},
    {"class 16, tag 1599", "ThemeStyleObject", Style<16, 0, 0>, 1, {1599, 0}, true, 0},
    {"class 16, other tag", "ThemeStyleObject", Style<16, 0, 0>, 1, kPlain, true, 0},
    {"class 27", "ThemeStyleObject", Style<27, 0, 0>, 1, kPlain, true, 0},
    {"class 30", "ThemeStyleObject", Style<30, 0, 0>, 1, kPlain, true, 0},
    {"class 33", "ThemeStyleObject", Style<33, 0, 0>, 1, kPlain, true, 0},
    {"class 34", "ThemeStyleObject", Style<34, 0, 0>, 1, kPlain, true, 0},
    {"class 36", "ThemeStyleObject", Style<36, 0, 0>, 1, kPlain, true, 0},
    {"class 37", "ThemeStyleObject", Style<37, 0, 0>, 1, kPlain, true, 0},
    {"class 39", "ThemeStyleObject", Style<39, 0, 0>, 1, kPlain, true, 0},
    {"class 60", "ThemeStyleObject", Style<60, 0, 0>, 1, kPlain, true, 0},
    {"class 61", "ThemeStyleObject", Style<61, 0, 0>, 1, kPlain, true, 0},
    {"class 62", "ThemeStyleObject", Style<62, 0, 0>, 1, kPlain, true, 0},
    {"class 63", "ThemeStyleObject", Style<63, 0, 0>, 1, kPlain, true, 0},
    {"class 68, request set", "ThemeStyleObject", Style<68, 0, 0>, 1, {0, 1}, true, 0},
    {"class 68, request clear", "ThemeStyleObject", Style<68, 0, 0>, 1, kPlain, true, 0},
    {"class 74, tag 0", "ThemeStyleObject", Style<74, 0, 0>, 1, kPlain, true, 0},
    {"class 74, other tag", "ThemeStyleObject", Style<74, 0, 0>, 1, {1, 0}, true, 0},
    {"class 75", "ThemeStyleObject", Style<75, 0, 0>, 1, kPlain, true, 0},
    {"class 80", "ThemeStyleObject", Style<80, 0, 0>, 1, kPlain, true, 0},
    {"class 95", "ThemeStyleObject", Style<95, 0, 0>, 1, kPlain, true, 0},
    {"class 101", "ThemeStyleObject", Style<101, 0, 0>, 1, kPlain, true, 0},
};

}  // namespace

int main() {
  AttachNullHost(&mThemeProvider);
  for (const BENCH_CASE &Case : kCases) {
    gNullHostAnswers = Case.Answers;
    gNullHostCalls = 0;
    Case.Round();  // uncollected: the host calls of one round, and warm-up
    const UINT64 HostCalls = gNullHostCalls / Case.CallsPerRound;
    CALLGRIND_TOGGLE_COLLECT;
    for (int Round = 0; Round < kRounds; Round++) {
      Case.Round();
    }
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT(Case.Name);
    const UINT64 Budget = Case.StyleBudget ? 150 + 40 * HostCalls : (UINT64)Case.FixedBudget;
    printf("case\t%s\t%s\t%d\t%d\t%llu\t%llu\n", Case.Name, Case.Operation, Case.CallsPerRound, kRounds,
           (unsigned long long)HostCalls, (unsigned long long)Budget);
  }
  return 0;
}
