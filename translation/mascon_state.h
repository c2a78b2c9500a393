// The main window's controller state: readings, limits, decoded notches and
// the handle position already commanded. The translation works on this record
// and keeps no state of its own.
#pragma once

#include <array>
#include <cstdint>

namespace trevik {

struct MasconState {
    std::int32_t JoyX = 0; // last X reading, 0..65535
    std::int32_t JoyY = 0; // last Y reading, 0..65535
    std::int32_t ResetX = 0;
    std::int32_t ResetY = 0;
    std::int32_t XMax = 0;
    std::int32_t YMax = 0;
    std::uint32_t NumDevs = 0;
    bool JoyPresent = false;
    std::int32_t JoyId = 0;
    std::int32_t MasconNotch = 0; // power notch 0..5
    std::int32_t BrakeNotch = 0;  // brake notch 0..9
    // Combined notch already commanded. The simulator's handle is assumed to
    // stand at brake notch 1 when we start.
    std::int32_t SentNotch = -1;
    std::int32_t TargetNotch = 0; // combined notch wanted, -9..+5
    std::array<std::int32_t, 10> BrakeLimits{};
    std::array<std::int32_t, 6> MasconLimits{};
};

} // namespace trevik
