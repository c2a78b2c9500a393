#include "translation/notch_decoder.h"

#include <gtest/gtest.h>

namespace trevik {
namespace {

constexpr std::int32_t kFullScale = 65535;

MasconState Calibrated(std::int32_t xMax = kFullScale, std::int32_t yMax = kFullScale) {
    MasconState state;
    SetLimits(state, xMax, yMax);
    return state;
}

TEST(SetLimits, FillsFixedEntriesAndHalfMaxima) {
    MasconState state = Calibrated(65535, 40001);
    EXPECT_EQ(state.XMax, 65535);
    EXPECT_EQ(state.YMax, 40001);
    EXPECT_EQ(state.BrakeLimits, (std::array<std::int32_t, 10>{2800, 7900, 11900, 15300, 18700,
                                                               22500, 25200, 26600, 28300, 32767}));
    EXPECT_EQ(state.MasconLimits,
              (std::array<std::int32_t, 6>{2600, 7800, 12000, 15600, 19100, 20000}));
}

struct Reading {
    std::int32_t value;
    std::int32_t notch;
};

// Every band edge on both sides, with full-scale maxima (half = 32767).
TEST(DecodeBrake, BandEdges) {
    const Reading cases[] = {{0, 0},     {2799, 0},  {2800, 1},  {7899, 1},  {7900, 2},
                             {11900, 3}, {15300, 4}, {18700, 5}, {22499, 5}, {22500, 6},
                             {25200, 7}, {26600, 8}, {28299, 8}, {28300, 9}, {32766, 9}};
    for (const Reading& c : cases) {
        MasconState state = Calibrated();
        state.BrakeNotch = c.notch == 0 ? 9 : 0; // force a change
        EXPECT_EQ(DecodeBrake(state, c.value), DecodeOutcome::Changed) << c.value;
        EXPECT_EQ(state.BrakeNotch, c.notch) << c.value;
    }
}

TEST(DecodePower, BandEdges) {
    const Reading cases[] = {{0, 5},     {2599, 5},  {2600, 4},  {7800, 3},  {12000, 2},
                             {15599, 2}, {15600, 1}, {19099, 1}, {19100, 0}, {32766, 0}};
    for (const Reading& c : cases) {
        MasconState state = Calibrated();
        state.MasconNotch = c.notch == 0 ? 5 : 0;
        EXPECT_EQ(DecodePower(state, c.value), DecodeOutcome::Changed) << c.value;
        EXPECT_EQ(state.MasconNotch, c.notch) << c.value;
    }
}

TEST(Decode, AtOrAboveHalfMaximumIsIgnored) {
    MasconState state = Calibrated();
    state.BrakeNotch = 4;
    state.MasconNotch = 2;
    for (std::int32_t reading : {32767, 40000, 65535}) {
        EXPECT_EQ(DecodeBrake(state, reading), DecodeOutcome::OutOfRange) << reading;
        EXPECT_EQ(DecodePower(state, reading), DecodeOutcome::OutOfRange) << reading;
    }
    EXPECT_EQ(state.BrakeNotch, 4);
    EXPECT_EQ(state.MasconNotch, 2);
}

TEST(Decode, SameReadingTwiceChangesOnlyOnce) {
    MasconState state = Calibrated();
    EXPECT_EQ(DecodeBrake(state, 13000), DecodeOutcome::Changed);
    EXPECT_EQ(DecodeBrake(state, 13000), DecodeOutcome::Unchanged);
    EXPECT_EQ(DecodeBrake(state, 14000), DecodeOutcome::Unchanged); // same band
    EXPECT_EQ(state.BrakeNotch, 3);
    EXPECT_EQ(DecodePower(state, 20000), DecodeOutcome::Unchanged); // notch 0 already
    EXPECT_EQ(DecodePower(state, 100), DecodeOutcome::Changed);
    EXPECT_EQ(DecodePower(state, 100), DecodeOutcome::Unchanged);
}

TEST(Decode, UncalibratedAxesIgnoreEveryReading) {
    MasconState state; // maxima 0 until the device is known
    EXPECT_EQ(DecodeBrake(state, 0), DecodeOutcome::OutOfRange);
    EXPECT_EQ(DecodePower(state, 0), DecodeOutcome::OutOfRange);
}

// With a small maximum the last limit sits below some fixed ones; the scan
// still stops at the first entry above the reading, so the high notches are
// unreachable and the top band of the remaining ones is cut short.
TEST(Decode, SmallMaximaScanLiterally) {
    MasconState state = Calibrated(45000, 30000); // halves 22500 and 15000
    EXPECT_EQ(DecodeBrake(state, 22499), DecodeOutcome::Changed);
    EXPECT_EQ(state.BrakeNotch, 5);
    EXPECT_EQ(DecodeBrake(state, 22500), DecodeOutcome::OutOfRange);

    // Half of YMax (15000) is below entry 3 (15600): power notch 0 and 1 are
    // never decoded, readings from 12000 on give notch 2.
    EXPECT_EQ(DecodePower(state, 14999), DecodeOutcome::Changed);
    EXPECT_EQ(state.MasconNotch, 2);
    EXPECT_EQ(DecodePower(state, 15000), DecodeOutcome::OutOfRange);

    // A maximum that wraps negative as a signed value ignores all readings.
    MasconState wrapped = Calibrated(-2, -2);
    EXPECT_EQ(DecodeBrake(wrapped, 0), DecodeOutcome::OutOfRange);
    EXPECT_EQ(DecodePower(wrapped, 0), DecodeOutcome::OutOfRange);
}

TEST(Decode, SmallMaximumBelowFixedLimitsIsScannedInTableOrder) {
    // Half of XMax = 2000, below the first fixed limit: every in-range reading
    // is brake notch 0.
    MasconState state = Calibrated(4000, 4000);
    state.BrakeNotch = 7;
    EXPECT_EQ(DecodeBrake(state, 1999), DecodeOutcome::Changed);
    EXPECT_EQ(state.BrakeNotch, 0);
    EXPECT_EQ(DecodePower(state, 1999), DecodeOutcome::Changed);
    EXPECT_EQ(state.MasconNotch, 5); // and power never leaves full power
    EXPECT_EQ(DecodePower(state, 0), DecodeOutcome::Unchanged);
}

TEST(Combine, AppliedBrakeOverridesPower) {
    struct Case {
        std::int32_t brake, power, combined;
    };
    const Case cases[] = {{3, 4, -3}, {0, 4, 4}, {0, 0, 0}, {9, 5, -9}, {1, 0, -1}, {0, 5, 5}};
    for (const Case& c : cases) {
        MasconState state;
        state.BrakeNotch = c.brake;
        state.MasconNotch = c.power;
        EXPECT_EQ(Combine(state), c.combined);
        EXPECT_EQ(state.TargetNotch, c.combined);
    }
}

} // namespace
} // namespace trevik
