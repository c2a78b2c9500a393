#include "translation/handle_sync.h"

#include <optional>

namespace trevik {
namespace {

void SendTimes(KeySink& sink, Stroke stroke, int times) {
    for (int i = 0; i < times; ++i) {
        sink.Send(stroke);
    }
}

// The simulator's absolute commands: the end positions have keys (or bursts
// long enough to reach them from anywhere) of their own.
struct AbsoluteCommand {
    std::int32_t target;
    Stroke stroke;
    int times;
    std::optional<std::int32_t> sentAfter; // unset: the steps below still walk SentNotch
};

constexpr AbsoluteCommand kAbsoluteCommands[] = {
    {-9, Stroke::Keypad0, 1, -9}, // last brake notch
    {0, Stroke::Keypad5, 1, 0},   // neutral
    {5, Stroke::Up, 5, {}},       // five power notches above neutral
    {-8, Stroke::Down, 8, {}},    // brake notches 1 to 8
};

void SendAbsoluteCommand(MasconState& state, KeySink& sink) {
    for (const AbsoluteCommand& command : kAbsoluteCommands) {
        if (command.target == state.TargetNotch) {
            SendTimes(sink, command.stroke, command.times);
            if (command.sentAfter) {
                state.SentNotch = *command.sentAfter;
            }
            return;
        }
    }
}

} // namespace

void Synchronise(MasconState& state, bool changed, KeySink& sink) {
    if (changed) {
        SendAbsoluteCommand(state, sink);
    }
    while (state.SentNotch > state.TargetNotch) {
        sink.Send(Stroke::Down);
        --state.SentNotch;
    }
    while (state.SentNotch < state.TargetNotch) {
        sink.Send(Stroke::Up);
        ++state.SentNotch;
    }
}

} // namespace trevik
