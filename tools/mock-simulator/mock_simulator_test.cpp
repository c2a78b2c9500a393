// The mock simulator on its own: strokes sent to its child move the handle as
// a keyboard-driven simulator does, and every key message is logged in order.
#include "tests/e2e/e2e_support.h"

#include <gtest/gtest.h>

namespace trevik::e2e {
namespace {

std::string g_simulator; // mock-simulator.exe, from the command line

void Key(HWND cab, WPARAM vk) {
    SendMessageW(cab, WM_KEYDOWN, vk, 0x00010001);
    SendMessageW(cab, WM_KEYUP, vk, 0xC0010001);
}

TEST(MockSimulatorTest, HandleFollowsTheStrokes) {
    TempFolder folder(L"sim");
    MockSimulator sim;
    ASSERT_TRUE(sim.Start(WindowsPath(g_simulator), folder.File(L"sim.log"), L"sim smoke"));
    EXPECT_EQ(sim.Position(), -1) << "starts at B1";

    struct Case {
        const char* what;
        std::vector<WPARAM> keys;
        int position;
    };
    const Case cases[] = {
        {"Up to P5 and stops", std::vector<WPARAM>(8, VK_UP), 5},
        {"keypad 5: neutral", {VK_NUMPAD5}, 0},
        {"Down stops at B8", std::vector<WPARAM>(12, VK_DOWN), -8},
        {"keypad 0: EB", {VK_NUMPAD0}, -9},
        {"Down leaves EB", {VK_DOWN}, -9},
        {"Up from EB goes to B8", {VK_UP}, -8},
        {"button keys do not move it", {VK_NUMPAD1, VK_NUMPAD7, VK_NUMPAD4}, -8},
    };
    std::size_t sent = 0;
    for (const Case& c : cases) {
        for (WPARAM vk : c.keys) {
            Key(sim.cab, vk);
        }
        sent += 2 * c.keys.size();
        EXPECT_EQ(sim.Position(), c.position) << c.what;
    }
    EXPECT_EQ(sim.Flush(), sent);
    const auto log = sim.KeyMessages();
    ASSERT_EQ(log.size(), sent);
    EXPECT_TRUE(log.front().toCab);
    EXPECT_EQ(log.front().message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(log.front().lParam, 0x00010001u);
    EXPECT_EQ(log.back().message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(log.back().wParam, static_cast<std::uint64_t>(VK_NUMPAD4));
    EXPECT_EQ(log.back().position, -8);
    for (std::size_t i = 1; i < log.size(); ++i) {
        EXPECT_LE(log[i - 1].time, log[i].time);
    }
    EXPECT_TRUE(sim.Close());
}

TEST(MockSimulatorTest, ComesToFrontAndStallsWhenTold) {
    TempFolder folder(L"sim");
    MockSimulator sim;
    ASSERT_TRUE(sim.Start(WindowsPath(g_simulator), folder.File(L"sim.log"), L"sim front"));
    ASSERT_TRUE(sim.ComeToFront());
    EXPECT_EQ(GetWindow(GetForegroundWindow(), GW_CHILD), sim.cab);
    sim.Stall(500);
    Sleep(50); // let it pick the stall up
    const std::int64_t before = QpcNow();
    Key(sim.cab, VK_UP); // waits until the stall is over
    const double waited = QpcSeconds(QpcNow() - before);
    EXPECT_GT(waited, 0.3);
    EXPECT_EQ(sim.Position(), 0);
}

} // namespace
} // namespace trevik::e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        trevik::e2e::g_simulator = argv[1];
    }
    return RUN_ALL_TESTS();
}
