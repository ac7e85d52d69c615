#include "tools/preview/SampleObjects.h"

#include <cstdio>
#include <optional>

#include "style/StyleStages.h"

namespace preview {

namespace {

// An identifier that no row of the first stage lists, and a part code that
// no row of the second lists, so that the later stages get the object.
constexpr uint32_t UnlistedId = 0;
constexpr uint16_t UnlistedPart = 0;
constexpr uint16_t AnyClass = 0;

// A class that no part code's row names: the "other" line of each.
constexpr uint16_t OtherClass = 5;

// Calls Visit for every row marker of a stage's table, in table order: one
// for each key of a row, and one for each class line of a part code.
template <typename Visitor>
void ForEachMarker(const STYLE_TABLE &Table, Visitor Visit) {
  for (const STYLE_STEP *Step = Table.Steps; Step->Op != StyleOpEnd; Step++) {
    if (IsRowMarker(*Step)) {
      Visit(*Step);
    }
  }
}

// The answers under which the conditional rows do their work: request 1550
// gives offset 0 (not 0xFFFFFFFF), request 852269 gives non-zero, class 16's
// tag is 1599 and class 74's is 0.
ObjectAnswers AnswersFor(Stage By, uint16_t Class) {
  ObjectAnswers Answers;
  Answers.RequestResult = By == Stage::ByClass && Class == 68 ? 1 : 0;
  Answers.Tag = By == Stage::ByClass && Class == 16 ? 1599 : 0;
  return Answers;
}

std::string Hex(uint32_t Value, int Digits) {
  char Text[16];
  snprintf(Text, sizeof(Text), "0x%0*X", Digits, Value);
  return Text;
}

}  // namespace

std::vector<SampleObject> SampleObjects() {
  std::vector<SampleObject> Samples;
  ForEachMarker(mStyleById, [&Samples](const STYLE_STEP &Marker) {
    Samples.push_back({Stage::ById, AnyClass, UnlistedPart, RowKey(Marker), AnswersFor(Stage::ById, AnyClass)});
  });
  // A part code's class lines each get their class, its line for every
  // class after them a class they do not name; a part code without class
  // lines gets one sample for all classes.
  std::optional<uint16_t> ClassLinesOf;
  ForEachMarker(mStyleByPartCode, [&](const STYLE_STEP &Marker) {
    const uint16_t PartCode = static_cast<uint16_t>(RowKey(Marker));
    uint16_t Class = AnyClass;
    if (!RowHoldsForAnyClass(Marker)) {
      Class = RowClass(Marker);
      ClassLinesOf = PartCode;
    } else {
      Class = ClassLinesOf == PartCode ? OtherClass : AnyClass;
      ClassLinesOf.reset();
    }
    Samples.push_back({Stage::ByPart, Class, PartCode, UnlistedId, AnswersFor(Stage::ByPart, Class)});
  });
  ForEachMarker(mStyleByClass, [&Samples](const STYLE_STEP &Marker) {
    const uint16_t Class = static_cast<uint16_t>(RowKey(Marker));
    Samples.push_back({Stage::ByClass, Class, UnlistedPart, UnlistedId, AnswersFor(Stage::ByClass, Class)});
  });
  return Samples;
}

std::string SampleLabel(const SampleObject &Sample) {
  switch (Sample.By) {
    case Stage::ById:
      return "id " + Hex(Sample.ObjectId, 8);
    case Stage::ByPart:
      return "part " + Hex(Sample.PartCode, 4) + (Sample.Class != AnyClass ? " class " + std::to_string(Sample.Class) : "");
    case Stage::ByClass:
      return "class " + std::to_string(Sample.Class);
  }
  return {};
}

}  // namespace preview
