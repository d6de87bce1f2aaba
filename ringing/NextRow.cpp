#include "ringing/NextRow.h"

#include "ringing/ChangeTables.h"

namespace {

// Sixteen-bell treble bob: a lead of 4 x 16 changes rung forwards through
// table rows 1..32 and back to 0; every second lead end, after two leads,
// rings the second lead-end change instead.
constexpr int kTrebleBob16Lead = 64;
constexpr int kTrebleBob16HalfLead = kTrebleBob16Lead / 2;
constexpr int kTrebleBob16SecondLeadEnd = 33;

// Stedman rings its table's first twelve rows, a slow and a quick six, over
// and over. On sixteen bells four six ends are called: a bob at rows 6 and
// 180, a single at rows 84 and 102, from the table's two call rows.
constexpr int kStedmanSixes = 12;
constexpr int kStedman16BobRow = 12;
constexpr int kStedman16SingleRow = 13;
constexpr std::int32_t kStedman16Bobs[] = {6, 180};
constexpr std::int32_t kStedman16Singles[] = {84, 102};

// Reflects a position within a lead of 2 x halfLead changes onto the table
// rows 0..halfLead, which are rung forwards, then backwards.
int Reflect(int position, int halfLead)
{
    return position > halfLead ? 2 * halfLead - position : position;
}

// The table row that produces row `rowIndex` (>= kOpeningRows) of the touch.
int TableRowFor(const ChangeTable& table, std::int32_t rowIndex, MethodStyle style)
{
    const int n = table.stage;
    const std::int32_t sinceOpening = rowIndex - kOpeningRows;

    switch (style) {
    case StyleTrebleBob: {
        if (n == 5)  // Plain Bob Doubles: the table is one whole lead.
            return sinceOpening % table.rowCount;
        const std::int32_t change = sinceOpening + 1;  // the first change is change 1
        if (n == kMaxBells) {
            if (change % (2 * kTrebleBob16Lead) == 0)
                return kTrebleBob16SecondLeadEnd;
            return Reflect(change % kTrebleBob16Lead, kTrebleBob16HalfLead);
        }
        return Reflect(change % (4 * n), 2 * n);
    }
    case StyleStedman:
        if (n == kMaxBells) {
            for (const std::int32_t row : kStedman16Bobs)
                if (rowIndex == row)
                    return kStedman16BobRow;
            for (const std::int32_t row : kStedman16Singles)
                if (rowIndex == row)
                    return kStedman16SingleRow;
        }
        return sinceOpening % kStedmanSixes;  // the call rows lie beyond the two sixes
    default:                                  // Grandsire and Principle: the table is one whole lead
        return sinceOpening % table.rowCount;
    }
}

}  // namespace

bool NextRow(std::int32_t rowIndex, Row& row, std::int16_t stage, MethodStyle style)
{
    if (rowIndex < kOpeningRows || style == StyleHome)
        return false;
    if (style < StyleHome || style > StylePrinciple)
        style = StyleGrandsire;
    if (style == StylePrinciple && stage != kMaxBells)
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
