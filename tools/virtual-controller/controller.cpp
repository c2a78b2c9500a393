// A stand-in for the multimedia joystick service: a controller that exists
// only in a scenario file (or on the panel), seen through the six joy calls a
// joystick client makes, with its notifications posted as the real service
// posts them. Every call and every notification is logged for the tests.
#define _WINMM_ // we define the joy functions, we do not import them
#include "controller.h"

#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace trevik::vc {

std::int64_t Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

Log::Log() {
    InitializeCriticalSection(&lock_);
}

Log::~Log() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    DeleteCriticalSection(&lock_);
}

void Log::Open(const std::string& path) {
    if (!path.empty()) {
        file_ = std::fopen(path.c_str(), "w");
    }
}

void Log::Line(char tag, bool flush, const char* format, ...) {
    const std::int64_t now = Now();
    EnterCriticalSection(&lock_);
    if (file_ != nullptr) {
        std::fprintf(file_, "%c %lld ", tag, static_cast<long long>(now));
        va_list args;
        va_start(args, format);
        std::vfprintf(file_, format, args);
        va_end(args);
        std::fputc('\n', file_);
        if (flush) {
            std::fflush(file_);
        }
    }
    LeaveCriticalSection(&lock_);
}

namespace {

constexpr DWORD kHandledTimeoutMs = 30000; // a notification not handled by then: log and go on
constexpr DWORD kWaitTimeoutMs = 120000;   // a `wait` step never released: log and go on

Scenario LoadScenario() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"TREVIK_VC_SCENARIO", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return Scenario{};
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return ParseScenario(text.str());
}

// Our window procedure in front of the subscribed window's own: it passes
// every message on unchanged and notes when a notification has been handled,
// which is what lets the timeline go exactly as fast as the window drains it.
WNDPROC g_original = nullptr;
bool g_unicode = false;

LRESULT CALLBACK Observer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Controller& c = TheController();
    if (!c.IsNotification(msg)) {
        return g_unicode ? CallWindowProcW(g_original, hwnd, msg, wp, lp)
                         : CallWindowProcA(g_original, hwnd, msg, wp, lp);
    }
    const std::int64_t begin = Now();
    const LRESULT r = g_unicode ? CallWindowProcW(g_original, hwnd, msg, wp, lp)
                                : CallWindowProcA(g_original, hwnd, msg, wp, lp);
    c.Handled(msg, begin); // the log line's own time is the end
    return r;
}

