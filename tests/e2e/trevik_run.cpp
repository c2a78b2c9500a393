#include "tests/e2e/trevik_run.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace trevik::e2e {

Programs& ThePrograms() {
    static Programs programs;
    return programs;
}

bool ParsePrograms(int argc, char** argv) {
    Programs& p = ThePrograms();
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string a = argv[i];
        std::wstring* target = a == "--trevik"      ? &p.trevik
                               : a == "--winmm"     ? &p.winmm
                               : a == "--simulator" ? &p.simulator
                                                    : nullptr;
        if (target != nullptr) {
            *target = WindowsPath(argv[++i]);
        }
    }
    return !p.trevik.empty() && !p.winmm.empty() && !p.simulator.empty();
}

TrevikRun::TrevikRun(const std::wstring& tag) : folder(tag) {
    static unsigned counter = 0;
    eventName_ = "Local\\trevik-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++counter);
    go_ = CreateEventW(nullptr, FALSE, FALSE, Widen(eventName_).c_str());
    vcLog_ = folder.File(L"vc.log");
}

TrevikRun::~TrevikRun() {
    trevik.Kill(); // a test that failed half-way leaves nothing running
    sim.Close();
    if (go_ != nullptr) {
        CloseHandle(go_);
    }
}

namespace {

bool IsMainWindow(HWND w) {
    if (TextOf(w) != L"Trevik" || ClassOf(w) == L"#32770") {
        return false;
    }
    for (HWND child : ChildrenOf(w)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Edit") == 0) {
            return true;
        }
    }
    return false;
}

HWND MainWindowOf(DWORD pid) {
    struct Search {
        DWORD pid;
        HWND found;
    } search{pid, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == s->pid && IsWindowVisible(w) && IsMainWindow(w)) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

bool TrevikRun::Launch(const std::string& scenario, bool front, bool waitForWindow) {
    const Programs& p = ThePrograms();
    if (!CopyInto(p.trevik, folder.path()) || !CopyInto(p.winmm, folder.path())) {
        return false;
    }
    const std::wstring scenarioPath = folder.File(L"scenario.txt");
    WriteFileText(scenarioPath,
                  "log " + Narrow(vcLog_) + "\nevent " + eventName_ + "\n" + scenario);
    if (!sim.Start(p.simulator, folder.File(L"sim.log"), L"Mock simulator " + folder.path())) {
        return false;
    }
    const std::wstring exe = p.trevik.substr(p.trevik.find_last_of(L"\\/") + 1);
    if (!trevik.Start(
            folder.File(exe), L"",
            {L"TREVIK_VC_SCENARIO=" + scenarioPath, L"WINEDLLOVERRIDES=mscoree,mshtml=;winmm=n"})) {
        return false;
    }
    if (!waitForWindow) {
        return true;
    }
    if (!WaitUntil([&] { return (window = MainWindowOf(trevik.id())) != nullptr; })) {
        return false;
    }
    return !front || sim.ComeToFront();
}

void TrevikRun::Go() const {
    SetEvent(go_);
}

const std::string& TrevikRun::VcText() const {
    std::ifstream in(vcLog_.c_str(), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(vcText_.size()));
    if (in) {
        std::ostringstream tail;
        tail << in.rdbuf();
        vcText_ += tail.str();
    }
    return vcText_;
}

std::vector<VcLine> TrevikRun::VcLog() const {
    std::vector<VcLine> out;
    std::istringstream lines(VcText());
    std::string line;
    while (std::getline(lines, line)) {
        char tag = 0;
        long long t = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), "%c %lld %n", &tag, &t, &used) >= 2) {
            out.push_back({tag, t, line.substr(static_cast<std::size_t>(used))});
        }
    }
    return out;
}

bool TrevikRun::WaitFor(char tag, const std::string& needle,
                        std::chrono::milliseconds timeout) const {
    std::size_t from = 0; // start of the first line not yet looked at
    return WaitUntil(
        [&] {
            const std::string& text = VcText();
            for (std::size_t end; (end = text.find('\n', from)) != std::string::npos;
                 from = end + 1) {
                // "<tag> <time> <text>"
                if (text[from] == tag &&
                    text.substr(from, end - from).find(needle) != std::string::npos) {
                    return true;
                }
            }
            return false;
        },
        timeout);
}

bool TrevikRun::WaitDone(std::chrono::milliseconds timeout) {
    if (!WaitFor('D', "timeline done", timeout)) {
        return false;
    }
    sim.Flush();
    return true;
}

