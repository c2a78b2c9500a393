// The status window with a scripted controller behind the joystick seam and
// a recording key sink: start-up and the device report, the subscription,
// the notifications, Reset and the about box.
#include "app/MasconAbout.h"
#include "app/MasconMain.h"
#include "app/resource_ids.h"
#include "forms/application.h"
#include "tests/support/recording_sink.h"
#include "tests/support/scripted_joystick.h"
#include "tests/support/test_prompter.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace trevik {
namespace {

using forms::kBlue;
using forms::kBtnFace;
using testing::Concat;
using testing::RecordingSink;
using testing::ScriptedJoystick;
using testing::TestPrompter;
using testing::Times;

constexpr JOYCAPSA CabCaps() {
    JOYCAPSA caps{};
    caps.wMid = 1133;
    caps.wPid = 49685;
    caps.wXmin = 0;
    caps.wXmax = 65535;
    caps.wYmin = 0;
    caps.wYmax = 65535;
    caps.wNumButtons = 3;
    caps.wPeriodMin = 10;
    caps.wPeriodMax = 1000;
    return caps;
}

JOYCAPSA NamedCaps(const char* name) {
    JOYCAPSA caps = CabCaps();
    std::memcpy(caps.szPname, name, std::min(std::strlen(name), sizeof caps.szPname));
    return caps;
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

LPARAM Move(int x, int y) {
    return MAKELPARAM(x, y);
}

class MainFormTest : public ::testing::Test {
protected:
    void Start() {
        app = std::make_unique<forms::Application>();
        app->SetPrompter(&prompter);
        app->Initialize();
        app->SetTitle(L"Trevik");
        form = &app->CreateForm<TMasconMainForm>(joystick, keys);
        about = &app->CreateForm<TMasconAboutBox>();
        form->SetAboutBox(about);
    }
    void Stop() {
        app.reset();
        form = nullptr;
        about = nullptr;
    }
    void TearDown() override { Stop(); }

    // A controller at rest on joystick 1: X 1000 (brake 0), Y 30000 (power 0).
    void StartPresent() {
        joystick.probe = {JOYERR_NOERROR, JOYERR_UNPLUGGED};
        joystick.caps[0] = CabCaps();
        joystick.position = {1000, 30000, 0, 0};
        Start();
    }
    LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) {
        return SendMessageW(form->Handle(), msg, wp, lp);
    }
    std::vector<std::wstring> Report() const { return Lines(form->MemoInfo.Text()); }

    ScriptedJoystick joystick;
    RecordingSink keys;
    TestPrompter prompter;
    std::unique_ptr<forms::Application> app;
    TMasconMainForm* form = nullptr;
    TMasconAboutBox* about = nullptr;
};

// ---- Start-up and the device report ----

std::vector<std::wstring> ExpectedReport(const wchar_t* devs, bool present, int id, bool filled) {
    const std::wstring connected = present ? L"ジョイスティックが接続されています。"
                                           : L"ジョイスティックが接続されていません。";
    if (!filled) {
        return {std::wstring(L"ドライバがサポートしているジョイスティック数: ") + devs,
                connected,
                L"現在のジョイスティックID = " + std::to_wstring(id),
                L"製造者ID = 0",
                L"製品 ID = 0",
                L"名称\u3000: ",
                L"Xの最小値 = 0",
                L"Xの最大値 = 0",
                L"Yの最小値 = 0",
                L"Yの最大値 = 0",
                L"ボタン数 = 0",
                L"最小ポーリング間隔(ms) = 0",
                L"最大ポーリング間隔(ms) = 0"};
    }
    return {std::wstring(L"ドライバがサポートしているジョイスティック数: ") + devs,
            connected,
            L"現在のジョイスティックID = " + std::to_wstring(id),
            L"製造者ID = 1133",
            L"製品 ID = 49685",
            L"名称\u3000: Cab Controller",
            L"Xの最小値 = 0",
            L"Xの最大値 = 65535",
            L"Yの最小値 = 0",
            L"Yの最大値 = 65535",
            L"ボタン数 = 3",
            L"最小ポーリング間隔(ms) = 10",
            L"最大ポーリング間隔(ms) = 1000"};
}

struct StartCase {
    const char* name;
    UINT numDevs;
    MMRESULT probe1, probe2;
    int capsFor; // identifier whose capabilities the service fills, -1 none
    bool present;
    int id;
    std::vector<std::string> calls; // the service calls of start-up, in order
    bool box;                       // the probe's error message
};

TEST_F(MainFormTest, StartUpProbesReportsAndSubscribesAsScripted) {
    const StartCase cases[] = {
        {"joystick 1 present",
         16,
         JOYERR_NOERROR,
         JOYERR_NOERROR,
         0,
         true,
         0,
         {"NumDevs(0)", "PosEx(0)", "DevCaps(0)", "SetCapture(0)", "GetPos(0)"},
         false},
        {"joystick 1 absent, 2 present",
         16,
         JOYERR_UNPLUGGED,
         JOYERR_NOERROR,
         1,
         true,
         1,
         {"NumDevs(0)", "PosEx(0)", "PosEx(1)", "DevCaps(1)", "SetCapture(1)", "GetPos(1)"},
         false},
        {"none present (Wine's answer)",
         16,
         JOYERR_PARMS,
         JOYERR_PARMS,
         -1,
         false,
         0,
         {"NumDevs(0)", "PosEx(0)", "PosEx(1)", "DevCaps(0)"},
         false},
        {"joystick 2 answers 11: no message",
         16,
         JOYERR_UNPLUGGED,
         MMSYSERR_INVALPARAM,
         -1,
         false,
         0,
         {"NumDevs(0)", "PosEx(0)", "PosEx(1)", "DevCaps(0)"},
         false},
        {"no driver support: no probe",
         0,
         JOYERR_NOERROR,
         JOYERR_NOERROR,
         -1,
         false,
         0,
         {"NumDevs(0)", "DevCaps(0)"},
         false},
        {"probe result 11",
         16,
         MMSYSERR_INVALPARAM,
         JOYERR_NOERROR,
         -1,
         false,
         0,
         {"NumDevs(0)", "PosEx(0)", "DevCaps(0)"},
         true},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        joystick = {};
        prompter = {};
        joystick.numDevs = c.numDevs;
        joystick.probe = {c.probe1, c.probe2};
        if (c.capsFor >= 0) {
            joystick.caps[static_cast<std::size_t>(c.capsFor)] = NamedCaps("Cab Controller");
        }
        joystick.position = {1200, 34000, 0, JOY_BUTTON2};
        Start();

        EXPECT_EQ(joystick.Names(), c.calls);
        const std::wstring devs = std::to_wstring(c.numDevs);
        EXPECT_EQ(Report(), ExpectedReport(devs.c_str(), c.present, c.id, c.capsFor >= 0));
        for (const auto& call : joystick.calls) {
            if (call.name == "PosEx") {
                EXPECT_EQ(call.size, 52u);
                EXPECT_TRUE(call.zeroed);
            }
            if (call.name == "DevCaps") {
                EXPECT_EQ(call.size, 404u);
            }
        }
        if (const auto* capture = joystick.Find("SetCapture")) {
            EXPECT_EQ(capture->window, form->Handle());
            EXPECT_EQ(capture->period, 20u); // twice wPeriodMin
            EXPECT_EQ(capture->changed, FALSE);
        }
        if (c.box) {
            ASSERT_EQ(prompter.boxes.size(), 1u);
            EXPECT_EQ(prompter.boxes[0].text, L"joyGetPosEx の呼び出しでエラーが発生しました。");
            EXPECT_EQ(prompter.boxes[0].caption, L"エラー");
            EXPECT_EQ(prompter.boxes[0].flags, static_cast<UINT>(MB_OK));
            EXPECT_EQ(prompter.boxes[0].owner, app->Handle());
            EXPECT_NE(app->Handle(), nullptr);
        } else {
            EXPECT_TRUE(prompter.boxes.empty());
        }

        // The status group: a direct reading when present, else disabled and as designed.
        EXPECT_EQ(form->GBJoyStatus.Enabled(), c.present);
        // Disabling the group greys its caption only: what is inside keeps its look.
        EXPECT_TRUE(form->LblJoyX.Enabled());
        EXPECT_TRUE(form->PnlB1.Enabled());
        EXPECT_EQ(form->LblJoyX.Text(), c.present ? L"X : 1200" : L"LblJoyX");
        EXPECT_EQ(form->LblJoyY.Text(), c.present ? L"Y : 34000" : L"LblJoyY");
        EXPECT_EQ(form->LblResetX.Text(), c.present ? L"X = 1200" : L"LblJoyX");
        EXPECT_EQ(form->LblResetY.Text(), c.present ? L"Y = 34000" : L"LblJoyY");
        EXPECT_EQ(form->PnlB1.GetColour(), kBtnFace);
        EXPECT_EQ(form->PnlB2.GetColour(), c.present ? kBlue : kBtnFace);
        EXPECT_EQ(form->PnlB3.GetColour(), kBtnFace);
        // The direct reading decodes nothing: bars and numbers stay as designed.
        EXPECT_EQ(form->LblMPos.Text(), L"LblMPos");
        EXPECT_EQ(form->LblBPos.Text(), L"LblBPos");
        EXPECT_EQ(form->PBMascon.Position(), 5);
        EXPECT_EQ(form->PBBreak.Position(), 9);
        EXPECT_EQ(form->State.SentNotch, -1);
        EXPECT_EQ(form->State.XMax, c.present ? 65535 : 0);

        const std::size_t before = joystick.calls.size();
        Stop();
        std::vector<std::string> after;
        for (std::size_t i = before; i < joystick.calls.size(); ++i) {
            after.push_back(joystick.calls[i].name + "(" + std::to_string(joystick.calls[i].joyId) +
                            ")");
        }
        EXPECT_EQ(after, c.present ? std::vector<std::string>{"ReleaseCapture(" +
                                                              std::to_string(c.id) + ")"}
                                   : std::vector<std::string>{});
        EXPECT_TRUE(keys.Take().empty());
    }
}

TEST_F(MainFormTest, DeviceNameIsReadAsAtMost32BytesOfTheAnsiCodePage) {
    JOYCAPSA caps = CabCaps();
    std::memset(caps.szPname, 'A', sizeof caps.szPname); // no terminating NUL
    joystick.probe = {JOYERR_NOERROR, JOYERR_UNPLUGGED};
    joystick.caps[0] = caps;
    Start();
    EXPECT_EQ(Report().at(5), L"名称\u3000: " + std::wstring(32, L'A'));
    Stop();

    struct Named {
        UINT codePage;
        const char* bytes;
        const wchar_t* text;
    };
    const Named names[] = {
        {1252, "Caf\xE9 Cab", L"Caf\u00E9 Cab"},
        {932, "\x83\x65\x83\x58\x83\x67 \xC3\xBD\xC4", L"テスト ﾃｽﾄ"},
    };
    for (const Named& n : names) {
        if (GetACP() != n.codePage) {
            continue;
        }
        joystick = {};
        joystick.probe = {JOYERR_NOERROR, JOYERR_UNPLUGGED};
        joystick.caps[0] = NamedCaps(n.bytes);
        Start();
        EXPECT_EQ(Report().at(5), std::wstring(L"名称\u3000: ") + n.text);
        Stop();
    }
}

// Capabilities no real device reports still give a sane subscription and
// limits: the period saturates instead of wrapping round to a tiny one, and
// an axis maximum beyond 32 bits signed is taken as the largest there is.
TEST_F(MainFormTest, OutsizedCapabilitiesSaturateInsteadOfWrapping) {
    JOYCAPSA caps = CabCaps();
    caps.wPeriodMin = 0x80000001u;
    caps.wXmax = 0xFFFFFFFFu;
    joystick.probe = {JOYERR_NOERROR, JOYERR_UNPLUGGED};
    joystick.caps[0] = caps;
    Start();
    ASSERT_NE(joystick.Find("SetCapture"), nullptr);
    EXPECT_EQ(joystick.Find("SetCapture")->period, 0xFFFFFFFFu);
    EXPECT_EQ(form->State.XMax, INT32_MAX);
    EXPECT_EQ(Report().at(7), L"Xの最大値 = 4294967295");
    Send(MM_JOY1MOVE, 0, Move(13000, 30000));
    EXPECT_EQ(form->LblBPos.Text(), L"3") << "readings still decode";
}

// ---- Notifications ----

struct MoveStep {
    const char* what;
    UINT message;
    int x, y;
    const wchar_t* mPos; // LblMPos
    const wchar_t* bPos; // LblBPos
    int mBar, bBar;
    std::vector<Stroke> strokes;
};

TEST_F(MainFormTest, MoveNotificationsShowDecodeAndSendStrokes) {
    StartPresent();
    const MoveStep steps[] = {
        {"at rest: the first notification steps -1 to 0",
         MM_JOY1MOVE,
         1000,
         30000,
         L"0",
         L"0",
         0,
         0,
         {Stroke::Up}},
        {"brake notch 3", MM_JOY1MOVE, 13000, 30000, L"0", L"3", 0, 3, Times(3, Stroke::Down)},
        {"both out of range: raw labels only", MM_JOY1MOVE, 40000, 40000, L"0", L"3", 0, 3, {}},
        {"release, full power: burst then steps", MM_JOY1MOVE, 1000, 0, L"5", L"0", 5, 0,
         Times(13, Stroke::Up)},
        {"Y out of range: brake only, notch 9",
         MM_JOY1MOVE,
         28300,
         40000,
         L"5",
         L"9",
         5,
         9,
         {Stroke::Keypad0}},
        {"same again: nothing", MM_JOY1MOVE, 28300, 40000, L"5", L"9", 5, 9, {}},
        {"joystick 2's notification, to neutral",
         MM_JOY2MOVE,
         1000,
         30000,
         L"0",
         L"0",
         0,
         0,
         {Stroke::Keypad5}},
    };
    for (const MoveStep& s : steps) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(Send(s.message, 0x0F, Move(s.x, s.y)), 0);
        EXPECT_EQ(form->LblJoyX.Text(), L"X : " + std::to_wstring(s.x));
        EXPECT_EQ(form->LblJoyY.Text(), L"Y : " + std::to_wstring(s.y));
        EXPECT_EQ(form->LblMPos.Text(), s.mPos);
        EXPECT_EQ(form->LblBPos.Text(), s.bPos);
        EXPECT_EQ(form->PBMascon.Position(), s.mBar);
        EXPECT_EQ(form->PBBreak.Position(), s.bBar);
        EXPECT_EQ(keys.Take(), s.strokes);
        // A move's button bits light nothing.
        EXPECT_EQ(form->PnlB1.GetColour(), kBtnFace);
    }
    // Full 16-bit readings are unsigned.
    Send(MM_JOY1MOVE, 0, Move(65535, 65535));
    EXPECT_EQ(form->LblJoyX.Text(), L"X : 65535");
    EXPECT_EQ(form->LblJoyY.Text(), L"Y : 65535");
}

