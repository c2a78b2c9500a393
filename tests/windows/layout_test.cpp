// Both windows' layout against the designed tables, at the prefix's DPI
// (96, and 144 in a second run) and after a change of DPI: every control's
// rectangle relative to its parent, its font, the client area, position,
// border and title-bar buttons, and the hints.
#include "app/MasconAbout.h"
#include "app/MasconMain.h"
#include "forms/application.h"
#include "tests/support/recording_sink.h"
#include "tests/support/scripted_joystick.h"
#include "tests/support/test_prompter.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>

namespace trevik {
namespace {

struct Expected {
    const char* name;
    const char* parent; // nullptr: the form
    int left, top, width, height;
    int fontHeight; // 0: not checked (no text)
    BYTE charset;
    bool bold;
};

constexpr BYTE SJ = SHIFTJIS_CHARSET;
constexpr BYTE DF = DEFAULT_CHARSET;

// clang-format off
constexpr Expected kMainLayout[] = {
    {"Label1",       nullptr,         8,  16, 179,  15, -15, SJ, false},
    {"LblMPos",      nullptr,       272, 160,  43,  12, -12, SJ, false},
    {"LblBPos",      nullptr,       272, 184,  42,  12, -12, SJ, false},
    {"SpeedButton1", nullptr,       400,   0,  25,  25,   0, SJ, false},
    {"MemoInfo",     nullptr,         8,  32, 417,  97, -12, SJ, false},
    {"GBJoyStatus",  nullptr,         8, 144, 145, 105, -12, SJ, false},
    {"LblJoyX",      "GBJoyStatus",  24,  24,  50,  15, -15, SJ, false},
    {"LblJoyY",      "GBJoyStatus",  24,  48,  50,  15, -15, SJ, false},
    {"PnlB1",        "GBJoyStatus",  24,  80,  25,  17, -12, SJ, false},
    {"PnlB2",        "GBJoyStatus",  56,  80,  25,  17, -12, SJ, false},
    {"PnlB3",        "GBJoyStatus",  88,  80,  25,  17, -12, SJ, false},
    {"PBMascon",     nullptr,       160, 160,  54,  16,   0, SJ, false},
    {"PBBreak",      nullptr,       160, 184,  94,  16,   0, SJ, false},
    {"GBReset",      nullptr,       296, 144, 121, 105, -12, SJ, false},
    {"LblResetY",    "GBReset",      24,  48,  50,  15, -15, SJ, false},
    {"LblResetX",    "GBReset",      24,  24,  50,  15, -15, SJ, false},
    {"BtnReset",     "GBReset",      30,  72,  75,  25, -12, SJ, false},
};

constexpr Expected kAboutLayout[] = {
    {"Panel1",      nullptr,    8,   8, 281, 137,   0, DF, false},
    {"ProgramIcon", "Panel1",  32,  24,  33,  33,   0, DF, false},
    {"ProductName", "Panel1",  88,  24,  74,  19, -19, SJ, true},
    {"Version",     "Panel1",  88,  48,  39,  12, -12, DF, false},
    {"Copyright",   "Panel1",  64,  72, 145,  12, -12, DF, false},
    {"Comments",    "Panel1",  64,  96, 189,  12, -12, DF, false},
    {"Label1",      "Panel1",  64, 112, 115,  12, -12, DF, false},
    {"OKButton",    nullptr,  111, 156,  75,  25, -12, DF, false},
};
// clang-format on

UINT ExpectedDpi() {
    const char* env = std::getenv("TREVIK_LOGPIXELS");
    return env != nullptr ? static_cast<UINT>(std::atoi(env)) : 96u;
}

int S(int v, UINT dpi) {
    return MulDiv(v, static_cast<int>(dpi), 96);
}

bool IsLabel(HWND hwnd) {
    wchar_t cls[16]{};
    GetClassNameW(hwnd, cls, 16);
    return lstrcmpiW(cls, L"Static") == 0;
}

SIZE TextExtent(HWND label) {
    const std::wstring text = forms::Control(label).Text();
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return size;
}

void CheckControls(const forms::Form& form, std::span<const Expected> table, UINT dpi) {
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        HWND hwnd = form.ControlHandle(e.name);
        ASSERT_NE(hwnd, nullptr);
        HWND parent = e.parent != nullptr ? form.ControlHandle(e.parent) : form.Handle();
        EXPECT_EQ(GetParent(hwnd), parent);
        RECT r;
        GetWindowRect(hwnd, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, S(e.left, dpi));
        EXPECT_EQ(r.top, S(e.top, dpi));
        if (IsLabel(hwnd)) {
            // Labels size themselves to their text: all of it shows.
            const SIZE text = TextExtent(hwnd);
            EXPECT_GE(r.right - r.left, text.cx);
            EXPECT_GE(r.bottom - r.top, text.cy);
        } else {
            EXPECT_EQ(r.right - r.left, S(e.width, dpi));
            EXPECT_EQ(r.bottom - r.top, S(e.height, dpi));
        }
        if (e.fontHeight != 0) {
            LOGFONTW lf{};
            ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)),
                                 sizeof lf, &lf),
                      0);
            EXPECT_EQ(lf.lfHeight, S(e.fontHeight, dpi));
            EXPECT_EQ(lf.lfCharSet, e.charset);
            EXPECT_EQ(lf.lfWeight >= FW_BOLD, e.bold);
        }
    }
}

