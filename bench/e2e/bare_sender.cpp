// The floor for the latency benchmark: a window in a process of its own that,
// for each message posted to it, sends the same key messages Trevik would to
// the same target (the foreground window's first child) and does nothing else.
//
//   bare-sender.exe --event NAME --log PATH
// Posted WM_APP: wParam = virtual key (0x26 Up, 0x28 Down), lParam = strokes.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::FILE* g_log = nullptr; // the window procedure's way to its log
HANDLE g_done = nullptr;

long long Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
        const long long begin = Now();
        for (LPARAM i = 0; i < lp; ++i) {
            HWND target = GetForegroundWindow();
            if (target != nullptr) {
                HWND child = GetWindow(target, GW_CHILD);
                target = child != nullptr ? child : target;
                SendMessageA(target, WM_KEYDOWN, wp, 0x00010001);
                SendMessageA(target, WM_KEYUP, wp, static_cast<LPARAM>(0xC0010001u));
            }
        }
        const long long end = Now();
        std::fprintf(g_log, "B %lld %lld %lld\n", begin, end, static_cast<long long>(lp));
        SetEvent(g_done);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring event, log;
    for (int i = 1; argv != nullptr && i + 1 < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--event") {
            event = argv[++i];
        } else if (a == L"--log") {
            log = argv[++i];
        }
    }
    LocalFree(argv);
    g_log = _wfopen(log.c_str(), L"w");
    g_done = CreateEventW(nullptr, FALSE, FALSE, event.c_str());
    if (g_log == nullptr || g_done == nullptr) {
        return 1;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"TrevikBareSender";
    RegisterClassW(&wc);
    // An ordinary window like Trevik's, shown without taking the front.
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"bare sender", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                             100, nullptr, nullptr, instance, nullptr);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        DispatchMessageW(&m);
    }
    std::fclose(g_log);
    CloseHandle(g_done);
    return 0;
}