struct ButtonStep {
    const char* what;
    UINT message;
    WPARAM bits;
    bool b1, b2, b3;
    std::vector<Stroke> strokes;
};

TEST_F(MainFormTest, ButtonNotificationsLightIndicatorsAndSendHeldButtonsStrokes) {
    StartPresent();
    const std::vector<Stroke> k1{Stroke::Keypad1};
    const std::vector<Stroke> k74{Stroke::Keypad7, Stroke::Keypad4};
    const ButtonStep steps[] = {
        {"button 1 down", MM_JOY1BUTTONDOWN, 0x101, true, false, false, k1},
        {"button 1 up", MM_JOY1BUTTONUP, 0x100, false, false, false, {}},
        {"button 1 down again", MM_JOY1BUTTONDOWN, 0x101, true, false, false, k1},
        {"button 2 down while 1 held", MM_JOY1BUTTONDOWN, 0x203, true, true, false,
         Concat({k1, k74})},
        {"button 1 up while 2 held", MM_JOY1BUTTONUP, 0x102, false, true, false, k74},
        {"button 3 down while 2 held", MM_JOY1BUTTONDOWN, 0x406, false, true, true, k74},
        {"all up", MM_JOY1BUTTONUP, 0x400, false, false, false, {}},
        {"button 4: bit 3 is not read", MM_JOY1BUTTONDOWN, 0x808, false, false, false, {}},
        {"button 3 alone sends nothing", MM_JOY1BUTTONDOWN, 0x404, false, false, true, {}},
        {"joystick 2's button down", MM_JOY2BUTTONDOWN, 0x101, true, false, false, k1},
        {"joystick 2's button up", MM_JOY2BUTTONUP, 0x100, false, false, false, {}},
    };
    for (const ButtonStep& s : steps) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(Send(s.message, s.bits, 0), 0);
        EXPECT_EQ(form->PnlB1.GetColour(), s.b1 ? kBlue : kBtnFace);
        EXPECT_EQ(form->PnlB2.GetColour(), s.b2 ? kBlue : kBtnFace);
        EXPECT_EQ(form->PnlB3.GetColour(), s.b3 ? kBlue : kBtnFace);
        EXPECT_EQ(keys.Take(), s.strokes);
    }
    EXPECT_EQ(forms::kBlue.Resolve(), RGB(0, 0, 255));
    EXPECT_EQ(forms::kBtnFace.Resolve(), GetSysColor(COLOR_BTNFACE));
}

