// The seven key strokes the simulator understands, as the window messages
// that make them up. Pure data: delivery goes through a KeySink.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace trevik {

enum class Stroke : std::uint8_t {
    Up,      // one notch toward power
    Down,    // one notch toward braking
    Keypad5, // neutral
    Keypad0, // last brake notch
    Keypad7, // button 2, first stroke
    Keypad1, // button 1
    Keypad4, // button 2, second stroke
};
inline constexpr std::size_t kStrokeCount = 7;

// Keyboard message numbers, spelled out so this code needs no Windows header.
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kWmChar = 0x0102;

struct KeyMessage {
    std::uint32_t message;
    std::uint32_t wParam;
    std::uint32_t lParam; // keyboard-message layout; sent zero-extended
    friend constexpr bool operator==(const KeyMessage&, const KeyMessage&) = default;
};

// A stroke's messages in sending order: key-down, character (keypad only), key-up.
std::span<const KeyMessage> MessagesOf(Stroke stroke);

// Where strokes go. Send delivers one whole stroke before returning.
class KeySink {
public:
    virtual void Send(Stroke stroke) = 0;

protected:
    ~KeySink() = default;
};

} // namespace trevik
