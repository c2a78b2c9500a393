// Long runs and bad input against the shipping trevik.exe: nothing may crash
// it, leak from it, or lose a stroke.
#include "tests/e2e/expectations.h"

#include <psapi.h>

#include <cinttypes>
#include <cstdio>

namespace trevik::e2e {
namespace {

struct Resources {
    unsigned long handles = 0;
    unsigned long gdi = 0;
    unsigned long user = 0;
    unsigned long windows = 0;
    unsigned long long privateBytes = 0;
};

// As the virtual controller saw them from inside Trevik at its k-th wait.
Resources Inside(const TrevikRun& run, int k) {
    Resources r;
    const std::string needle = "wait " + std::to_string(k) + " ";
    for (const VcLine& l : run.VcLog()) {
        if (l.tag == 'W' && l.text.rfind(needle, 0) == 0) {
            std::sscanf(l.text.c_str() + needle.size(),
                        "handles=%lu gdi=%lu user=%lu private=%llu windows=%lu", &r.handles, &r.gdi,
                        &r.user, &r.privateBytes, &r.windows);
        }
    }
    return r;
}

Resources Sample(HANDLE process) {
    Resources r;
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    r.handles = handles;
    r.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    r.user = GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        r.privateBytes = memory.PrivateUsage;
    }
    return r;
}

void Print(const char* when, const Resources& r) {
    std::printf(
        "[ soak     ] %-26s handles %lu, GDI %lu, USER %lu, windows %lu, private %.2f MiB\n", when,
        r.handles, r.gdi, r.user, r.windows, static_cast<double>(r.privateBytes) / (1 << 20));
}

// Soak size from the command line (--soak N); 100,000 by default.
std::uint32_t g_soak = 100000;

TEST(Soak, HundredThousandNotificationsLeakNothingAndLoseNothing) {
    TrevikRun run(L"soak");
    const std::uint32_t first = std::min<std::uint32_t>(10000, g_soak);
    // One notification in ten moves the handles, to the notch limits and the
    // half maximum mostly; the others repeat the reading, as a resting handle does.
    ASSERT_TRUE(run.Launch("wait\nrandom 7 " + std::to_string(first) + " 10\nwait\nrandom 8 " +
                           std::to_string(g_soak - first) + " 10\nwait\n"));
    const std::int64_t start = QpcNow();
    run.Go();
    ASSERT_TRUE(run.WaitFor('W', "wait 2", std::chrono::minutes(5)));
    const Resources early = Sample(run.trevik.handle());
    run.Go();
    ASSERT_TRUE(run.WaitFor('W', "wait 3", std::chrono::minutes(20)));
    const double seconds = QpcSeconds(QpcNow() - start);
    const Resources late = Sample(run.trevik.handle());
    Print("outside, after 10,000:", early);
    Print("outside, after the last:", late);
    const Resources earlyInside = Inside(run, 2);
    const Resources lateInside = Inside(run, 3);
    Print("inside, after 10,000:", earlyInside);
    Print("inside, after the last:", lateInside);
    run.Go();
    ASSERT_TRUE(run.WaitDone());
    // Wine answers only a process's own questions about itself: the figures
    // from inside are the ones that count; those from outside when given.
    for (auto [a, b] : {std::pair{early, late}, std::pair{earlyInside, lateInside}}) {
        EXPECT_LE(b.handles, a.handles + 2);
        EXPECT_LE(b.gdi, a.gdi + 2);
        EXPECT_LE(b.user, a.user + 2);
        EXPECT_LE(b.windows, a.windows);
        EXPECT_LE(b.privateBytes, a.privateBytes + (256u << 10)) << "private memory grew";
    }
    EXPECT_GT(lateInside.handles, 0u) << "no figures from inside";

    const auto notes = run.Notifications();
    const auto got = run.sim.KeyMessages();
    std::printf("[ soak     ] %zu notifications, %zu key messages at the simulator, %.1f s\n",
                notes.size(), got.size(), seconds);
    EXPECT_EQ(notes.size(), g_soak);
    ExpectAccountedFor(run, 65535, 65535);
    EXPECT_TRUE(run.Close());
}

std::string Caps(std::uint32_t xMax, std::uint32_t yMax) {
    return "xmax " + std::to_string(xMax) + "\nymax " + std::to_string(yMax) + "\n";
}

TEST(BadInput, AxisMaximaOfZeroAndBeyondTwoToTheThirtyFirst) {
    struct Case {
        std::uint32_t xMax, yMax;
    };
    const Case cases[] = {{0, 0},
                          {0x80000000u, 65535},
                          {65535, 0xFFFFFFFFu},
                          {0xFFFFFFFFu, 0x80000001u},
                          {40000, 30000}};
    for (const Case& c : cases) {
        SCOPED_TRACE("xmax " + std::to_string(c.xMax) + ", ymax " + std::to_string(c.yMax));
        TrevikRun run(L"maxima");
        ASSERT_TRUE(run.Launch(Caps(c.xMax, c.yMax) + "wait\nrandom 11 300\n"));
        run.Go();
        ASSERT_TRUE(run.WaitDone());
        ExpectAccountedFor(run, c.xMax, c.yMax);
        const auto report = run.ReportLines();
        if (report.size() >= 10) {
            std::printf("[ report   ] %s | %s\n", Narrow(report[7]).c_str(),
                        Narrow(report[9]).c_str());
        }
        EXPECT_TRUE(run.Close());
    }
}

TEST(BadInput, NameOfThirtyTwoBytesWithoutTerminator) {
    TrevikRun run(L"name32");
    ASSERT_TRUE(run.Launch("name32 0123456789abcdef\nxmin 7\n", false));
    ASSERT_TRUE(WaitUntil([&] { return run.ReportLines().size() >= 13; }));
    const auto report = run.ReportLines();
    EXPECT_EQ(report[5], Widen("名称　: 0123456789abcdef0123456789abcdef"))
        << "the name is the 32 bytes and nothing after them";
    EXPECT_EQ(report[6], Widen("Xの最小値 = 7"));
    EXPECT_TRUE(run.Close());
}

TEST(BadInput, MinimumPeriodOfZeroAndVeryLarge) {
    for (std::uint32_t periodMin : {0u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE("periodmin " + std::to_string(periodMin));
        TrevikRun run(L"period");
        ASSERT_TRUE(run.Launch("periodmin " + std::to_string(periodMin) +
                               "\nwait\nmove 1400 25000\nmove 13600 9900\nmove 1400 1300\n"));
        run.Go();
        ASSERT_TRUE(run.WaitDone());
        for (const std::string& call : run.Calls()) {
            if (call.find("joySetCapture") != std::string::npos) {
                std::printf("[ period   ] wPeriodMin %u: %s\n", periodMin, call.c_str());
            }
        }
        ExpectAccountedFor(run, 65535, 65535);
        EXPECT_TRUE(run.Close());
    }
}

TEST(BadInput, NoForegroundWindowAtAll) {
    TrevikRun run(L"nofront");
    ASSERT_TRUE(run.Launch("wait\nmove 1400 25000\nmove 13600 9900\npress 3\npress 0\n"
                           "move 1400 1300\nmove 30000 25000\n"));
    // Nothing in front: both windows hidden, so nothing is left to activate.
    run.sim.Hide();
    ShowWindow(run.window, SW_HIDE);
    ASSERT_TRUE(WaitUntil([] { return GetForegroundWindow() == nullptr; }, std::chrono::seconds(5)))
        << "foreground is still " << ClassOf(GetForegroundWindow()) << " "
        << TextOf(GetForegroundWindow());
    run.Go();
    ASSERT_TRUE(run.WaitDone());
    const auto notes = run.Notifications();
    EXPECT_EQ(notes.size(), 8u);
    for (const Notification& n : notes) {
        EXPECT_NE(n.end, 0) << "every notification handled";
    }
    EXPECT_TRUE(run.sim.KeyMessages().empty());
    EXPECT_TRUE(run.Close());
}

TEST(BadInput, StalledSimulatorGetsEveryStrokeInOrderAfterwards) {
    TrevikRun run(L"stall");
    ASSERT_TRUE(run.Launch("wait\nmove 1400 25000\nmove 13600 9900\npress 3\npress 0\n"
                           "move 1400 1300\nmove 30000 25000\n"));
    const std::int64_t stallPosted = QpcNow();
    run.sim.Stall(2000);
    Sleep(100); // the simulator is inside its stall now
    run.Go();
    ASSERT_TRUE(run.WaitDone());
    const auto notes = run.Notifications();
    const auto got = run.sim.KeyMessages();
    ASSERT_FALSE(notes.empty());
    ASSERT_FALSE(got.empty());
    const double firstStroke = QpcSeconds(got[0].time - stallPosted);
    const double waited = QpcSeconds(got[0].time - notes[0].begin);
    std::printf("[ stall    ] first stroke %.2f s after the stall began; Trevik's handler waited "
                "%.2f s for it\n",
                firstStroke, waited);
    EXPECT_GE(firstStroke, 1.95) << "a stroke got through the stall";
    EXPECT_GT(waited, 1.0) << "Trevik waits for the simulator";
    ExpectAccountedFor(run, 65535, 65535);
    EXPECT_TRUE(run.Close());
}

} // namespace
} // namespace trevik::e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--soak") {
            trevik::e2e::g_soak = static_cast<std::uint32_t>(std::stoul(argv[i + 1]));
        }
    }
    if (!trevik::e2e::ParsePrograms(argc, argv)) {
        std::fprintf(stderr, "usage: %s --trevik EXE --winmm DLL --simulator EXE [--soak N]\n",
                     argv[0]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
