#include "translation/notch_decoder.h"

#include <algorithm>
#include <span>

namespace trevik {
namespace {

// Fixed X limits of brake notches 0..8; the last entry is half of XMax.
constexpr std::array<std::int32_t, 9> kBrakeLimits = {2800,  7900,  11900, 15300, 18700,
                                                      22500, 25200, 26600, 28300};
// Fixed Y limits of power notches 5..1; the last entry is half of YMax.
constexpr std::array<std::int32_t, 5> kMasconLimits = {2600, 7800, 12000, 15600, 19100};

// Truncates toward zero, as signed division does.
constexpr std::int32_t Half(std::int32_t maximum) {
    return maximum / 2;
}

// Index of the first limit greater than the reading, scanning in table order.
// The scan is literal: a small maximum may make the last limit smaller than
// the fixed ones, and the scan still stops at the first entry above the reading.
std::int32_t Band(std::span<const std::int32_t> limits, std::int32_t reading) {
    std::int32_t i = 0;
    while (i < static_cast<std::int32_t>(limits.size()) && reading >= limits[i]) {
        ++i;
    }
    return i;
}

DecodeOutcome Store(std::int32_t& notch, std::int32_t decoded) {
    if (decoded == notch) {
        return DecodeOutcome::Unchanged;
    }
    notch = decoded;
    return DecodeOutcome::Changed;
}

} // namespace

void SetLimits(MasconState& state, std::int32_t xMax, std::int32_t yMax) {
    state.XMax = xMax;
    state.YMax = yMax;
    std::copy(kBrakeLimits.begin(), kBrakeLimits.end(), state.BrakeLimits.begin());
    state.BrakeLimits.back() = Half(xMax);
    std::copy(kMasconLimits.begin(), kMasconLimits.end(), state.MasconLimits.begin());
    state.MasconLimits.back() = Half(yMax);
}

DecodeOutcome DecodeBrake(MasconState& state, std::int32_t x) {
    if (x >= Half(state.XMax)) {
        return DecodeOutcome::OutOfRange;
    }
    // x is below the last limit, so the band never exceeds 9.
    return Store(state.BrakeNotch, Band(state.BrakeLimits, x));
}

DecodeOutcome DecodePower(MasconState& state, std::int32_t y) {
    if (y >= Half(state.YMax)) {
        return DecodeOutcome::OutOfRange;
    }
    // Full power is the lowest Y band.
    return Store(state.MasconNotch, 5 - Band(state.MasconLimits, y));
}

std::int32_t Combine(MasconState& state) {
    state.TargetNotch = state.BrakeNotch >= 1 ? -state.BrakeNotch : state.MasconNotch;
    return state.TargetNotch;
}

} // namespace trevik
