// The shipping trevik.exe, end to end: the stand-in joystick service feeds it,
// the mock simulator receives what it sends. Nothing else is substituted.
#include "tests/e2e/expectations.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <algorithm>

namespace trevik::e2e {
namespace {

using K = Key;

std::vector<Key> Times(int n, Key k) {
    return std::vector<Key>(static_cast<std::size_t>(n), k);
}
std::vector<Key> Cat(std::initializer_list<std::vector<Key>> parts) {
    std::vector<Key> all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

constexpr const char* kReport[] = {
    "ドライバがサポートしているジョイスティック数: ",
    nullptr, // connected or not
    "現在のジョイスティックID = ",
    "製造者ID = ",
    "製品 ID = ",
    "名称　: ",
    "Xの最小値 = ",
    "Xの最大値 = ",
    "Yの最小値 = ",
    "Yの最大値 = ",
    "ボタン数 = ",
    "最小ポーリング間隔(ms) = ",
    "最大ポーリング間隔(ms) = ",
};

std::vector<std::wstring> Report(const std::vector<std::string>& values, bool connected) {
    std::vector<std::wstring> lines;
    for (std::size_t i = 0; i < 13; ++i) {
        if (i == 1) {
            lines.push_back(Widen(connected ? "ジョイスティックが接続されています。"
                                            : "ジョイスティックが接続されていません。"));
        } else {
            lines.push_back(Widen(kReport[i]) + Widen(values[i < 1 ? i : i - 1]));
        }
    }
    return lines;
}

std::size_t Count(const std::vector<std::string>& calls, const std::string& needle) {
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [&](auto& c) { return c.find(needle) != std::string::npos; }));
}

class EndToEnd : public ::testing::Test {
protected:
    // Runs the scenario to its end and closes Trevik, which must release.
    void RunToEnd(TrevikRun& run, const std::string& scenario) {
        ASSERT_TRUE(run.Launch(scenario));
        run.Go();
        ASSERT_TRUE(run.WaitDone());
        CloseAndExpectRelease(run);
    }
    void CloseAndExpectRelease(TrevikRun& run) {
        EXPECT_TRUE(run.Close()) << "Trevik did not end with 0 on WM_CLOSE";
        const auto calls = run.Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_NE(calls.back().find("joyReleaseCapture"), std::string::npos) << calls.back();
    }
};

TEST_F(EndToEnd, StartUpReportsTheDeviceAndSubscribesItsWindow) {
    TrevikRun run(L"startup");
    ASSERT_TRUE(run.Launch("mid 4660\npid 22136\nname Cab One\nxmax 65535\nymax 65535\n"
                           "buttons 3\nperiodmin 10\nperiodmax 1000\n",
                           false));
    ASSERT_TRUE(run.WaitFor('C', "joyGetPos id=0"));
    EXPECT_EQ(run.ReportLines(), Report({"16", "0", "4660", "22136", "Cab One", "0", "65535", "0",
                                         "65535", "3", "10", "1000"},
                                        true));
    const auto calls = run.Calls();
    char capture[96];
    std::snprintf(capture, sizeof capture, "joySetCapture hwnd=%llx id=0 period=20 changed=0",
                  reinterpret_cast<unsigned long long>(run.window));
    const std::vector<std::string> expected = {
        "joyGetNumDevs -> 16", "joyGetPosEx id=0 size=52 -> 0", "joyGetDevCapsA id=0 size=404",
        capture, "joyGetPos id=0 -> 0"};
    ASSERT_EQ(calls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NE(calls[i].find(expected[i]), std::string::npos) << calls[i];
    }
    DWORD tid = GetWindowThreadProcessId(run.window, nullptr);
    EXPECT_NE(calls[3].find("thread=" + std::to_string(tid)), std::string::npos)
        << "subscribed from the window's own thread";
    CloseAndExpectRelease(run);
}

TEST_F(EndToEnd, WorkedSequenceSendsExactlyTheExpectedStrokes) {
    TrevikRun run(L"worked");
    // Brake notch in X, power notch in Y; readings in the middle of each band.
    RunToEnd(run, "wait\n"
                  "move 1400 25000\n"  // 0, 0 at rest: the one Up of the start
                  "move 1400 9900\n"   // 0, 3
                  "move 1400 1300\n"   // 0, 5
                  "move 1400 25000\n"  // 0, 0
                  "move 27450 25000\n" // 8, 0
                  "move 30000 25000\n" // 9, 0
                  "move 17000 25000\n" // 4, 0
                  "move 17000 13800\n" // 4, 2
                  "move 17000 13800\n" // 4, 2 again
    );
    const std::vector<std::vector<Key>> perNotification = {
        {K::Up},
        Times(3, K::Up),
        Times(7, K::Up),
        {K::Kp5},
        Times(16, K::Down),
        {K::Kp0},
        Times(5, K::Up),
        {},
        {},
    };
    std::vector<Key> all;
    for (const auto& keys : perNotification) {
        all.insert(all.end(), keys.begin(), keys.end());
    }
    const auto got = run.sim.KeyMessages();
    EXPECT_EQ(Received(got), MessagesFor(all)) << Describe(Received(got));
    EXPECT_EQ(run.sim.Position(), -4);
    // And each notification's strokes arrived while Trevik handled it.
    const auto notes = run.Notifications();
    ASSERT_EQ(notes.size(), perNotification.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const std::size_t count = MessagesFor(perNotification[i]).size();
        for (std::size_t j = next; j < next + count && j < got.size(); ++j) {
            EXPECT_GE(got[j].time, notes[i].begin) << "notification " << i;
            EXPECT_LE(got[j].time, notes[i].end) << "notification " << i;
        }
        next += count;
    }
}

TEST_F(EndToEnd, ButtonsSendTheirKeypadStrokes) {
    TrevikRun run(L"buttons");
    // Button 1; up; button 2; 1 while 2 held; 1 released with 2 held; all up; button 3.
    RunToEnd(run, "wait\npress 1\npress 0\npress 2\npress 3\npress 2\npress 0\npress 4\npress 0\n");
    const auto notes = run.Notifications();
    const std::vector<std::uint64_t> wParams = {0x101, 0x100, 0x202, 0x103,
                                                0x102, 0x200, 0x404, 0x400};
    ASSERT_EQ(notes.size(), wParams.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].wParam, wParams[i]) << i;
    }
    const auto expected =
        MessagesFor(Cat({{K::Kp1}, {K::Kp7, K::Kp4}, {K::Kp1, K::Kp7, K::Kp4}, {K::Kp7, K::Kp4}}));
    EXPECT_EQ(Received(run.sim.KeyMessages()), expected);
    EXPECT_EQ(run.sim.Position(), -1) << "buttons do not move the handle";
}

