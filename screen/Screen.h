// Lifecycle notifications from the host: record slot 0.
#pragma once

#include "platform/uefi/UefiBase.h"

EFI_STATUS EFIAPI ThemeNotify(UINT32 Type);
