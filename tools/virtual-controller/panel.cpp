// The panel: a brake slider, a power slider and three buttons, for trying
// the program without the hardware. It runs on a thread of its own and only
// changes the reading the notifier posts; it never takes the activation, so
// the window in front (the simulator) keeps receiving the strokes.
#include "controller.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace trevik::vc {
namespace {

// A reading in the middle of each notch's band, for the default axis ranges.
constexpr std::uint32_t kBrakeX[10] = {1400,  5350,  9900,  13600, 17000,
                                       20600, 23850, 25900, 27450, 30000};
constexpr std::uint32_t kPowerY[6] = {25000, 17350, 13800, 9900, 5200, 1300};

enum : int { kBrake = 101, kPower, kButton1, kButton2, kButton3, kReadout };

struct Control {
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    int id, x, y, w, h;
};

constexpr Control kControls[] = {
    {L"STATIC", L"Brake  (0 release ... 9 emergency)", 0, 0, 10, 8, 300, 18},
    {TRACKBAR_CLASSW, L"", TBS_AUTOTICKS, kBrake, 10, 28, 300, 32},
    {L"STATIC", L"Power  (0 off ... 5 full)", 0, 0, 10, 70, 300, 18},
    {TRACKBAR_CLASSW, L"", TBS_AUTOTICKS, kPower, 10, 90, 300, 32},
    {L"BUTTON", L"B1", BS_AUTOCHECKBOX | BS_PUSHLIKE, kButton1, 10, 134, 60, 28},
    {L"BUTTON", L"B2", BS_AUTOCHECKBOX | BS_PUSHLIKE, kButton2, 80, 134, 60, 28},
    {L"BUTTON", L"B3", BS_AUTOCHECKBOX | BS_PUSHLIKE, kButton3, 150, 134, 60, 28},
    {L"STATIC", L"", 0, kReadout, 10, 172, 300, 18},
};

void Update(HWND panel) {
    Controller& c = TheController();
    const auto brake = SendDlgItemMessageW(panel, kBrake, TBM_GETPOS, 0, 0);
    const auto power = SendDlgItemMessageW(panel, kPower, TBM_GETPOS, 0, 0);
    const std::uint32_t x = kBrakeX[std::clamp<LRESULT>(brake, 0, 9)];
    const std::uint32_t y = kPowerY[std::clamp<LRESULT>(power, 0, 5)];
    c.SetReading(x, y);
    std::uint32_t bits = 0;
    for (int i = 0; i < 3; ++i) {
        if (IsDlgButtonChecked(panel, kButton1 + i) == BST_CHECKED) {
            bits |= 1u << i;
        }
    }
    c.Press(bits);
    wchar_t text[64];
    std::swprintf(text, 64, L"X = %u   Y = %u   buttons = %u", x, y, bits);
    SetDlgItemTextW(panel, kReadout, text);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_HSCROLL:
    case WM_COMMAND:
        Update(hwnd);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE; // the simulator stays in front
    case WM_CLOSE:
        ShowWindow(hwnd, SW_MINIMIZE);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

DWORD WINAPI PanelMain(void*) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleW(L"winmm.dll");
    WNDCLASSW wc{};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TrevikVirtualControllerPanel";
    RegisterClassW(&wc);
    HWND panel = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST, wc.lpszClassName,
                                 L"Virtual controller", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                 690, 182, 330, 230, nullptr, nullptr, instance, nullptr);
    if (panel == nullptr) {
        return 1;
    }
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const Control& k : kControls) {
        HWND w = CreateWindowExW(0, k.cls, k.text, WS_CHILD | WS_VISIBLE | k.style, k.x, k.y, k.w,
                                 k.h, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(k.id)),
                                 instance, nullptr);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    SendDlgItemMessageW(panel, kBrake, TBM_SETRANGE, TRUE, MAKELPARAM(0, 9));
    SendDlgItemMessageW(panel, kPower, TBM_SETRANGE, TRUE, MAKELPARAM(0, 5));
    Update(panel);
    ShowWindow(panel, SW_SHOWNOACTIVATE);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}

} // namespace

void StartPanel(Controller&) {
    HANDLE thread = CreateThread(nullptr, 0, &PanelMain, nullptr, 0, nullptr);
    if (thread != nullptr) {
        CloseHandle(thread); // lives as long as the process
    }
}

} // namespace trevik::vc
