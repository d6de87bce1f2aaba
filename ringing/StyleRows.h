#pragma once

#include "ringing/MethodStyle.h"
#include "ringing/NextRow.h"
#include "ringing/RowSource.h"

#include <cstdint>

// A style's rows from its change tables, through NextRow, as a RowSource:
// Next is true for the row at which the method comes home. `stage` is one
// of 5, 6, 8, 10, 12, 14 and 16. Allocation-free; one thread at a time.
class StyleRows : public RowSource {
public:
    StyleRows(std::int16_t stage, MethodStyle style) : stage(stage), style(style) {}

    bool Next(std::int32_t rowIndex, Row& row) override { return NextRow(rowIndex, row, stage, style); }

private:
    std::int16_t stage;
    MethodStyle style;
};
