// Styling of one host object. No styling stage is built yet, so no stage
// claims an object and every object keeps the host's defaults.
#include "style/Style.h"

UINTN EFIAPI ThemeStyleObject(UINT64 Object, UINT16 Class, UINT16 PartCode, UINT32 ObjectId) {
  (void)Object;
  (void)Class;
  (void)PartCode;
  (void)ObjectId;
  return 0;
}
