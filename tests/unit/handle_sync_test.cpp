#include "translation/handle_sync.h"
#include "translation/notch_decoder.h"

#include "tests/support/recording_sink.h"

#include <gtest/gtest.h>

namespace trevik {
namespace {

using testing::Concat;
using testing::RecordingSink;
using testing::Times;

constexpr Stroke U = Stroke::Up;
constexpr Stroke D = Stroke::Down;

// Sets the notches as a move notification would have decoded them, then
// combines and synchronises.
std::vector<Stroke> Notify(MasconState& state, RecordingSink& sink, std::int32_t brake,
                           std::int32_t power) {
    const bool changed = brake != state.BrakeNotch || power != state.MasconNotch;
    state.BrakeNotch = brake;
    state.MasconNotch = power;
    Combine(state);
    Synchronise(state, changed, sink);
    return sink.Take();
}

struct Step {
    std::int32_t brake, power;
    std::vector<Stroke> strokes;
    std::int32_t sentAfter;
};

void RunSequence(MasconState& state, const std::vector<Step>& steps) {
    RecordingSink sink;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        EXPECT_EQ(Notify(state, sink, s.brake, s.power), s.strokes) << "step " << i;
        EXPECT_EQ(state.SentNotch, s.sentAfter) << "step " << i;
    }
}

TEST(Synchronise, WorkedSequenceFromFreshWindow) {
    MasconState state; // SentNotch starts at -1
    RunSequence(state, {
                           {0, 0, {U}, 0}, // at rest in neutral: one Up at start
                           {0, 3, {U, U, U}, 3},
                           {0, 5, Times(7, U), 5}, // burst of five, then two steps
                           {0, 0, {Stroke::Keypad5}, 0},
                           {8, 0, Times(16, D), -8}, // burst of eight, then eight steps
                           {9, 0, {Stroke::Keypad0}, -9},
                           {4, 0, Times(5, U), -4},
                           {4, 2, {}, -4}, // power moved under an applied brake
                           {4, 2, {}, -4}, // nothing changed
                       });
}

TEST(Synchronise, LargestBurstsOfOneNotification) {
    MasconState state;
    RunSequence(state, {
                           {0, 0, {U}, 0},
                           {0, 5, Times(10, U), 5},  // neutral to full power
                           {8, 0, Times(21, D), -8}, // full power to brake 8
                           {9, 0, {Stroke::Keypad0}, -9},
                           {0, 5, Times(19, U), 5}, // brake 9 to full power, no keypad 5
                       });
}

TEST(Synchronise, AbsoluteCommandsFromTheOtherEnd) {
    MasconState state;
    RunSequence(state, {
                           {0, 5, Times(5 + 6, U), 5},
                           {9, 0, {Stroke::Keypad0}, -9}, // no Down strokes
                           {0, 0, {Stroke::Keypad5}, 0},  // -9 to neutral
                       });
}

TEST(Synchronise, PowerMovedWhileBrakeHeldRepeatsOnlyTheAbsoluteBursts) {
    MasconState state;
    RunSequence(state, {
                           {8, 0, Concat({Times(8, D), Times(7, D)}), -8},
                           {8, 3, Times(8, D), -8}, // burst repeated, SentNotch already there
                           {9, 3, {Stroke::Keypad0}, -9},
                           {9, 1, {Stroke::Keypad0}, -9},
                           {2, 1, Times(7, U), -2},
                           {2, 4, {}, -2},
                       });
}

TEST(Synchronise, UnchangedNotificationStillWalksToTarget) {
    // Without a change no absolute command is sent, but the steps still run.
    MasconState state;
    state.SentNotch = 3;
    state.TargetNotch = -9;
    RecordingSink sink;
    Synchronise(state, false, sink);
    EXPECT_EQ(sink.strokes, Times(12, D));
    EXPECT_EQ(state.SentNotch, -9);
}

} // namespace
} // namespace trevik
