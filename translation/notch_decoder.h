// Axis readings to notches. The brake handle moves X, the power handle Y.
#pragma once

#include "translation/mascon_state.h"

#include <cstdint>

namespace trevik {

enum class DecodeOutcome : std::uint8_t {
    OutOfRange, // reading at or above half the axis maximum: ignored
    Unchanged,  // in range, same notch as before
    Changed,    // in range, the new notch has been stored
};

constexpr bool InRange(DecodeOutcome outcome) {
    return outcome != DecodeOutcome::OutOfRange;
}

// Stores the axis maxima and fills both limit tables from them.
void SetLimits(MasconState& state, std::int32_t xMax, std::int32_t yMax);

DecodeOutcome DecodeBrake(MasconState& state, std::int32_t x);
DecodeOutcome DecodePower(MasconState& state, std::int32_t y);

// Folds both notches into TargetNotch (any applied brake wins) and returns it.
std::int32_t Combine(MasconState& state);

} // namespace trevik