// Readings near the notch limits and the half maximum, where decoding can go wrong.
class BiasedReadings {
public:
    BiasedReadings(std::uint32_t seed, const Scenario& sc) : state_(seed * 2654435761u + 1) {
        const auto half = [](std::uint32_t max) { return static_cast<std::int32_t>(max) / 2; };
        xEdges_ = {2800, 7900, 11900, 15300, 18700, 22500, 25200, 26600, 28300, half(sc.xMax)};
        yEdges_ = {2600, 7800, 12000, 15600, 19100, half(sc.yMax)};
    }
    std::uint32_t X(std::uint32_t previous) { return Pick(xEdges_, previous); }
    std::uint32_t Y(std::uint32_t previous) { return Pick(yEdges_, previous); }
    std::uint32_t Percent() { return Next() % 100; }

private:
    std::uint32_t Next() { // xorshift32
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    template <std::size_t N>
    std::uint32_t Pick(const std::array<std::int32_t, N>& edges, std::uint32_t previous) {
        const std::uint32_t r = Next() % 100;
        if (r < 20) {
            return previous; // this handle did not move
        }
        if (r < 80) {
            const std::int32_t edge = edges[Next() % N] + static_cast<std::int32_t>(Next() % 3) - 1;
            return static_cast<std::uint32_t>(std::clamp(edge, 0, 65535));
        }
        return Next() % 65536;
    }
    std::uint32_t state_;
    std::array<std::int32_t, 10> xEdges_{};
    std::array<std::int32_t, 6> yEdges_{};
};

// The process's resources as seen from inside it, for the soak. Wine 8 answers
// none of these for another process, and for its own it leaves the handle
// count, the GUI object counts and PrivateUsage at 0; so handles are counted
// by asking after each possible value, memory falls back to the commit charge,
// and the subscribed window's descendants stand in for USER objects.
struct Resources {
    DWORD handles = 0, gdi = 0, user = 0, windows = 0;
    unsigned long long privateBytes = 0, workingSet = 0;
    unsigned long long windowThreadCpu = 0, processCpu = 0; // 100 ns units
};

unsigned long long Ticks(const FILETIME& a, const FILETIME& b) {
    return ((static_cast<unsigned long long>(a.dwHighDateTime) << 32) | a.dwLowDateTime) +
           ((static_cast<unsigned long long>(b.dwHighDateTime) << 32) | b.dwLowDateTime);
}

Resources OwnResources(HWND window) {
    Resources r;
    HANDLE self = GetCurrentProcess();
    if (!GetProcessHandleCount(self, &r.handles) || r.handles == 0) {
        DWORD flags = 0;
        for (std::uintptr_t h = 4; h < 0x10000; h += 4) {
            r.handles += GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags) ? 1 : 0;
        }
    }
    r.gdi = GetGuiResources(self, GR_GDIOBJECTS);
    r.user = GetGuiResources(self, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        r.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
        r.workingSet = memory.WorkingSetSize;
    }
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(self, &created, &exited, &kernel, &user)) {
        r.processCpu = Ticks(kernel, user);
    }
    const DWORD tid = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    if (HANDLE thread = tid ? OpenThread(THREAD_QUERY_INFORMATION, FALSE, tid) : nullptr) {
        if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
            r.windowThreadCpu = Ticks(kernel, user);
        }
        CloseHandle(thread);
    }
    if (window != nullptr) {
        r.windows = 1;
        EnumChildWindows(
            window,
            [](HWND, LPARAM count) -> BOOL {
                ++*reinterpret_cast<DWORD*>(count);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&r.windows));
    }
    return r;
}

} // namespace

Controller::Controller() {
    InitializeCriticalSection(&lock_);
    scenario = LoadScenario();
    log.Open(scenario.logPath);
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    log.Line('S', true, "start qpf=%lld pid=%lu", static_cast<long long>(f.QuadPart),
             GetCurrentProcessId());
    for (const std::string& bad : scenario.errors) {
        log.Line('E', true, "scenario line not understood: %s", bad.c_str());
    }
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    handled_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!scenario.eventName.empty()) {
        std::wstring name(scenario.eventName.begin(), scenario.eventName.end());
        go_ = CreateEventW(nullptr, FALSE, FALSE, name.c_str());
    }
}

Controller::~Controller() {
    // At process exit the notifier thread is already gone; only the handles remain.
    for (HANDLE h : {stop_, handled_, go_, notifier_}) {
        if (h != nullptr) {
            CloseHandle(h);
        }
    }
    DeleteCriticalSection(&lock_);
}

Controller& TheController() {
    static Controller controller;
    return controller;
}

void Controller::SetReading(std::uint32_t x, std::uint32_t y) {
    EnterCriticalSection(&lock_);
    scenario.x = x;
    scenario.y = y;
    LeaveCriticalSection(&lock_);
}

void Controller::Reading(std::uint32_t& x, std::uint32_t& y, std::uint32_t& buttons) {
    EnterCriticalSection(&lock_);
    x = scenario.x;
    y = scenario.y;
    buttons = scenario.buttons;
    LeaveCriticalSection(&lock_);
}

bool Controller::IsNotification(UINT message) const {
    return message == MM_JOY1MOVE + id_ || message == MM_JOY1BUTTONDOWN + id_ ||
           message == MM_JOY1BUTTONUP + id_;
}

