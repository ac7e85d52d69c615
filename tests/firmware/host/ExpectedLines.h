// Expected host calls written line by line while the run goes, for
// CheckCalls, where a value depends on the screen mode or on what the host
// holds at the time.
#pragma once

#include "tests/firmware/host/Checks.h"

typedef struct {
  char Text[16384];
  UINTN Length;
} EXPECTED_LINES;

void ClearLines(EXPECTED_LINES *Lines);
// Adds one line; a line that does not fit is cut, so the check then fails.
void AddLine(EXPECTED_LINES *Lines, const char *Format, ...) HOST_FORMAT(2);

// How the call log names what GetImage answers for HostImageId: the theme
// image that replaces it, the host's own image, or null. TRUE when there
// is an image.
BOOLEAN ResolvedImageName(UINT32 HostImageId, char *Name, UINTN Capacity);
