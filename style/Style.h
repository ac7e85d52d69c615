// Styling of one host object: record slot 3.
#pragma once

#include "platform/uefi/UefiBase.h"

/**
  Styles one host object: the first of the three stages (by identifier, by
  part code, by class) whose table has a row for the object makes that row's
  host calls; an object that no stage claims is left as the host made it.

  @param[in] Object    The host's handle of the object, only passed back.
  @param[in] Class     The object's class; its low 16 bits count.
  @param[in] PartCode  The object's part code; its low 16 bits count.
  @param[in] ObjectId  The object's identifier, all 32 bits compared.

  @return 0, always: the host cannot tell whether the theme styled the object.
**/
UINTN EFIAPI ThemeStyleObject(UINT64 Object, UINT16 Class, UINT16 PartCode, UINT32 ObjectId);