void Controller::Post(UINT message, WPARAM wp, LPARAM lp) {
    EnterCriticalSection(&lock_);
    HWND target = window_;
    const std::uint64_t seq = ++sequence_;
    LeaveCriticalSection(&lock_);
    if (target == nullptr) {
        return;
    }
    log.Line('P', false, "%llu %x %llx %llx", static_cast<unsigned long long>(seq), message,
             static_cast<unsigned long long>(wp), static_cast<unsigned long long>(lp));
    PostMessageW(target, message, wp, lp);
    if (scenario.pace == Pace::Handled && g_original != nullptr) {
        HANDLE waits[] = {handled_, stop_};
        if (WaitForMultipleObjects(2, waits, FALSE, kHandledTimeoutMs) == WAIT_TIMEOUT) {
            log.Line('E', true, "notification %llu not handled in %lu ms",
                     static_cast<unsigned long long>(seq), kHandledTimeoutMs);
        }
    }
}

void Controller::PostMove() {
    std::uint32_t x, y, buttons;
    Reading(x, y, buttons);
    // Both readings unsigned 16-bit; the held buttons as the service reports them.
    Post(MM_JOY1MOVE + id_, buttons & 0xF, MAKELPARAM(x & 0xFFFF, y & 0xFFFF));
}

void Controller::Press(std::uint32_t bits) {
    EnterCriticalSection(&lock_);
    const std::uint32_t before = scenario.buttons;
    LeaveCriticalSection(&lock_);
    std::uint32_t held = before;
    for (std::uint32_t b = 0; b < 4; ++b) {
        const std::uint32_t bit = 1u << b;
        if ((before & bit) == (bits & bit)) {
            continue;
        }
        held ^= bit;
        EnterCriticalSection(&lock_);
        scenario.buttons = held;
        LeaveCriticalSection(&lock_);
        // Held buttons in bits 0..3, the one that changed from bit 8 (JOY_BUTTON1CHG...).
        const UINT message = ((held & bit) ? MM_JOY1BUTTONDOWN : MM_JOY1BUTTONUP) + id_;
        Post(message, held | (JOY_BUTTON1CHG << b), 0);
    }
}

bool Controller::Pause(DWORD ms) {
    return WaitForSingleObject(stop_, ms) == WAIT_TIMEOUT;
}

void Controller::RunTimeline() {
    const bool paced = scenario.pace == Pace::Handled;
    auto tick = [&] { return paced || Pause(period_); };
    std::uint64_t waits = 0;
    for (const Step& step : scenario.timeline) {
        if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) {
            return;
        }
        switch (step.kind) {
        case Step::Kind::Wait: {
            const Resources r = OwnResources(window_);
            log.Line('W', true,
                     "wait %llu handles=%lu gdi=%lu user=%lu private=%llu windows=%lu "
                     "workingset=%llu threadcpu=%llu processcpu=%llu",
                     static_cast<unsigned long long>(++waits), r.handles, r.gdi, r.user,
                     r.privateBytes, r.windows, r.workingSet, r.windowThreadCpu, r.processCpu);
            HANDLE events[] = {go_, stop_};
            if (go_ == nullptr ||
                WaitForMultipleObjects(2, events, FALSE, kWaitTimeoutMs) == WAIT_TIMEOUT) {
                log.Line('E', true, "wait %llu: no go", static_cast<unsigned long long>(waits));
            }
            break;
        }
        case Step::Kind::Move:
            SetReading(step.a, step.b);
            PostMove();
            tick();
            break;
        case Step::Kind::Press:
            Press(step.a);
            tick();
            break;
        case Step::Kind::Hold:
            for (std::uint32_t i = 0; i < step.a && tick(); ++i) {
                PostMove();
            }
            break;
        case Step::Kind::Random: {
            BiasedReadings readings(step.a, scenario);
            for (std::uint32_t i = 0; i < step.b; ++i) {
                std::uint32_t x, y, buttons;
                Reading(x, y, buttons);
                if (readings.Percent() < step.c) {
                    SetReading(readings.X(x), readings.Y(y));
                }
                PostMove();
                if (!tick()) {
                    break;
                }
            }
            break;
        }
        case Step::Kind::Sleep:
            Pause(step.a);
            break;
        }
    }
    log.Line('D', true, "timeline done, %llu notifications",
             static_cast<unsigned long long>(sequence_));
    if (!paced) {
        while (Pause(period_)) {
            PostMove(); // the real service goes on every period, whatever moved
        }
    }
}

