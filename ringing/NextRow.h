#pragma once

#include "ringing/MethodStyle.h"
#include "ringing/Row.h"

#include <cstdint>

// Rewrites `row` (the row just rung) into the row numbered `rowIndex` by one
// change from the style's table, and reports whether the method has come
// home: true exactly when rowIndex >= 4, the style is not StyleHome and the
// new row is the home row.
//
// Rows 0..3 and every row under StyleHome are left unchanged. Only entries
// 0..stage-1 are read and written. Any style value outside 0..4 rings as
// StyleGrandsire. Stateless and allocation-free; callable from any thread.
// `stage` must be 5, 6, 8, 10, 12, 14 or 16.
bool NextRow(std::int32_t rowIndex, Row& row, std::int16_t stage, MethodStyle style);