// Live GDI objects of this process. Windows counts them; Wine does not (it
// answers 0), but its handle table takes an index without a generation, so
// the live objects can be counted there by trying every index.
int LiveGdiObjects() {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); counted != 0) {
        return static_cast<int>(counted);
    }
    int live = 0;
    for (UINT_PTR index = 0; index < 0x10000; ++index) {
        live += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0 ? 1 : 0;
    }
    return live;
}

TEST_F(MainFormTest, NotificationsKeepNoGdiOrUserObjects) {
    StartPresent();
    auto notify = [this](int i) {
        Send(MM_JOY1MOVE, 0, Move(i * 150, 30000 - i * 100));
        Send(i % 2 ? MM_JOY1BUTTONUP : MM_JOY1BUTTONDOWN, static_cast<WPARAM>(i % 8), 0);
    };
    notify(0);
    HANDLE self = GetCurrentProcess();
    const int gdi = LiveGdiObjects();
    const DWORD user = GetGuiResources(self, GR_USEROBJECTS);
    for (int i = 1; i <= 200; ++i) {
        notify(i);
    }
    EXPECT_EQ(LiveGdiObjects(), gdi);
    EXPECT_EQ(GetGuiResources(self, GR_USEROBJECTS), user);
}

TEST_F(MainFormTest, UnroutedMessagesReachTheInheritedHandling) {
    StartPresent();
    Send(MM_JOY1MOVE, 0, Move(1000, 30000));
    keys.Take();
    // Joystick 1's Z axis is not routed: no decoding, no strokes.
    EXPECT_EQ(Send(MM_JOY1ZMOVE, 0, 12345), 0);
    EXPECT_EQ(form->LblJoyX.Text(), L"X : 1000");
    EXPECT_TRUE(keys.Take().empty());
    // The window's own text is DefWindowProc's business.
    EXPECT_EQ(Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Changed")), TRUE);
    wchar_t caption[16]{};
    GetWindowTextW(form->Handle(), caption, 16);
    EXPECT_STREQ(caption, L"Changed");
    EXPECT_EQ(Send(WM_GETTEXTLENGTH, 0, 0), 7);
}

// ---- Reset ----

TEST_F(MainFormTest, ResetCopiesTheLatestMoveReadingNotAFreshOne) {
    StartPresent();
    joystick.position = {9999, 9999, 0, 0}; // a direct reading would give this
    Send(MM_JOY1MOVE, 0, Move(5000, 6000));
    SendMessageW(form->BtnReset.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->LblResetX.Text(), L"X = 5000");
    EXPECT_EQ(form->LblResetY.Text(), L"Y = 6000");
    EXPECT_EQ(joystick.Names().back(), "GetPos(0)") << "only the start-up reading";
}

TEST_F(MainFormTest, ResetWithoutJoystickShowsZeros) {
    joystick.numDevs = 0;
    Start();
    SendMessageW(form->BtnReset.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->LblResetX.Text(), L"X = 0");
    EXPECT_EQ(form->LblResetY.Text(), L"Y = 0");
    EXPECT_FALSE(form->GBJoyStatus.Enabled());
    EXPECT_EQ(form->LblJoyX.Text(), L"LblJoyX") << "the status group keeps its captions";
}

// ---- The about box ----

struct WhileOpen {
    TMasconMainForm* form;
    TMasconAboutBox* about;
    bool visible = false;
    bool ownerDisabled = false;
    std::wstring version;
    UINT closeWith; // BM_CLICK on OK, or WM_CLOSE on the box
};
WhileOpen* g_open = nullptr; // the timer's only way to the test

void CALLBACK LookAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_open == nullptr) {
        return; // the box never opened; the test has failed already
    }
    WhileOpen& o = *g_open;
    o.visible = IsWindowVisible(o.about->Handle()) != FALSE;
    o.ownerDisabled = IsWindowEnabled(o.form->Handle()) == FALSE;
    o.version = o.about->Version.Text();
    // A notification meanwhile is handled by the modal loop, before the close.
    PostMessageW(o.form->Handle(), MM_JOY1MOVE, 0, Move(13000, 30000));
    if (o.closeWith == BM_CLICK) {
        PostMessageW(o.about->OKButton.Handle(), BM_CLICK, 0, 0);
    } else {
        PostMessageW(o.about->Handle(), WM_CLOSE, 0, 0);
    }
}