DWORD WINAPI Controller::NotifierMain(void* self) {
    static_cast<Controller*>(self)->RunTimeline();
    return 0;
}

MMRESULT Controller::Capture(HWND hwnd, UINT id, UINT period, BOOL changed) {
    MMRESULT result = JOYERR_NOERROR;
    if (hwnd == nullptr || !IsWindow(hwnd) || id > 1) {
        result = JOYERR_PARMS;
    } else if (scenario.probe[id] != JOYERR_NOERROR) {
        result = JOYERR_UNPLUGGED;
    } else if (window_ != nullptr) {
        result = JOYERR_NOCANDO;
    }
    DWORD pid = 0;
    const DWORD tid = hwnd ? GetWindowThreadProcessId(hwnd, &pid) : 0;
    log.Line('C', true, "joySetCapture hwnd=%llx id=%u period=%u changed=%d thread=%lu -> %u",
             reinterpret_cast<unsigned long long>(hwnd), id, period, changed, tid, result);
    if (result != JOYERR_NOERROR) {
        return result;
    }
    EnterCriticalSection(&lock_);
    window_ = hwnd;
    id_ = id;
    // As Wine's service: the period kept within 10 ms .. 1 s.
    period_ = std::clamp<DWORD>(period, 10, 1000);
    LeaveCriticalSection(&lock_);
    if (scenario.pace == Pace::Handled && g_original == nullptr && pid == GetCurrentProcessId()) {
        g_unicode = IsWindowUnicode(hwnd) != FALSE;
        const LONG_PTR proc = reinterpret_cast<LONG_PTR>(&Observer);
        g_original =
            reinterpret_cast<WNDPROC>(g_unicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, proc)
                                                : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, proc));
    }
    if (scenario.pace == Pace::Handled && g_original == nullptr) {
        log.Line('E', true, "cannot observe the window; notifications go by the period");
        scenario.pace = Pace::Period;
    }
    ResetEvent(stop_);
    notifier_ = CreateThread(nullptr, 0, &NotifierMain, this, 0, nullptr);
    if (scenario.panel) {
        StartPanel(*this);
    }
    return result;
}

MMRESULT Controller::Release(UINT id) {
    const bool captured = window_ != nullptr && id == id_;
    log.Line('C', true, "joyReleaseCapture id=%u -> %u", id, captured ? 0u : JOYERR_PARMS);
    if (!captured) {
        return JOYERR_PARMS;
    }
    SetEvent(stop_);
    if (notifier_ != nullptr && WaitForSingleObject(notifier_, 5000) != WAIT_OBJECT_0) {
        log.Line('E', true, "notifier did not stop");
    }
    EnterCriticalSection(&lock_);
    window_ = nullptr;
    LeaveCriticalSection(&lock_);
    log.Line('R', true, "released after %llu notifications",
             static_cast<unsigned long long>(sequence_));
    return JOYERR_NOERROR;
}

void Controller::Handled(UINT message, std::int64_t begin) {
    log.Line('H', false, "%llu %x %lld", static_cast<unsigned long long>(++handledCount_), message,
             static_cast<long long>(begin));
    SetEvent(handled_);
}

} // namespace trevik::vc

using trevik::vc::TheController;

