// A colour that is either fixed or one of the system's colours, resolved when
// drawn so that a change of the system colours is followed.
#pragma once

#include "forms/win32.h"

#include <cstdint>

namespace forms {

class Colour {
public:
    static constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return Colour(static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
                      (static_cast<std::uint32_t>(b) << 16));
    }
    static constexpr Colour System(int index) {
        return Colour(kSystemBit | static_cast<std::uint32_t>(index));
    }
    static constexpr Colour FromBits(std::uint32_t bits) { return Colour(bits); }

    constexpr std::uint32_t Bits() const { return bits_; }
    COLORREF Resolve() const {
        return (bits_ & kSystemBit) != 0 ? GetSysColor(static_cast<int>(bits_ & ~kSystemBit))
                                         : static_cast<COLORREF>(bits_);
    }
    friend constexpr bool operator==(Colour, Colour) = default;

private:
    static constexpr std::uint32_t kSystemBit = 0x80000000u;
    constexpr explicit Colour(std::uint32_t bits) : bits_(bits) {}
    std::uint32_t bits_;
};

inline constexpr Colour kBlue = Colour::Rgb(0, 0, 255);
inline constexpr Colour kBlack = Colour::Rgb(0, 0, 0);
inline constexpr Colour kBtnFace = Colour::System(COLOR_BTNFACE);
inline constexpr Colour kWindowText = Colour::System(COLOR_WINDOWTEXT);

} // namespace forms
