// The second and third styling stages, and the three stage tables. The
// tables are readable by host tools: a Row or Or step (IsRowMarker) names
// one key of a row, RowKey gives it, and a part-code row that does not hold
// for every class holds for RowClass only.
#pragma once

#include "style/StyleRows.h"

// By part code; part codes without a row go on to StyleByClass.
void StyleByPart(UINT64 Object, UINT16 Class, UINT16 PartCode, UINT32 ObjectId);
// By class; a class without a row makes no host call.
void StyleByClass(UINT64 Object, UINT16 Class);

extern const STYLE_TABLE mStyleById;
extern const STYLE_TABLE mStyleByPartCode;
extern const STYLE_TABLE mStyleByClass;
