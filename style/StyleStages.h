// The three styling stages' tables, which the record operation looks up in
// turn: by identifier, by part code, by class.
#pragma once

#include "style/StyleRows.h"

extern const STYLE_TABLE kStyleById;
extern const STYLE_TABLE kStyleByPartCode;
extern const STYLE_TABLE kStyleByClass;

// The tag of a class-16 object that takes its sibling's area (the class
// stage tests it; the preview answers it).
inline constexpr UINT16 kTagOfSiblingAreaTaker = 1599;