TEST_F(MainFormTest, AboutBoxShowsVersionModallyEachTimeItOpens) {
    StartPresent();
    Send(MM_JOY1MOVE, 0, Move(1000, 30000));
    keys.Take();
    EXPECT_EQ(about->Version.Text(), L"Version");
    EXPECT_FALSE(about->Visible());
    struct Opening {
        bool byMouse; // else BM_CLICK
        UINT closeWith;
    };
    for (const Opening how : {Opening{false, BM_CLICK}, Opening{true, WM_CLOSE}}) {
        WhileOpen open{form, about, false, false, L"", how.closeWith};
        g_open = &open;
        Send(MM_JOY1MOVE, 0, Move(1000, 30000)); // back to neutral, brake 0
        keys.Take();
        SetTimer(nullptr, 0, 50, LookAndClose);
        HWND button = form->SpeedButton1.Handle();
        if (how.byMouse) {
            SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); // returns once closed
        } else {
            SendMessageW(button, BM_CLICK, 0, 0); // returns once closed
        }
        g_open = nullptr;
        EXPECT_TRUE(open.visible);
        EXPECT_TRUE(open.ownerDisabled);
        EXPECT_EQ(open.version, L"Version 1.0");
        EXPECT_FALSE(about->Visible());
        EXPECT_TRUE(IsWindowEnabled(form->Handle()));
        EXPECT_EQ(form->LblBPos.Text(), L"3");
        EXPECT_EQ(keys.Take(), Times(3, Stroke::Down));
    }
}

