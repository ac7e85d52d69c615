// A host that does no work, for instruction counts: every listed slot of
// both tables returns a fixed answer at once and counts the call. The
// answers that steer a styling case (tag, request result) are set per case.
#pragma once

#include "host/ThemeProviderProtocol.h"

struct NULL_HOST_ANSWERS {
  UINT16 ObjectTag;
  UINT64 RequestResult;
};

extern NULL_HOST_ANSWERS gNullHostAnswers;
extern UINT64 gNullHostCalls;

// Writes the null host's tables and image table into the record.
void AttachNullHost(THEME_PROVIDER_PROTOCOL *Record);
