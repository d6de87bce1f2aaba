#include "ringing/ChangeTables.h"

namespace {

// Each style but Principle has a table for stages 5, 6, 8, 10, 12, 14 and 16.
constexpr int kTabledStages = 7;

// Builds a table from place notation: within each blank-separated group, a
// position that is a place keeps its bell; any other position swaps with the
// next one. "x" makes no place.
constexpr ChangeTable Expand(int stage, std::string_view notation)
{
    ChangeTable table;
    table.stage = stage;

    std::size_t at = 0;
    while (at < notation.size()) {
        while (at < notation.size() && notation[at] == ' ')
            ++at;
        if (at == notation.size())
            break;
        bool isPlace[kMaxBells + 1] = {};
        for (; at < notation.size() && notation[at] != ' '; ++at)
            isPlace[PlaceOfSymbol(notation[at])] = true;

        Row& row = table.rows[table.rowCount++];
        row = HomeRow();
        for (int q = 0; q < stage; ++q) {
            if (isPlace[q + 1])
                continue;
            row[q] = static_cast<std::int16_t>(q + 1);
            row[q + 1] = static_cast<std::int16_t>(q);
            ++q;
        }
    }
    return table;
}

constexpr ChangeTable kGrandsire[kTabledStages] = {
    Expand(5, "3 1 5 1 5 1 5 1 5 1"),
    Expand(6, "36 16 56 16 56 16 56 16 56 16"),
    Expand(8, "38 18 78 18 78 18 78 18 78 18 78 18 78 18"),
    Expand(10, "30 10 90 10 90 10 90 10 90 10 90 10 90 10 90 10 90 10"),
    Expand(12, "3T 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T"),
    Expand(14, "3B 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B"),
    Expand(16, "3D 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D 3D 1D"),
};

constexpr ChangeTable kStedman[kTabledStages] = {
    Expand(5, "3 1 5 3 1 3 1 3 5 1 3 1"),
    Expand(6, "36 16 56 36 16 36 16 36 56 16 36 16"),
    Expand(8, "38 18 78 38 18 38 18 38 78 18 38 18"),
    Expand(10, "30 10 90 30 10 30 10 30 90 10 30 10"),
    Expand(12, "3T 1T ET 3T 1T 3T 1T 3T ET 1T 3T 1T"),
    Expand(14, "3B 1B AB 3B 1B 3B 1B 3B AB 1B 3B 1B"),
    Expand(16, "3D 1D CD 3D 1D 3D 1D 3D CD 1D 3D 1D AD ABCD"),
};

// Stage 5 holds Plain Bob Doubles; the others hold the lead-end change, the
// first half-lead and the half-lead change of a treble-dodging lead.
constexpr ChangeTable kTrebleBob[kTabledStages] = {
    Expand(5, "5 1 5 1 5 1 5 1 5 125"),
    Expand(6, "12 36 x 36 14 x 12 x 36 14 x 14 36"),
    Expand(8, "12 x 38 x 14 x 1256 x 18 x 12 x 58 x 16 x 78"),
    Expand(10, "12 30 x 30 14 x 12 x 30 14 x 14 50 16 x 16 70 14 58 14 90"),
    Expand(12, "1T x 5T x 14 5T x 5T 36 14 x 7T 58 16 x 9T 70 18 x 18 9T x 18 x 1T"),
    Expand(14, "1B x 5B x 14 5B x 5B 36 14 x 7B 58 16 x 9B 70 18 x EB 9T 10 x 10 EB x 10 x 1B"),
    Expand(16, "1D x 5D x 14 5D x 5D 36 14 x 7D 58 16 x 9D 70 18 x ED 9T 10 x AD EB 1T x 1T AD x 1T x 1D 12"),
};

constexpr ChangeTable kPrinciple =
    Expand(16, "x 3B x 5T x 70 x 14AD x 36EB x 189D x 3B x 189D x 36EB x 14AD x 70 x 5T x 3B");

const ChangeTable* FindByStage(const ChangeTable (&tables)[kTabledStages], int stage)
{
    for (const ChangeTable& table : tables)
        if (table.stage == stage)
            return &table;
    return nullptr;
}

}  // namespace

const ChangeTable* FindChangeTable(MethodStyle style, int stage)
{
    switch (style) {
    case StyleHome: return nullptr;
    case StyleTrebleBob: return FindByStage(kTrebleBob, stage);
    case StyleStedman: return FindByStage(kStedman, stage);
    case StylePrinciple: return stage == kMaxBells ? &kPrinciple : FindByStage(kStedman, stage);
    case StyleGrandsire:
    default: return FindByStage(kGrandsire, stage);
    }
}