TEST_F(EndToEnd, SecondJoystickIsFoundSubscribedAndFollowed) {
    TrevikRun run(L"joy2");
    ASSERT_TRUE(
        run.Launch("probe 0 167\nprobe 1 0\nwait\n"
                   "move 1400 25000\nmove 13600 25000\npress 1\npress 0\nmove 1400 1300\n"));
    run.Go();
    ASSERT_TRUE(run.WaitDone());
    const auto report = run.ReportLines();
    ASSERT_GE(report.size(), 3u);
    EXPECT_EQ(report[2], Widen("現在のジョイスティックID = 1"));
    CloseAndExpectRelease(run);
    const auto calls = run.Calls();
    EXPECT_EQ(Count(calls, "joyGetPosEx id=0 size=52 -> 167"), 1u);
    EXPECT_EQ(Count(calls, "joyGetPosEx id=1 size=52 -> 0"), 1u);
    EXPECT_EQ(Count(calls, "joyGetDevCapsA id=1"), 1u);
    EXPECT_EQ(Count(calls, " id=1 period=20 changed=0 "), 1u);
    EXPECT_EQ(Count(calls, "joyGetPos id=1"), 1u);
    EXPECT_EQ(Count(calls, "joyReleaseCapture id=1"), 1u);
    const auto notes = run.Notifications();
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes[0].message, static_cast<UINT>(MM_JOY2MOVE));
    ExpectAccountedFor(run, 65535, 65535);
    EXPECT_EQ(run.sim.Position(), 5);
}

