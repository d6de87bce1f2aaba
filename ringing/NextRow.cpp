#include "ringing/NextRow.h"

#include "ringing/ChangeTables.h"

namespace {

// The table row that produces row `rowIndex` (>= 4) of the touch.
int TableRowFor(const ChangeTable& table, std::int32_t rowIndex, MethodStyle style)
{
    const int n = table.stage;
    const std::int32_t sinceOpening = rowIndex - 4;

    switch (style) {
    case StyleTrebleBob: {
        if (n == 5)  // Plain Bob Doubles: the table is one whole lead.
            return sinceOpening % table.rowCount;
        const std::int32_t c = rowIndex - 3;
        if (n == 16) {
            if (c % 128 == 0)
                return 33;  // every second lead end: places 1 and 2
            const int r = c % 64;
            return r > 32 ? 64 - r : r;
        }
        const int r = c % (4 * n);
        return r > 2 * n ? 4 * n - r : r;
    }
    case StyleStedman:
        if (n == 16) {
            if (rowIndex == 6 || rowIndex == 180)
                return 12;  // bob
            if (rowIndex == 84 || rowIndex == 102)
                return 13;  // single
        }
        return sinceOpening % 12;  // the sixteen-bell call rows lie beyond the six
    default:                       // Grandsire and Principle: the table is one whole lead
        return sinceOpening % table.rowCount;
    }
}

}  // namespace

bool NextRow(std::int32_t rowIndex, Row& row, std::int16_t stage, MethodStyle style)
{
    if (rowIndex < 4 || style == StyleHome)
        return false;
    if (style < StyleHome || style > StylePrinciple)
        style = StyleGrandsire;
    if (style == StylePrinciple && stage != 16)
        style = StyleStedman;

    const ChangeTable* table = FindChangeTable(style, stage);
    if (table == nullptr)
        return false;

    const Row& change = table->rows[TableRowFor(*table, rowIndex, style)];
    Row scratch;
    for (int q = 0; q < stage; ++q)
        scratch[q] = row[change[q]];

    bool home = true;
    for (int q = 0; q < stage; ++q) {
        row[q] = scratch[q];
        home = home && row[q] == q;
    }
    return home;
}
