// Random axis maxima and streams of readings through the whole translation:
// notches stay in range, every synchronisation reaches its target, and no
// notification sends more than the largest possible burst.
#include "translation/handle_sync.h"
#include "translation/notch_decoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class CountingSink final : public trevik::KeySink {
public:
    void Send(trevik::Stroke) override { ++count; }
    int count = 0;
};

// Largest burst: full power to brake notch 8 is eight Down, then thirteen steps.
constexpr int kMaxStrokesPerNotification = 21;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

template <typename T> T Take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = size < sizeof(T) ? size : sizeof(T);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    trevik::MasconState state;
    // Maxima as the device reports them: 32-bit unsigned, stored signed.
    const auto xMax = static_cast<std::int32_t>(Take<std::uint32_t>(data, size));
    const auto yMax = static_cast<std::int32_t>(Take<std::uint32_t>(data, size));
    trevik::SetLimits(state, xMax, yMax);

    CountingSink sink;
    while (size > 0) {
        // One move notification: X in the low word, Y in the high word.
        const auto lParam = Take<std::uint32_t>(data, size);
        const std::int32_t x = lParam & 0xFFFF;
        const std::int32_t y = lParam >> 16;
        bool changed = false;
        changed |= trevik::DecodeBrake(state, x) == trevik::DecodeOutcome::Changed;
        changed |= trevik::DecodePower(state, y) == trevik::DecodeOutcome::Changed;
        trevik::Combine(state);
        sink.count = 0;
        trevik::Synchronise(state, changed, sink);

        Check(state.BrakeNotch >= 0 && state.BrakeNotch <= 9);
        Check(state.MasconNotch >= 0 && state.MasconNotch <= 5);
        Check(state.TargetNotch >= -9 && state.TargetNotch <= 5);
        Check(state.SentNotch == state.TargetNotch);
        Check(sink.count <= kMaxStrokesPerNotification);
    }
    return 0;
}
