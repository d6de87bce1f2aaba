#pragma once

#include <array>
#include <cstdint>

// The ringing styles, in the order of the main dialog's style radio buttons.
// Held in a 32-bit integer; NextRow rings any value outside 0..4 as Grandsire.
enum MethodStyle : std::int32_t {
    StyleHome = 0,       // every row is the home row
    StyleTrebleBob = 1,  // treble-dodging methods
    StyleGrandsire = 2,
    StyleStedman = 3,
    StylePrinciple = 4,  // sixteen bells only; rung as Stedman on other stages
};

// The numbers of bells the styles ring, ascending: the entries of the main
// dialog's "No. of bells".
inline constexpr std::array<std::int16_t, 7> kStyleStages{5, 6, 8, 10, 12, 14, 16};
