// Figures for the shipping trevik.exe under Wine, each beside a yardstick
// measured in the same run: added latency against a bare sender, CPU at rest,
// start-up time and memory against a bare window program. Prints; never fails
// on timing.
//
//   trevik_e2e_bench.exe --trevik EXE --winmm DLL --simulator EXE
//                        --bare-sender EXE --bare-window EXE [--full]
#include "tests/e2e/trevik_run.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace trevik::e2e {
namespace {

struct Options {
    std::wstring bareSender;
    std::wstring bareWindow;
    bool full = false;
} g_options;

double Micro(std::int64_t ticks) {
    return QpcSeconds(ticks) * 1e6;
}

struct Stats {
    std::size_t n = 0;
    double p50 = 0, p99 = 0;
};

Stats Of(std::vector<double> v) {
    Stats s;
    s.n = v.size();
    if (v.empty()) {
        return s;
    }
    std::sort(v.begin(), v.end());
    s.p50 = v[v.size() / 2];
    s.p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
    return s;
}

// Latency (posted to last key message, or to the end of handling when nothing
// is sent) and handling time, per kind of notification.
struct Samples {
    std::vector<double> latency, handling;
};
enum Kind { kNothing, kOneNotch, kBurst, kKinds };
constexpr const char* kKindNames[] = {"nothing changed", "one-notch step", "burst of 21"};

int KindOf(std::size_t messages) {
    return messages == 0 ? kNothing : messages == 2 ? kOneNotch : messages == 42 ? kBurst : -1;
}

void Add(Samples (&out)[kKinds], std::int64_t posted, std::int64_t begin, std::int64_t end,
         const std::vector<SimMessage>& during) {
    const int kind = KindOf(during.size());
    if (kind < 0) {
        return;
    }
    const std::int64_t last = during.empty() ? end : during.back().time;
    out[kind].latency.push_back(Micro(last - posted));
    out[kind].handling.push_back(Micro(end - begin));
}

// The messages the simulator logged within [begin, end].
std::vector<SimMessage> During(const std::vector<SimMessage>& got, std::int64_t begin,
                               std::int64_t end) {
    auto first = std::lower_bound(got.begin(), got.end(), begin,
                                  [](const SimMessage& m, std::int64_t t) { return m.time < t; });
    auto last = std::upper_bound(first, got.end(), end,
                                 [](std::int64_t t, const SimMessage& m) { return t < m.time; });
    return {first, last};
}

// Waits for a `wait` line of the controller's log, looking only every 100 ms:
// the usual 10 ms polling reads the log while Trevik's block runs and takes
// the machine from it, where the floor's block is waited for on an event.
bool WaitSeldom(const TrevikRun& run, const std::string& needle,
                std::chrono::milliseconds timeout) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
    while (!run.WaitFor('W', needle, std::chrono::milliseconds(0))) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(100);
    }
    return true;
}

