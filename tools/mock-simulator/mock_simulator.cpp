// A stand-in train simulator: a window whose only child takes the key
// strokes and moves a handle on the scale EB, B8 .. B1, N, P1 .. P5 the way a
// keyboard-driven simulator does. Every message is logged, with its time, for
// the end-to-end tests and the benchmarks.
//
//   mock-simulator.exe [--log PATH] [--title TEXT] [--at X Y]
#include "sim_protocol.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

namespace trevik::sim {
namespace {

// The handle: Up one notch toward P5, Down one toward B8 (only keypad 0 reaches
// EB, and Down leaves EB where it is); keypad 5 neutral, keypad 0 EB.
constexpr int kEmergency = -9;
constexpr int kLastBrake = -8;
constexpr int kFullPower = 5;

struct Handle {
    int position = -1; // B1, where a freshly started client assumes it
    std::wstring buttons;

    bool Key(WPARAM vk) {
        switch (vk) {
        case VK_UP:
            position = position == kEmergency ? kLastBrake : std::min(position + 1, kFullPower);
            return true;
        case VK_DOWN:
            position = position == kEmergency ? kEmergency : std::max(position - 1, kLastBrake);
            return true;
        case VK_NUMPAD5:
            position = 0;
            return true;
        case VK_NUMPAD0:
            position = kEmergency;
            return true;
        case VK_NUMPAD1:
        case VK_NUMPAD7:
        case VK_NUMPAD4:
            buttons += static_cast<wchar_t>(L'0' + (vk - VK_NUMPAD0));
            if (buttons.size() > 24) {
                buttons.erase(0, buttons.size() - 24);
            }
            return true;
        default:
            return false;
        }
    }
};

constexpr const wchar_t* kScale[] = {L"EB", L"B8", L"B7", L"B6", L"B5", L"B4", L"B3", L"B2",
                                     L"B1", L"N",  L"P1", L"P2", L"P3", L"P4", L"P5"};

class Gdi {
public:
    explicit Gdi(HGDIOBJ object) : object_(object) {}
    ~Gdi() {
        if (object_ != nullptr) {
            DeleteObject(object_);
        }
    }
    Gdi(const Gdi&) = delete;
    Gdi& operator=(const Gdi&) = delete;
    HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

class Simulator {
public:
    explicit Simulator(const std::wstring& logPath)
        : font_(
              CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")),
          highlight_(CreateSolidBrush(RGB(255, 200, 0))) {
        if (!logPath.empty()) {
            log_ = _wfopen(logPath.c_str(), L"w");
        }
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        if (log_ != nullptr) {
            std::fprintf(log_, "S 0 start qpf=%lld pid=%lu\n", static_cast<long long>(f.QuadPart),
                         GetCurrentProcessId());
        }
    }
    ~Simulator() {
        if (log_ != nullptr) {
            std::fclose(log_);
        }
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    void Log(const char* window, UINT msg, WPARAM wp, LPARAM lp) {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) {
            ++keyMessages_;
        }
        if (log_ != nullptr) {
            std::fprintf(log_, "M %lld %s %x %llx %llx %d\n", static_cast<long long>(t.QuadPart),
                         window, msg, static_cast<unsigned long long>(wp),
                         static_cast<unsigned long long>(static_cast<ULONG_PTR>(lp)),
                         handle_.position);
        }
    }
    LRESULT Flush() {
        if (log_ != nullptr) {
            std::fflush(log_);
        }
        return static_cast<LRESULT>(keyMessages_);
    }
    Handle& handle() { return handle_; }

    void Paint(HWND cab) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(cab, &ps);
        RECT client;
        GetClientRect(cab, &client);
        FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        HGDIOBJ old = SelectObject(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        const int cell = 30;
        for (int i = 0; i < 15; ++i) {
            RECT r{10 + i * cell, 20, 10 + i * cell + cell - 2, 56};
            if (i - 9 == handle_.position) {
                FillRect(dc, &r, static_cast<HBRUSH>(highlight_.get()));
            }
            FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            DrawTextW(dc, kScale[i], -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        const std::wstring seen = L"Buttons (keypad): " + handle_.buttons;
        RECT text{10, 70, client.right - 10, 100};
        DrawTextW(dc, seen.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE);
        SelectObject(dc, old);
        EndPaint(cab, &ps);
    }

private:
    std::FILE* log_ = nullptr;
    unsigned long long keyMessages_ = 0;
    Handle handle_;
    Gdi font_;
    Gdi highlight_;
};

Simulator* g_sim = nullptr; // the window procedures' way to the one simulator

LRESULT CALLBACK CabProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    g_sim->Log("cab", msg, wp, lp);
    switch (msg) {
    case WM_KEYDOWN:
        if (g_sim->handle().Key(wp)) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_KEYUP:
    case WM_CHAR:
        return 0;
    case WM_PAINT:
        g_sim->Paint(hwnd);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) {
        g_sim->Log("top", msg, wp, lp); // should never happen: strokes go to the child
    }
    switch (msg) {
    case kFront:
        SetForegroundWindow(hwnd);
        return GetForegroundWindow() == hwnd;
    case kStall:
        Sleep(static_cast<DWORD>(std::min<WPARAM>(wp, 60000)));
        return 0;
    case kPosition:
        return g_sim->handle().position;
    case kFlush:
        return g_sim->Flush();
    case kHide:
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

struct Options {
    std::wstring log;
    std::wstring title = L"Mock simulator";
    int x = 240;
    int y = 490;
};

Options ParseArgs() {
    Options o;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv != nullptr && i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--log" && i + 1 < argc) {
            o.log = argv[++i];
        } else if (a == L"--title" && i + 1 < argc) {
            o.title = argv[++i];
        } else if (a == L"--at" && i + 2 < argc) {
            o.x = _wtoi(argv[++i]);
            o.y = _wtoi(argv[++i]);
        }
    }
    LocalFree(argv);
    return o;
}

} // namespace
} // namespace trevik::sim

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    using namespace trevik::sim;
    const Options options = ParseArgs();
    Simulator sim(options.log);
    g_sim = &sim;

    WNDCLASSW wc{};
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = CabProc;
    wc.lpszClassName = kCabClass;
    RegisterClassW(&wc);

    HWND main = CreateWindowExW(0, kWindowClass, options.title.c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, options.x,
                                options.y, 480, 150, nullptr, nullptr, instance, nullptr);
    if (main == nullptr) {
        return 1;
    }
    RECT client;
    GetClientRect(main, &client);
    // The only child, so it is the first child a key sender looks for.
    CreateWindowExW(0, kCabClass, L"cab", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                    main, nullptr, instance, nullptr);
    ShowWindow(main, show);
    UpdateWindow(main);

    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    sim.Flush();
    g_sim = nullptr;
    return 0;
}
