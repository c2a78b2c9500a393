// Cost of the translation per move notification, without the cost of the
// key messages themselves (the sink only counts).
#include "translation/handle_sync.h"
#include "translation/notch_decoder.h"

#include <benchmark/benchmark.h>

namespace {

class CountingSink final : public trevik::KeySink {
public:
    void Send(trevik::Stroke) override { benchmark::DoNotOptimize(++count); }
    long count = 0;
};

// What the move handler does with one reading pair, minus the display.
void OnMove(trevik::MasconState& state, std::int32_t x, std::int32_t y, trevik::KeySink& sink) {
    state.JoyX = x;
    state.JoyY = y;
    bool changed = trevik::DecodeBrake(state, x) == trevik::DecodeOutcome::Changed;
    changed |= trevik::DecodePower(state, y) == trevik::DecodeOutcome::Changed;
    trevik::Combine(state);
    trevik::Synchronise(state, changed, sink);
}

trevik::MasconState Calibrated() {
    trevik::MasconState state;
    trevik::SetLimits(state, 65535, 65535);
    return state;
}

// Handles at rest: the common case, every polling period.
void BM_MoveNothingChanged(benchmark::State& bs) {
    trevik::MasconState state = Calibrated();
    CountingSink sink;
    OnMove(state, 1000, 20000, sink);
    for (auto _ : bs) {
        std::int32_t x = 1000;
        std::int32_t y = 20000;
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
        OnMove(state, x, y, sink);
    }
}
BENCHMARK(BM_MoveNothingChanged);

// The worst burst and its way back: full power to brake notch 8 is 21 Down
// strokes, brake notch 8 to full power 18 Up. Each iteration is those two
// notifications; "per_notification" is the time of one of them.
void BM_MoveWorstBurst(benchmark::State& bs) {
    trevik::MasconState state = Calibrated();
    CountingSink sink;
    OnMove(state, 1000, 1000, sink); // full power
    sink.count = 0;
    for (auto _ : bs) {
        OnMove(state, 27000, 20000, sink); // brake notch 8
        OnMove(state, 1000, 1000, sink);   // full power
    }
    bs.counters["strokes"] =
        benchmark::Counter(static_cast<double>(sink.count), benchmark::Counter::kAvgIterations);
    bs.counters["per_notification"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MoveWorstBurst);

} // namespace

BENCHMARK_MAIN();