// Trevik and the floor take turns, a block of one kind each, so that whatever
// else the machine does falls on both alike.
void Latency(std::size_t perKind) {
    constexpr std::size_t kBlock = 50;
    std::vector<int> plan;
    for (std::size_t b = 0; b < perKind / kBlock; ++b) {
        for (int kind = 0; kind < kKinds; ++kind) {
            plan.push_back(kind);
        }
    }
    std::string scenario = "wait\nmove 1400 25000\n";
    for (int kind : plan) {
        scenario += "wait\n";
        for (std::size_t i = 0; i < kBlock; ++i) {
            scenario += kind == kNothing ? "hold 1\n"
                        : kind == kOneNotch
                            ? (i % 2 ? "move 1400 13800\n" : "move 1400 17350\n")
                            : "move 1400 1300\nmove 27450 25000\n"; // 18 Up, 21 Down
        }
    }
    Samples trevik[kKinds], floor[kKinds];
    TrevikRun run(L"bench");
    if (!run.Launch(scenario)) {
        std::printf("latency: could not start Trevik\n");
        return;
    }
    const std::wstring eventName = L"Local\\trevik-bench-" + std::to_wstring(GetCurrentProcessId());
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, eventName.c_str());
    const std::wstring log = run.folder.File(L"bare.log");
    Process bare;
    HWND window = nullptr;
    if (done == nullptr ||
        !bare.Start(g_options.bareSender, L"--event " + eventName + L" --log \"" + log + L"\"") ||
        !WaitUntil([&] { return (window = TopWindowOf(bare.id(), L"TrevikBareSender")); }) ||
        !run.sim.ComeToFront()) {
        std::printf("latency: could not start the bare sender\n");
        if (done != nullptr) {
            CloseHandle(done);
        }
        return;
    }
    std::vector<std::int64_t> posted;
    auto post = [&](WPARAM vk, LPARAM strokes) {
        posted.push_back(QpcNow());
        PostMessageW(window, WM_APP, vk, strokes);
        WaitForSingleObject(done, 30000);
    };
    run.Go();
    bool ok = true;
    for (std::size_t b = 0; b < plan.size() && ok; ++b) {
        ok = WaitSeldom(run, "wait " + std::to_string(b + 2) + " ", std::chrono::minutes(2));
        for (std::size_t i = 0; i < kBlock; ++i) {
            switch (plan[b]) {
            case kNothing:
                post(VK_UP, 0);
                break;
            case kOneNotch:
                post(i % 2 ? VK_DOWN : VK_UP, 1);
                break;
            default:
                post(VK_UP, 18);
                post(VK_DOWN, 21);
            }
        }
        run.Go();
    }
    ok = ok && run.WaitDone(std::chrono::minutes(5));
    PostMessageW(window, WM_CLOSE, 0, 0);
    bare.WaitExit(std::chrono::seconds(10));
    CloseHandle(done);
    if (!ok) {
        std::printf("latency: the run did not finish\n");
        return;
    }
    const auto got = run.sim.KeyMessages();
    const auto notes = run.Notifications();
    for (std::size_t i = 1; i < notes.size(); ++i) { // the first only brings the handle to neutral
        Add(trevik, notes[i].posted, notes[i].begin, notes[i].end,
            During(got, notes[i].begin, notes[i].end));
    }
    run.Close();
    std::istringstream lines(ReadFileText(log));
    std::string line;
    std::size_t i = 0;
    while (std::getline(lines, line) && i < posted.size()) {
        long long begin = 0, end = 0, strokes = 0;
        if (std::sscanf(line.c_str(), "B %lld %lld %lld", &begin, &end, &strokes) == 3) {
            Add(floor, posted[i++], begin, end, During(got, begin, end));
        }
    }
    std::printf("\nAdded latency, posted notification to last key message at the simulator (us)\n");
    std::printf("%-18s %7s %10s %10s %10s %10s %7s %7s\n", "", "n", "p50", "p99", "floor p50",
                "floor p99", "x p50", "x p99");
    for (int k = 0; k < kKinds; ++k) {
        const Stats t = Of(trevik[k].latency), f = Of(floor[k].latency);
        std::printf("%-18s %7zu %10.1f %10.1f %10.1f %10.1f %7.2f %7.2f\n", kKindNames[k], t.n,
                    t.p50, t.p99, f.p50, f.p99, f.p50 > 0 ? t.p50 / f.p50 : 0,
                    f.p99 > 0 ? t.p99 / f.p99 : 0);
    }
    std::printf("\nTime in the handler (us): Trevik's window procedure vs the bare sender's; "
                "the difference is Trevik's own work\n");
    std::printf("%-18s %10s %10s %10s %10s %12s\n", "", "p50", "p99", "floor p50", "floor p99",
                "own (p50)");
    for (int k = 0; k < kKinds; ++k) {
        const Stats t = Of(trevik[k].handling), f = Of(floor[k].handling);
        std::printf("%-18s %10.1f %10.1f %10.1f %10.1f %12.1f\n", kKindNames[k], t.p50, t.p99,
                    f.p50, f.p99, t.p50 - f.p50);
    }
}

// The k-th `wait` line's figures from inside Trevik.
struct Inside {
    std::int64_t time = 0;
    unsigned long long privateBytes = 0, workingSet = 0, threadCpu = 0, processCpu = 0;
};

Inside InsideAt(const std::vector<VcLine>& log, int k) {
    Inside r;
    const std::string needle = "wait " + std::to_string(k) + " ";
    for (const VcLine& l : log) {
        if (l.tag == 'W' && l.text.rfind(needle, 0) == 0) {
            r.time = l.time;
            const char* p = std::strstr(l.text.c_str(), "private=");
            const char* q = std::strstr(l.text.c_str(), "workingset=");
            if (p && q) {
                std::sscanf(p, "private=%llu", &r.privateBytes);
                std::sscanf(q, "workingset=%llu threadcpu=%llu processcpu=%llu", &r.workingSet,
                            &r.threadCpu, &r.processCpu);
            }
        }
    }
    return r;
}

void Cpu(int seconds) {
    TrevikRun run(L"cpu");
    // 2 x 10 ms: notified at 50 Hz, the handles at rest.
    if (!run.Launch("pace period\nperiodmin 10\nwait\nmove 1400 25000\nhold " +
                    std::to_string(50 * seconds) + "\nwait\n")) {
        std::printf("cpu: could not start Trevik\n");
        return;
    }
    run.Go();
    run.WaitFor('W', "wait 2", std::chrono::seconds(seconds * 3 + 30));
    const auto log = run.VcLog();
    const Inside a = InsideAt(log, 1), b = InsideAt(log, 2);
    run.Go();
    run.Close();
    const double wall = QpcSeconds(b.time - a.time);
    const double thread = static_cast<double>(b.threadCpu - a.threadCpu) / 1e7;
    const double process = static_cast<double>(b.processCpu - a.processCpu) / 1e7;
    std::printf("\nCPU at 50 Hz, handles at rest, %.1f s: Trevik's window thread %.3f %% of a core"
                " (%.3f s); whole process incl. the stand-in's notifier %.3f %%\n",
                wall, 100 * thread / wall, thread, 100 * process / wall);
}

