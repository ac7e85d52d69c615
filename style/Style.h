// Styling of one host object: record slot 3.
#pragma once

#include "platform/uefi/UefiBase.h"

UINTN EFIAPI ThemeStyleObject(UINT64 Object, UINT16 Class, UINT16 PartCode, UINT32 ObjectId);
