// The yardstick for start-up time and memory: the least a Win32 program with
// one window does. Half a second after its window is shown it writes its own
// memory figures (the same ones the virtual controller reports from inside
// Trevik) to the file named on its command line.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring report = argv != nullptr && argc > 1 ? argv[1] : L"";
    LocalFree(argv);
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TrevikBareWindow";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"bare window", WS_OVERLAPPEDWINDOW, 240, 182,
                             435, 290, nullptr, nullptr, instance, nullptr);
    ShowWindow(w, show);
    UpdateWindow(w);
    SetTimer(w, 1, 500, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (m.message == WM_TIMER && m.hwnd == w) {
            KillTimer(w, 1);
            PROCESS_MEMORY_COUNTERS_EX memory{};
            memory.cb = sizeof memory;
            GetProcessMemoryInfo(GetCurrentProcess(),
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                 sizeof memory);
            if (std::FILE* out = report.empty() ? nullptr : _wfopen(report.c_str(), L"w")) {
                std::fprintf(out, "private=%llu workingset=%llu\n",
                             static_cast<unsigned long long>(
                                 memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage),
                             static_cast<unsigned long long>(memory.WorkingSetSize));
                std::fclose(out);
            }
        }
        DispatchMessageW(&m);
    }
    return 0;
}
