// The three styling stages' tables. The tables are
// readable by host tools: a Row or Or step (IsRowMarker) names one key of a
// row, RowKey gives it, and a part-code line that does not hold for every
// class holds for RowClass only.
#pragma once

#include "style/StyleRows.h"

extern const STYLE_TABLE mStyleById;
extern const STYLE_TABLE mStyleByPartCode;
extern const STYLE_TABLE mStyleByClass;