extern "C" {

UINT WINAPI joyGetNumDevs(void) {
    const UINT n = TheController().scenario.numDevs;
    TheController().log.Line('C', true, "joyGetNumDevs -> %u", n);
    return n;
}

MMRESULT WINAPI joyGetPosEx(UINT id, LPJOYINFOEX info) {
    auto& c = TheController();
    MMRESULT result = MMSYSERR_INVALPARAM;
    const DWORD size = info ? info->dwSize : 0;
    if (info != nullptr && id < c.scenario.numDevs) {
        result = id < 2 ? c.scenario.probe[id] : JOYERR_PARMS;
    } else if (info != nullptr) {
        result = JOYERR_PARMS;
    }
    if (result == JOYERR_NOERROR && size >= sizeof(JOYINFOEX)) {
        std::uint32_t x, y, buttons;
        c.Reading(x, y, buttons);
        info->dwXpos = x;
        info->dwYpos = y;
        info->dwButtons = buttons;
        info->dwButtonNumber = static_cast<DWORD>(__builtin_popcount(buttons));
        info->dwPOV = JOY_POVCENTERED;
    }
    c.log.Line('C', true, "joyGetPosEx id=%u size=%lu -> %u", id, size, result);
    return result;
}

MMRESULT WINAPI joyGetDevCapsA(UINT_PTR id, LPJOYCAPSA caps, UINT size) {
    auto& c = TheController();
    const auto& sc = c.scenario;
    MMRESULT result = JOYERR_NOERROR;
    if (caps == nullptr) {
        result = MMSYSERR_INVALPARAM;
    } else if (id > 1 || sc.probe[id] != JOYERR_NOERROR) {
        result = JOYERR_PARMS; // nothing there to describe: the record is left alone
    } else {
        JOYCAPSA full{};
        full.wMid = sc.mid;
        full.wPid = sc.pid;
        std::copy(std::begin(sc.name), std::end(sc.name), full.szPname);
        full.wXmin = sc.xMin;
        full.wXmax = sc.xMax;
        full.wYmin = sc.yMin;
        full.wYmax = sc.yMax;
        full.wZmax = 65535;
        full.wNumButtons = sc.numButtons;
        full.wMaxButtons = 32;
        full.wPeriodMin = sc.periodMin;
        full.wPeriodMax = sc.periodMax;
        full.wMaxAxes = 2;
        full.wNumAxes = 2;
        std::memcpy(caps, &full, std::min<std::size_t>(size, sizeof full));
    }
    c.log.Line('C', true, "joyGetDevCapsA id=%llu size=%u -> %u",
               static_cast<unsigned long long>(id), size, result);
    return result;
}

MMRESULT WINAPI joyGetPos(UINT id, LPJOYINFO info) {
    auto& c = TheController();
    MMRESULT result = info == nullptr ? MMSYSERR_INVALPARAM
                      : id > 1        ? JOYERR_PARMS
                                      : c.scenario.probe[id];
    if (result == JOYERR_NOERROR) {
        std::uint32_t x, y, buttons;
        c.Reading(x, y, buttons);
        info->wXpos = x;
        info->wYpos = y;
        info->wZpos = 0;
        info->wButtons = buttons & 0xF;
    }
    c.log.Line('C', true, "joyGetPos id=%u -> %u", id, result);
    return result;
}

MMRESULT WINAPI joySetCapture(HWND hwnd, UINT id, UINT period, WINBOOL changed) {
    return TheController().Capture(hwnd, id, period, changed);
}

MMRESULT WINAPI joyReleaseCapture(UINT id) {
    return TheController().Release(id);
}

// Harmless stubs for the rest of the joystick family.
MMRESULT WINAPI joyGetDevCapsW(UINT_PTR id, LPJOYCAPSW, UINT) {
    TheController().log.Line('C', true, "joyGetDevCapsW id=%llu -> %u",
                             static_cast<unsigned long long>(id), JOYERR_PARMS);
    return JOYERR_PARMS;
}

MMRESULT WINAPI joyGetThreshold(UINT id, LPUINT threshold) {
    TheController().log.Line('C', true, "joyGetThreshold id=%u", id);
    if (threshold == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    *threshold = 0;
    return JOYERR_NOERROR;
}

MMRESULT WINAPI joySetThreshold(UINT id, UINT threshold) {
    TheController().log.Line('C', true, "joySetThreshold id=%u threshold=%u", id, threshold);
    return JOYERR_NOERROR;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        TheController(); // read the scenario and open the log before any call
    }
    return TRUE;
}

} // extern "C"
