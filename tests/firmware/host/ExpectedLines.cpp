#include "tests/firmware/host/ExpectedLines.h"

#include "tests/firmware/host/Console.h"
#include "tests/firmware/host/HostImages.h"

void ClearLines(EXPECTED_LINES *Lines) {
  Lines->Length = 0;
  Lines->Text[0] = '\0';
}

void AddLine(EXPECTED_LINES *Lines, const char *Format, ...) {
  const UINTN Last = sizeof(Lines->Text) - 1;
  __builtin_va_list Arguments;
  __builtin_va_start(Arguments, Format);
  Lines->Length += FormatText(Lines->Text + Lines->Length, sizeof(Lines->Text) - Lines->Length, Format, Arguments);
  __builtin_va_end(Arguments);
  Lines->Length = Lines->Length < Last ? Lines->Length : Last;
  Lines->Length += FormatTextTo(Lines->Text + Lines->Length, sizeof(Lines->Text) - Lines->Length, "\n");
  Lines->Length = Lines->Length < Last ? Lines->Length : Last;
}

BOOLEAN ResolvedImageName(UINT32 HostImageId, char *Name, UINTN Capacity) {
  const THEME_IMAGE *Image = ResolveHostImage(HostImageId);
  if (Image == nullptr || !NameImage(Image, Name, Capacity)) {
    FormatTextTo(Name, Capacity, Image == nullptr ? "null" : "ptr");
  }
  return Image != nullptr;
}