struct Start {
    double ms = 0;
    unsigned long long privateBytes = 0, workingSet = 0;
};

// Start-up to the window shown, and memory half a second later.
Start StartOnce(bool trevik) {
    Start s;
    TempFolder folder(trevik ? L"start-trevik" : L"start-bare");
    const Programs& p = ThePrograms();
    std::wstring exe = g_options.bareWindow, args, memoryFile = folder.File(L"memory.txt");
    std::vector<std::wstring> env;
    if (trevik) {
        CopyInto(p.trevik, folder.path());
        CopyInto(p.winmm, folder.path());
        exe = folder.File(p.trevik.substr(p.trevik.find_last_of(L"\\/") + 1));
        WriteFileText(folder.File(L"scenario.txt"),
                      "log " + Narrow(folder.File(L"vc.log")) + "\nsleep 500\nwait\n");
        env = {L"TREVIK_VC_SCENARIO=" + folder.File(L"scenario.txt")};
    } else {
        args = L"\"" + memoryFile + L"\"";
    }
    Process process;
    const std::int64_t t0 = QpcNow();
    if (!process.Start(exe, args, env)) {
        return s;
    }
    HWND window = nullptr;
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (!(window = TopWindowOf(process.id())) && GetTickCount64() < deadline) {
        Sleep(1);
    }
    s.ms = QpcSeconds(QpcNow() - t0) * 1e3;
    WaitUntil(
        [&] {
            if (trevik) {
                const std::string text = ReadFileText(folder.File(L"vc.log"));
                const auto at = text.find("wait 1 ");
                if (at == std::string::npos) {
                    return false;
                }
                const char* p = std::strstr(text.c_str() + at, "private=");
                const char* q = std::strstr(text.c_str() + at, "workingset=");
                return p && q && std::sscanf(p, "private=%llu", &s.privateBytes) == 1 &&
                       std::sscanf(q, "workingset=%llu", &s.workingSet) == 1;
            }
            const std::string text = ReadFileText(memoryFile);
            return std::sscanf(text.c_str(), "private=%llu workingset=%llu", &s.privateBytes,
                               &s.workingSet) == 2;
        },
        std::chrono::seconds(10));
    PostMessageW(window, WM_CLOSE, 0, 0);
    process.WaitExit(std::chrono::seconds(10));
    return s;
}

void StartUp(int runs) {
    std::vector<double> ms[2], priv[2], ws[2];
    for (int i = 0; i < runs; ++i) {
        for (int t = 0; t < 2; ++t) { // alternate, so drift hits both alike
            const Start s = StartOnce(t == 1);
            ms[t].push_back(s.ms);
            priv[t].push_back(static_cast<double>(s.privateBytes) / (1 << 20));
            ws[t].push_back(static_cast<double>(s.workingSet) / (1 << 20));
        }
    }
    const Stats bm = Of(ms[0]), tm = Of(ms[1]), bp = Of(priv[0]), tp = Of(priv[1]), bw = Of(ws[0]),
                tw = Of(ws[1]);
    std::printf("\nStart-up to window shown, median of %d (ms): Trevik %.0f, bare window %.0f, "
                "ratio %.2f\n",
                runs, tm.p50, bm.p50, bm.p50 > 0 ? tm.p50 / bm.p50 : 0);
    std::printf("Memory 0.5 s after start, median (MiB): private Trevik %.2f, bare %.2f, ratio "
                "%.2f; working set Trevik %.2f, bare %.2f, ratio %.2f\n",
                tp.p50, bp.p50, bp.p50 > 0 ? tp.p50 / bp.p50 : 0, tw.p50, bw.p50,
                bw.p50 > 0 ? tw.p50 / bw.p50 : 0);
}

} // namespace
} // namespace trevik::e2e

int main(int argc, char** argv) {
    using namespace trevik::e2e;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--full") {
            g_options.full = true;
        } else if (a == "--bare-sender" && i + 1 < argc) {
            g_options.bareSender = WindowsPath(argv[++i]);
        } else if (a == "--bare-window" && i + 1 < argc) {
            g_options.bareWindow = WindowsPath(argv[++i]);
        }
    }
    if (!ParsePrograms(argc, argv) || g_options.bareSender.empty() ||
        g_options.bareWindow.empty()) {
        std::fprintf(stderr,
                     "usage: %s --trevik EXE --winmm DLL --simulator EXE --bare-sender EXE "
                     "--bare-window EXE [--full]\n",
                     argv[0]);
        return 2;
    }
    const bool full = g_options.full;
    std::printf("%s run\n", full ? "Full" : "Short");
    Latency(full ? 10000 : 300);
    Cpu(full ? 60 : 5);
    StartUp(full ? 10 : 3);
    return 0;
}