// ---- Drawing ----

std::vector<COLORREF> Pixels(HWND w) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT rc;
    GetClientRect(w, &rc);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(w);
    for (int y = 0; y < rc.bottom; ++y) {
        for (int x = 0; x < rc.right; ++x) {
            pixels.push_back(GetPixel(dc, x, y));
        }
    }
    ReleaseDC(w, dc);
    return pixels;
}

TEST_F(MainFormTest, IndicatorsAndGlyphAreDrawnAsDesigned) {
    StartPresent();
    form->Show();
    Send(MM_JOY1BUTTONDOWN, 0x101, 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Just inside the bevel, clear of the caption.
    auto inside = [](HWND panel) {
        RECT rc;
        GetClientRect(panel, &rc);
        return Pixels(panel).at(static_cast<std::size_t>(2 * rc.right + 2));
    };
    EXPECT_EQ(inside(form->PnlB1.Handle()), RGB(0, 0, 255));
    EXPECT_EQ(inside(form->PnlB2.Handle()), face);

    HBITMAP glyph = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                    MAKEINTRESOURCEW(IDB_ABOUT_GLYPH), IMAGE_BITMAP,
                                                    0, 0, LR_CREATEDIBSECTION));
    if (glyph == nullptr) {
        GTEST_SKIP() << "built without the program's resources";
    }
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, glyph);
    const COLORREF background = GetPixel(memory, 0, 15); // the lower-left pixel
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(glyph);

    auto count = [](const std::vector<COLORREF>& pixels, COLORREF c) {
        return std::count(pixels.begin(), pixels.end(), c);
    };
    HWND button = form->SpeedButton1.Handle();
    const std::vector<COLORREF> normal = Pixels(button);
    if (background != face) {
        EXPECT_EQ(count(normal, background), 0) << "the glyph's background is transparent";
    }
    EXPECT_GT(normal.size() - static_cast<std::size_t>(count(normal, face)), 40u)
        << "a glyph is drawn";
    EnableWindow(button, FALSE);
    const std::vector<COLORREF> disabled = Pixels(button);
    EXPECT_NE(disabled, normal) << "the disabled image";
    EXPECT_GT(disabled.size() - static_cast<std::size_t>(count(disabled, face)), 20u);
}

TEST_F(MainFormTest, DisabledStatusGroupGreysOnlyItsCaption) {
    joystick.numDevs = 0;
    Start();
    form->Show();
    auto count = [](HWND w, COLORREF c, int rows) {
        RECT rc;
        GetClientRect(w, &rc);
        const std::vector<COLORREF> pixels = Pixels(w);
        const auto end = std::min(pixels.size(), static_cast<std::size_t>(rows * rc.right));
        return std::count(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(end), c);
    };
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const int captionRows = MulDiv(14, static_cast<int>(form->Dpi()), 96);
    EXPECT_GT(count(form->GBJoyStatus.Handle(), grey, captionRows), 10);
    EXPECT_EQ(count(form->GBJoyStatus.Handle(), text, captionRows), 0);
    EXPECT_GT(count(form->GBReset.Handle(), text, captionRows), 10);
    EXPECT_GT(count(form->LblJoyX.Handle(), RGB(0, 0, 0), 100), 10)
        << "the labels inside stay black";
}

} // namespace
} // namespace trevik
