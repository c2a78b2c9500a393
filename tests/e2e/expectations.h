// Checks shared by the end-to-end programs.
#pragma once

#include "tests/e2e/trevik_run.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

namespace trevik::e2e {

inline bool IsMove(UINT m) {
    return m == MM_JOY1MOVE || m == MM_JOY2MOVE;
}

// Every notification's strokes as the model says, checked message by message
// against what the simulator got while Trevik handled that notification.
inline void ExpectAccountedFor(const TrevikRun& run, std::uint32_t xMax, std::uint32_t yMax) {
    TranslationModel model(xMax, yMax);
    const auto notes = run.Notifications();
    const auto got = run.sim.KeyMessages();
    std::size_t next = 0; // into got
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < notes.size() && wrong < 5; ++i) {
        const Notification& n = notes[i];
        ASSERT_NE(n.end, 0) << "notification " << i << " was not handled";
        const auto keys = IsMove(n.message)
                              ? model.Move(static_cast<std::uint16_t>(n.lParam & 0xFFFF),
                                           static_cast<std::uint16_t>((n.lParam >> 16) & 0xFFFF))
                              : model.Buttons(n.wParam);
        const auto expected = MessagesFor(keys);
        std::vector<SimMessage> during;
        while (next < got.size() && got[next].time <= n.end) {
            during.push_back(got[next++]);
        }
        const auto received = Received(during);
        if (received != expected) {
            ++wrong;
            ADD_FAILURE() << "notification " << i << " (" << std::hex << n.message << " "
                          << n.wParam << " " << n.lParam << std::dec << "): expected"
                          << Describe(expected) << "\n got" << Describe(received);
        }
        for (const SimMessage& m : during) {
            EXPECT_TRUE(m.toCab) << "a stroke reached the simulator's top window";
            EXPECT_GE(m.time, n.begin) << "a stroke arrived before its notification was handled";
        }
    }
    EXPECT_EQ(next, got.size()) << "messages at the simulator after the last notification";
    if (!notes.empty()) {
        EXPECT_EQ(run.sim.Position(), model.sent()) << "simulator's handle vs model";
    }
}

} // namespace trevik::e2e