TEST_F(EndToEnd, NoJoystickMeansNoSubscription) {
    struct Case {
        const char* what;
        const char* scenario;
        std::size_t probes;
    };
    const Case cases[] = {
        {"both absent", "probe 0 165\nprobe 1 167\n", 2},
        {"no driver support", "numdevs 0\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrevikRun run(L"nojoy");
        ASSERT_TRUE(run.Launch(c.scenario, false));
        ASSERT_TRUE(WaitUntil([&] { return run.ReportLines().size() >= 13; }));
        const auto report = run.ReportLines();
        EXPECT_EQ(report[1], Widen("ジョイスティックが接続されていません。"));
        EXPECT_TRUE(run.Close());
        const auto calls = run.Calls();
        EXPECT_EQ(Count(calls, "joyGetPosEx"), c.probes);
        EXPECT_EQ(Count(calls, "joySetCapture"), 0u);
        EXPECT_EQ(Count(calls, "joyGetPos "), 0u);
        EXPECT_EQ(Count(calls, "joyReleaseCapture"), 0u);
    }
}

TEST_F(EndToEnd, ProbeResultElevenShowsTheErrorBoxAndNoJoystick) {
    TrevikRun run(L"probe11");
    ASSERT_TRUE(run.Launch("probe 0 11\nprobe 1 0\n", false, false));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = TopWindowOf(run.trevik.id(), L"#32770")); }));
    EXPECT_EQ(TopWindowOf(run.trevik.id()), box) << "the box comes before the main window";
    EXPECT_EQ(TextOf(box), Widen("エラー"));
    bool found = false;
    for (HWND child : ChildrenOf(box)) {
        found |= TextOf(child) == Widen("joyGetPosEx の呼び出しでエラーが発生しました。");
    }
    EXPECT_TRUE(found) << "message text";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] {
        return (run.window = TopWindowOf(run.trevik.id())) != nullptr &&
               run.ReportLines().size() >= 13;
    }));
    EXPECT_EQ(run.ReportLines()[1], Widen("ジョイスティックが接続されていません。"));
    EXPECT_TRUE(run.Close());
    const auto calls = run.Calls();
    EXPECT_EQ(Count(calls, "joyGetPosEx"), 1u) << "joystick 2 is not probed";
    EXPECT_EQ(Count(calls, "joySetCapture"), 0u);
}

TEST_F(EndToEnd, OutOfRangeReadingsAreIgnored) {
    TrevikRun run(L"range");
    RunToEnd(run, "wait\n"
                  "move 1400 25000\n"  // Up to neutral
                  "move 13600 25000\n" // brake 3
                  "move 40000 40000\n" // both out of range: nothing
                  "move 32767 25000\n" // X at the half: ignored; Y unchanged
                  "move 32766 25000\n" // just below the half: brake 9
                  "move 1400 32767\n"  // brake 0, Y at the half ignored: neutral
                  "move 65535 1300\n"  // X ignored, power 5
    );
    const auto expected =
        MessagesFor(Cat({{K::Up}, Times(3, K::Down), {K::Kp0}, {K::Kp5}, Times(10, K::Up)}));
    EXPECT_EQ(Received(run.sim.KeyMessages()), expected)
        << Describe(Received(run.sim.KeyMessages()));
    ExpectAccountedFor(run, 65535, 65535);
}

TEST_F(EndToEnd, SimulatorEndsWhereTheControllerStandsAfterARandomDrive) {
    TrevikRun run(L"random");
    RunToEnd(run, "wait\nrandom 20261211 1500\npress 3\npress 0\n");
    ExpectAccountedFor(run, 65535, 65535);
    TranslationModel model(65535, 65535);
    for (const Notification& n : run.Notifications()) {
        if (IsMove(n.message)) {
            model.Move(static_cast<std::uint16_t>(n.lParam),
                       static_cast<std::uint16_t>(n.lParam >> 16));
        }
    }
    EXPECT_EQ(run.sim.Position(), model.target());
}

} // namespace
} // namespace trevik::e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!trevik::e2e::ParsePrograms(argc, argv)) {
        std::fprintf(stderr, "usage: %s --trevik EXE --winmm DLL --simulator EXE\n", argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
