#pragma once

#include "ringing/Row.h"

#include <cstdint>

// A touch handed out row by row, for the renderer to ring. Row 0 is the home
// row; the renderer asks for rows 1, 2, 3, ... in turn, one call per row,
// until a row brings the touch round; it rings that row from then on.
//
// Implementations must not allocate in Next (it runs on the render worker)
// and must leave a permutation of 0..bells-1 in entries 0..bells-1, where
// `bells` is the render's number of ringing bells; entries beyond are not read.
class RowSource {
public:
    virtual ~RowSource() = default;

    // Rewrites `row`, the row just rung (row rowIndex - 1), into row
    // `rowIndex` (>= 1). True when that row brings the touch round: the
    // rounds at its end.
    virtual bool Next(std::int32_t rowIndex, Row& row) = 0;
};
