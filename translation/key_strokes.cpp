#include "translation/key_strokes.h"

namespace trevik {
namespace {

// Repeat count 1 in bits 0..15, the scan-code field in bits 16..23; key-up
// adds the previous-state and transition bits. The extended-key bit stays
// clear even for the arrows.
constexpr std::uint32_t kArrowDown = 0x00010001;
constexpr std::uint32_t kKeypadDown = 0x00060001;
constexpr std::uint32_t kKeyUpBits = 0xC0000000;

struct StrokeMessages {
    std::array<KeyMessage, 3> messages;
    std::size_t count;
};

constexpr StrokeMessages Arrow(std::uint32_t vk) {
    return {{{{kWmKeyDown, vk, kArrowDown}, {kWmKeyUp, vk, kArrowDown | kKeyUpBits}, {}}}, 2};
}

constexpr StrokeMessages Keypad(std::uint32_t vk, char ch) {
    const auto c = static_cast<std::uint32_t>(ch);
    return {{{{kWmKeyDown, vk, kKeypadDown},
              {kWmChar, c, kKeypadDown},
              {kWmKeyUp, vk, kKeypadDown | kKeyUpBits}}},
            3};
}

// Indexed by Stroke.
constexpr std::array<StrokeMessages, kStrokeCount> kStrokes = {
    Arrow(0x26),       // Up: VK_UP
    Arrow(0x28),       // Down: VK_DOWN
    Keypad(0x65, '5'), // VK_NUMPAD5
    Keypad(0x60, '0'), // VK_NUMPAD0
    Keypad(0x67, '7'), // VK_NUMPAD7
    Keypad(0x61, '1'), // VK_NUMPAD1
    Keypad(0x64, '4'), // VK_NUMPAD4
};

} // namespace

std::span<const KeyMessage> MessagesOf(Stroke stroke) {
    const StrokeMessages& entry = kStrokes[static_cast<std::size_t>(stroke)];
    return {entry.messages.data(), entry.count};
}

} // namespace trevik