SIZE ClientSize(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

std::wstring Caption(HWND hwnd) {
    return forms::Control(hwnd).Text();
}

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        joystick.numDevs = 0; // no joystick: every label keeps its designed text
        app.SetPrompter(&prompter);
        app.Initialize();
        app.SetTitle(L"Trevik");
        main = &app.CreateForm<TMasconMainForm>(joystick, keys);
        about = &app.CreateForm<TMasconAboutBox>();
        dpi = ExpectedDpi();
    }
    testing::ScriptedJoystick joystick;
    testing::RecordingSink keys;
    testing::TestPrompter prompter;
    forms::Application app;
    TMasconMainForm* main = nullptr;
    TMasconAboutBox* about = nullptr;
    UINT dpi = 96;
};

TEST_F(LayoutTest, MainWindowAsDesigned) {
    ASSERT_EQ(GetDpiForWindow(main->Handle()), dpi) << "the prefix's LogPixels";
    HWND w = main->Handle();
    const SIZE client = ClientSize(w);
    EXPECT_EQ(client.cx, S(429, dpi));
    EXPECT_EQ(client.cy, S(263, dpi));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, S(240, dpi));
    EXPECT_EQ(r.top, S(182, dpi));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u) << "fixed, no maximise";
    EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
    EXPECT_EQ(Caption(w), L"Trevik");
    EXPECT_NE(SendMessageW(w, WM_GETICON, ICON_BIG, 0), 0) << "the program's icon";
    CheckControls(*main, kMainLayout, dpi);
}

TEST_F(LayoutTest, AboutBoxAsDesignedAndCentred) {
    HWND w = about->Handle();
    const SIZE client = ClientSize(w);
    EXPECT_EQ(client.cx, S(298, dpi));
    EXPECT_EQ(client.cy, S(187, dpi));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_NE(exStyle & WS_EX_DLGMODALFRAME, 0u) << "dialog border";
    EXPECT_EQ(Caption(w), L"ﾊﾞｰｼﾞｮﾝ情報");
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTOPRIMARY), &mi);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_NEAR(r.left + r.right, mi.rcMonitor.left + mi.rcMonitor.right, 1);
    EXPECT_NEAR(r.top + r.bottom, mi.rcMonitor.top + mi.rcMonitor.bottom, 1);
    CheckControls(*about, kAboutLayout, dpi);
}

TEST_F(LayoutTest, HintsAreTooltipsOfTheirControls) {
    struct Hint {
        const char* control;
        const wchar_t* text;
    };
    const Hint hints[] = {
        {"SpeedButton1", L"バージョン情報"},
        {"PnlB1", L"ボタン１"},
        {"PnlB2", L"ボタン２"},
        {"PnlB3", L"ボタン３"},
        {"PBMascon", L"マスコンハンドル"},
        {"PBBreak", L"ブレーキハンドル"},
    };
    HWND tips = main->HintWindow();
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(std::size(hints)));
    for (const Hint& h : hints) {
        SCOPED_TRACE(h.control);
        wchar_t text[80]{};
        TTTOOLINFOW ti{};
        ti.cbSize = offsetof(TTTOOLINFOW, lpReserved);
        ti.hwnd = main->Handle();
        ti.uId = reinterpret_cast<UINT_PTR>(main->ControlHandle(h.control));
        ti.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&ti));
        EXPECT_STREQ(text, h.text);
    }
    // The glyph-only button is named by its hint for screen readers.
    EXPECT_EQ(Caption(main->ControlHandle("SpeedButton1")), L"バージョン情報");
}

TEST_F(LayoutTest, ReLaidOutWhenTheDpiChanges) {
    const UINT next = dpi == 96 ? 144 : 96;
    RECT suggested{50, 40, 50 + S(440, next), 40 + S(300, next)};
    SendMessageW(main->Handle(), WM_DPICHANGED, MAKEWPARAM(next, next),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT r;
    GetWindowRect(main->Handle(), &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 40);
    CheckControls(*main, kMainLayout, next);
}

} // namespace
} // namespace trevik
