#include "translation/key_strokes.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace trevik {

// Found by argument-dependent lookup, so failures print the message in hex.
void PrintTo(const KeyMessage& m, std::ostream* os) {
    *os << std::hex << "{0x" << m.message << ", 0x" << m.wParam << ", 0x" << m.lParam << "}";
}

namespace {

std::vector<KeyMessage> Messages(Stroke s) {
    auto m = MessagesOf(s);
    return {m.begin(), m.end()};
}

TEST(KeyStrokes, ExactMessagesOfEveryStroke) {
    struct Case {
        Stroke stroke;
        std::vector<KeyMessage> messages;
    };
    const Case cases[] = {
        {Stroke::Up, {{0x100, 0x26, 0x00010001}, {0x101, 0x26, 0xC0010001}}},
        {Stroke::Down, {{0x100, 0x28, 0x00010001}, {0x101, 0x28, 0xC0010001}}},
        {Stroke::Keypad5,
         {{0x100, 0x65, 0x00060001}, {0x102, 0x35, 0x00060001}, {0x101, 0x65, 0xC0060001}}},
        {Stroke::Keypad0,
         {{0x100, 0x60, 0x00060001}, {0x102, 0x30, 0x00060001}, {0x101, 0x60, 0xC0060001}}},
        {Stroke::Keypad7,
         {{0x100, 0x67, 0x00060001}, {0x102, 0x37, 0x00060001}, {0x101, 0x67, 0xC0060001}}},
        {Stroke::Keypad1,
         {{0x100, 0x61, 0x00060001}, {0x102, 0x31, 0x00060001}, {0x101, 0x61, 0xC0060001}}},
        {Stroke::Keypad4,
         {{0x100, 0x64, 0x00060001}, {0x102, 0x34, 0x00060001}, {0x101, 0x64, 0xC0060001}}},
    };
    ASSERT_EQ(std::size(cases), kStrokeCount);
    for (const Case& c : cases) {
        EXPECT_EQ(Messages(c.stroke), c.messages) << static_cast<int>(c.stroke);
    }
}

} // namespace
} // namespace trevik
