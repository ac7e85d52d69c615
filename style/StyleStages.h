// The three styling stages' tables, which the record operation looks up in
// turn: by identifier, by part code, by class.
#pragma once

#include "style/StyleRows.h"

extern const STYLE_TABLE mStyleById;
extern const STYLE_TABLE mStyleByPartCode;
extern const STYLE_TABLE mStyleByClass;