bool TrevikRun::Close() {
    if (!trevik.Running()) {
        return false;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    return trevik.WaitExit(std::chrono::seconds(15), &code) && code == 0;
}

std::vector<std::string> TrevikRun::Calls() const {
    std::vector<std::string> calls;
    for (const VcLine& l : VcLog()) {
        if (l.tag == 'C') {
            calls.push_back(l.text);
        }
    }
    return calls;
}

std::vector<Notification> TrevikRun::Notifications() const {
    std::vector<Notification> out;
    std::size_t handled = 0;
    for (const VcLine& l : VcLog()) {
        unsigned long long seq = 0, wp = 0, lp = 0;
        unsigned msg = 0;
        long long begin = 0;
        if (l.tag == 'P' &&
            std::sscanf(l.text.c_str(), "%llu %x %llx %llx", &seq, &msg, &wp, &lp) == 4) {
            out.push_back({msg, wp, lp, l.time});
        } else if (l.tag == 'H' &&
                   std::sscanf(l.text.c_str(), "%llu %x %lld", &seq, &msg, &begin) == 3 &&
                   handled < out.size()) {
            out[handled].begin = begin;
            out[handled].end = l.time;
            ++handled;
        }
    }
    return out;
}

std::vector<std::wstring> TrevikRun::ReportLines() const {
    for (HWND child : ChildrenOf(window)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Edit") == 0 &&
            (GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE)) {
            std::vector<std::wstring> lines;
            std::wstring text = TextOf(child);
            std::size_t start = 0;
            while (start < text.size()) {
                std::size_t end = text.find(L"\r\n", start);
                if (end == std::wstring::npos) {
                    end = text.size();
                }
                lines.push_back(text.substr(start, end - start));
                start = end + 2;
            }
            return lines;
        }
    }
    return {};
}

std::vector<KeyMsg> MessagesFor(const std::vector<Key>& keys) {
    struct Shape {
        UINT vk;
        UINT ch; // 0: no character message
    };
    // Up, Down, keypad 5, 0, 7, 1, 4: arrows with scan field 1, keypad keys with 6.
    constexpr Shape kShapes[] = {{0x26, 0},    {0x28, 0},    {0x65, 0x35}, {0x60, 0x30},
                                 {0x67, 0x37}, {0x61, 0x31}, {0x64, 0x34}};
    std::vector<KeyMsg> out;
    for (Key k : keys) {
        const Shape s = kShapes[static_cast<int>(k)];
        const std::uint64_t down = s.ch ? 0x00060001 : 0x00010001;
        out.push_back({WM_KEYDOWN, s.vk, down});
        if (s.ch) {
            out.push_back({WM_CHAR, s.ch, down});
        }
        out.push_back({WM_KEYUP, s.vk, down | 0xC0000000u});
    }
    return out;
}

std::vector<KeyMsg> Received(const std::vector<SimMessage>& log) {
    std::vector<KeyMsg> out;
    for (const SimMessage& m : log) {
        out.push_back({m.message, m.wParam, m.lParam});
    }
    return out;
}

void PrintTo(const KeyMsg& m, std::ostream* os) {
    *os << std::hex << m.message << ":" << m.wParam << ":" << m.lParam << std::dec;
}

std::string Describe(const std::vector<KeyMsg>& messages) {
    std::ostringstream s;
    s << std::hex;
    for (const KeyMsg& m : messages) {
        s << " " << m.message << ":" << m.wParam << ":" << m.lParam;
    }
    return s.str();
}

// A maximum beyond the signed 32-bit range counts as the largest signed value:
// taken as negative it would put every reading out of range and silence the handle.
static std::int32_t Half(std::uint32_t max) {
    return static_cast<std::int32_t>(std::min<std::uint32_t>(max, 0x7FFFFFFF)) / 2;
}

TranslationModel::TranslationModel(std::uint32_t xMax, std::uint32_t yMax)
    : xHalf_(Half(xMax)), yHalf_(Half(yMax)) {}

std::vector<Key> TranslationModel::Move(std::uint16_t x, std::uint16_t y) {
    const std::int32_t brakeLimits[] = {2800,  7900,  11900, 15300, 18700,
                                        22500, 25200, 26600, 28300, xHalf_};
    const std::int32_t powerLimits[] = {2600, 7800, 12000, 15600, 19100, yHalf_};
    bool changed = false;
    if (x < xHalf_) {
        int i = 0;
        while (i <= 9 && x >= brakeLimits[i]) {
            ++i;
        }
        changed |= i != brake_;
        brake_ = i;
    }
    if (y < yHalf_) {
        int i = 0;
        while (i <= 5 && y >= powerLimits[i]) {
            ++i;
        }
        changed |= 5 - i != power_;
        power_ = 5 - i;
    }
    target_ = brake_ > 0 ? -brake_ : power_;
    std::vector<Key> keys;
    if (changed) {
        if (target_ == -9) {
            keys.push_back(Key::Kp0);
            sent_ = -9;
        } else if (target_ == 0) {
            keys.push_back(Key::Kp5);
            sent_ = 0;
        } else if (target_ == 5) {
            keys.insert(keys.end(), 5, Key::Up);
        } else if (target_ == -8) {
            keys.insert(keys.end(), 8, Key::Down);
        }
    }
    for (; sent_ > target_; --sent_) {
        keys.push_back(Key::Down);
    }
    for (; sent_ < target_; ++sent_) {
        keys.push_back(Key::Up);
    }
    return keys;
}

std::vector<Key> TranslationModel::Buttons(std::uint64_t wParam) const {
    std::vector<Key> keys;
    if (wParam & 1) {
        keys.push_back(Key::Kp1);
    }
    if (wParam & 2) {
        keys.push_back(Key::Kp7);
        keys.push_back(Key::Kp4);
    }
    return keys;
}

} // namespace trevik::e2e
