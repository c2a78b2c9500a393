#include "app/MasconMain.h"

#include "app/resource_ids.h"
#include "forms/application.h"
#include "translation/handle_sync.h"
#include "translation/notch_decoder.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace trevik {
namespace {

using forms::ControlKind;
using forms::kNoTabOrder;

constexpr forms::FontDesc kLabelFont{L"ＭＳ Ｐゴシック", -15, SHIFTJIS_CHARSET, false,
                                     forms::kBlack};

// clang-format off
constexpr forms::ControlDesc kControls[] = {
    // kind                  name            parent         left top  width height text
    //     font          settings                                                       tab
    {ControlKind::Label,       "Label1",       nullptr,          8,  16, 179, 15, L"ジョイスティックデバイス情報",
         &kLabelFont,  {},                                                              kNoTabOrder},
    {ControlKind::Label,       "LblMPos",      nullptr,        272, 160,  43, 12, L"LblMPos",
         nullptr,      {},                                                              kNoTabOrder},
    {ControlKind::Label,       "LblBPos",      nullptr,        272, 184,  42, 12, L"LblBPos",
         nullptr,      {},                                                              kNoTabOrder},
    {ControlKind::SpeedButton, "SpeedButton1", nullptr,        400,   0,  25, 25, nullptr,
         nullptr,      {.hint = L"バージョン情報", .glyph = IDB_ABOUT_GLYPH},             kNoTabOrder},
    {ControlKind::Memo,        "MemoInfo",     nullptr,          8,  32, 417, 97, nullptr,
         nullptr,      {},                                                              0},
    {ControlKind::GroupBox,    "GBJoyStatus",  nullptr,          8, 144, 145, 105, L"状態",
         nullptr,      {},                                                              1},
    {ControlKind::Label,       "LblJoyX",      "GBJoyStatus",   24,  24,  50, 15, L"LblJoyX",
         &kLabelFont,  {},                                                              kNoTabOrder},
    {ControlKind::Label,       "LblJoyY",      "GBJoyStatus",   24,  48,  50, 15, L"LblJoyY",
         &kLabelFont,  {},                                                              kNoTabOrder},
    {ControlKind::Panel,       "PnlB1",        "GBJoyStatus",   24,  80,  25, 17, L"B1",
         nullptr,      {.hint = L"ボタン１"},                                            0},
    {ControlKind::Panel,       "PnlB2",        "GBJoyStatus",   56,  80,  25, 17, L"B2",
         nullptr,      {.hint = L"ボタン２"},                                            1},
    {ControlKind::Panel,       "PnlB3",        "GBJoyStatus",   88,  80,  25, 17, L"B3",
         nullptr,      {.hint = L"ボタン３"},                                            2},
    {ControlKind::ProgressBar, "PBMascon",     nullptr,        160, 160,  54, 16, nullptr,
         nullptr,      {.hint = L"マスコンハンドル", .rangeMin = 0, .rangeMax = 5, .position = 5},  2},
    {ControlKind::ProgressBar, "PBBreak",      nullptr,        160, 184,  94, 16, nullptr,
         nullptr,      {.hint = L"ブレーキハンドル", .rangeMin = 0, .rangeMax = 9, .position = 9},  3},
    {ControlKind::GroupBox,    "GBReset",      nullptr,        296, 144, 121, 105, L"初期状態",
         nullptr,      {},                                                              4},
    {ControlKind::Label,       "LblResetY",    "GBReset",       24,  48,  50, 15, L"LblJoyY",
         &kLabelFont,  {},                                                              kNoTabOrder},
    {ControlKind::Label,       "LblResetX",    "GBReset",       24,  24,  50, 15, L"LblJoyX",
         &kLabelFont,  {},                                                              kNoTabOrder},
    {ControlKind::Button,      "BtnReset",     "GBReset",       30,  72,  75, 25, L"Reset",
         nullptr,      {},                                                              0},
};
// clang-format on

constexpr forms::FormDesc kForm{
    .caption = L"Trevik",
    .left = 240,
    .top = 182,
    .clientWidth = 429,
    .clientHeight = 263,
    .border = forms::BorderStyle::Single,
    .position = forms::FormPosition::Designed,
    .font = {L"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET},
    .icon = IDI_TREVIK,
    .controls = kControls,
};

// Joystick 2's notifications go to the same handlers as joystick 1's: the
// subscription only ever delivers the selected joystick's.
constexpr forms::MessageEntry<TMasconMainForm> kMessageMap[] = {
    {MM_JOY1MOVE, &TMasconMainForm::MMJoy1Move},
    {MM_JOY1BUTTONDOWN, &TMasconMainForm::MMJoy1Button},
    {MM_JOY1BUTTONUP, &TMasconMainForm::MMJoy1Button},
    {MM_JOY2MOVE, &TMasconMainForm::MMJoy1Move},
    {MM_JOY2BUTTONDOWN, &TMasconMainForm::MMJoy1Button},
    {MM_JOY2BUTTONUP, &TMasconMainForm::MMJoy1Button},
};

constexpr forms::ClickEntry<TMasconMainForm> kClickMap[] = {
    {"BtnReset", &TMasconMainForm::BtnResetClick},
    {"SpeedButton1", &TMasconMainForm::SpeedButton1Click},
};

constexpr wchar_t kProbeErrorText[] = L"joyGetPosEx の呼び出しでエラーが発生しました。";
constexpr wchar_t kProbeErrorCaption[] = L"エラー";

// The device's name is text in the ANSI code page, at most 32 bytes, and
// not always terminated.
std::wstring DeviceName(const JOYCAPSA& caps) {
    const char* name = caps.szPname;
    const auto length = static_cast<int>(strnlen(name, sizeof caps.szPname));
    if (length == 0) {
        return {};
    }
    const int wide = MultiByteToWideChar(CP_ACP, 0, name, length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(wide, 0)), L'\0');
    if (wide > 0) {
        MultiByteToWideChar(CP_ACP, 0, name, length, text.data(), wide);
    }
    return text;
}

std::int32_t AxisMaximum(UINT value) {
    return static_cast<std::int32_t>(std::min<UINT>(value, INT32_MAX));
}

// Twice the device's minimum polling period, without wrapping round.
UINT CapturePeriod(UINT periodMin) {
    return periodMin > UINT_MAX / 2 ? UINT_MAX : periodMin * 2;
}

forms::Colour Indicator(bool pressed) {
    return pressed ? forms::kBlue : forms::kBtnFace;
}

std::wstring Decimal(std::int32_t value) {
    return std::to_wstring(value);
}

} // namespace

const forms::FormDesc& TMasconMainForm::Description() {
    return kForm;
}

std::span<const forms::MessageEntry<TMasconMainForm>> TMasconMainForm::MessageMap() {
    return kMessageMap;
}

std::span<const forms::ClickEntry<TMasconMainForm>> TMasconMainForm::ClickMap() {
    return kClickMap;
}

TMasconMainForm::TMasconMainForm(forms::Application& app, JoystickService& joystick, KeySink& keys)
    : FormOf(app, kForm), Label1(Bind<forms::Label>("Label1")),
      LblMPos(Bind<forms::Label>("LblMPos")), LblBPos(Bind<forms::Label>("LblBPos")),
      SpeedButton1(Bind<forms::SpeedButton>("SpeedButton1")),
      MemoInfo(Bind<forms::Memo>("MemoInfo")), GBJoyStatus(Bind<forms::GroupBox>("GBJoyStatus")),
      LblJoyX(Bind<forms::Label>("LblJoyX")), LblJoyY(Bind<forms::Label>("LblJoyY")),
      PnlB1(Bind<forms::Panel>("PnlB1")), PnlB2(Bind<forms::Panel>("PnlB2")),
      PnlB3(Bind<forms::Panel>("PnlB3")), PBMascon(Bind<forms::ProgressBar>("PBMascon")),
      PBBreak(Bind<forms::ProgressBar>("PBBreak")), GBReset(Bind<forms::GroupBox>("GBReset")),
      LblResetY(Bind<forms::Label>("LblResetY")), LblResetX(Bind<forms::Label>("LblResetX")),
      BtnReset(Bind<forms::Button>("BtnReset")), joystick_(joystick), keys_(keys) {
    State.SentNotch = -1; // the simulator's handle is taken to stand at brake notch 1
}

void TMasconMainForm::FormCreate() {
    State.NumDevs = joystick_.JoyGetNumDevs();
    State.JoyPresent = false;
    if (State.NumDevs != 0) {
        // A probe: only the result code matters.
        auto probe = [this](UINT id) {
            JOYINFOEX info{};
            info.dwSize = static_cast<DWORD>(sizeof info); // 52
            return joystick_.JoyGetPosEx(id, &info);
        };
        const MMRESULT first = probe(JOYSTICKID1);
        if (first == JOYERR_NOERROR) {
            State.JoyPresent = true;
            State.JoyId = JOYSTICKID1;
        } else if (first == MMSYSERR_INVALPARAM) {
            App().ShowMessageBox(kProbeErrorText, kProbeErrorCaption, MB_OK);
        } else if (probe(JOYSTICKID2) == JOYERR_NOERROR) {
            State.JoyPresent = true;
            State.JoyId = JOYSTICKID2;
        }
    }
    ShowJoyInfo();
    ReadJoyState();
}

std::array<std::wstring, 13> TMasconMainForm::ReportLines(const MasconState& state,
                                                          const JOYCAPSA& caps) {
    auto n = [](auto value) { return std::to_wstring(value); };
    return {
        L"ドライバがサポートしているジョイスティック数: " + n(state.NumDevs),
        state.JoyPresent ? L"ジョイスティックが接続されています。"
                         : L"ジョイスティックが接続されていません。",
        L"現在のジョイスティックID = " + n(state.JoyId),
        L"製造者ID = " + n(caps.wMid),
        L"製品 ID = " + n(caps.wPid),
        L"名称\u3000: " + DeviceName(caps),
        L"Xの最小値 = " + n(caps.wXmin),
        L"Xの最大値 = " + n(caps.wXmax),
        L"Yの最小値 = " + n(caps.wYmin),
        L"Yの最大値 = " + n(caps.wYmax),
        L"ボタン数 = " + n(caps.wNumButtons),
        L"最小ポーリング間隔(ms) = " + n(caps.wPeriodMin),
        L"最大ポーリング間隔(ms) = " + n(caps.wPeriodMax),
    };
}

void TMasconMainForm::ShowJoyInfo() {
    MemoInfo.Clear();
    joystick_.JoyGetDevCapsA(static_cast<UINT_PTR>(State.JoyId), &JoyCaps,
                             static_cast<UINT>(sizeof JoyCaps));
    for (const std::wstring& line : ReportLines(State, JoyCaps)) {
        MemoInfo.AppendLine(line);
    }
    MemoInfo.ScrollToTop(); // the report is read from its first line
    if (!State.JoyPresent) {
        return;
    }
    joystick_.JoySetCapture(Handle(), static_cast<UINT>(State.JoyId),
                            CapturePeriod(JoyCaps.wPeriodMin), FALSE);
    SetLimits(State, AxisMaximum(JoyCaps.wXmax), AxisMaximum(JoyCaps.wYmax));
}

void TMasconMainForm::ReadJoyState() {
    if (!State.JoyPresent) {
        GBJoyStatus.SetEnabled(false);
        return;
    }
    JOYINFO info{};
    joystick_.JoyGetPos(static_cast<UINT>(State.JoyId), &info);
    State.JoyX = static_cast<std::int32_t>(info.wXpos);
    State.JoyY = static_cast<std::int32_t>(info.wYpos);
    LblJoyX.SetText(L"X : " + Decimal(State.JoyX));
    LblJoyY.SetText(L"Y : " + Decimal(State.JoyY));
    ShowButtons(info.wButtons);
    StoreResetPos();
}

void TMasconMainForm::StoreResetPos() {
    State.ResetX = State.JoyX;
    State.ResetY = State.JoyY;
    LblResetX.SetText(L"X = " + Decimal(State.ResetX));
    LblResetY.SetText(L"Y = " + Decimal(State.ResetY));
}

void TMasconMainForm::FormDestroy() {
    if (State.JoyPresent) {
        joystick_.JoyReleaseCapture(static_cast<UINT>(State.JoyId));
    }
}

void TMasconMainForm::MMJoy1Move(forms::Message& m) {
    const auto position = static_cast<std::uint32_t>(m.lParam);
    State.JoyX = static_cast<std::int32_t>(position & 0xFFFF);
    State.JoyY = static_cast<std::int32_t>(position >> 16);
    LblJoyX.SetText(L"X : " + Decimal(State.JoyX));
    LblJoyY.SetText(L"Y : " + Decimal(State.JoyY));

    bool changed = false;
    const DecodeOutcome brake = DecodeBrake(State, State.JoyX);
    changed |= brake == DecodeOutcome::Changed;
    if (InRange(brake)) {
        PBBreak.SetPosition(State.BrakeNotch);
        LblBPos.SetText(Decimal(State.BrakeNotch));
    }
    const DecodeOutcome power = DecodePower(State, State.JoyY);
    changed |= power == DecodeOutcome::Changed;
    if (InRange(power)) {
        PBMascon.SetPosition(State.MasconNotch);
        LblMPos.SetText(Decimal(State.MasconNotch));
    }
    Combine(State);
    Synchronise(State, changed, keys_);
}

// Only bits 0 to 2 are read, the same for button down and up: they hold the
// buttons down at the time, so a held button's strokes are sent again.
// Indicators first, then the strokes.
void TMasconMainForm::MMJoy1Button(forms::Message& m) {
    const auto bits = static_cast<unsigned>(m.wParam);
    ShowButtons(bits);
    if ((bits & JOY_BUTTON1) != 0) {
        keys_.Send(Stroke::Keypad1);
    }
    if ((bits & JOY_BUTTON2) != 0) {
        keys_.Send(Stroke::Keypad7);
        keys_.Send(Stroke::Keypad4);
    }
}

void TMasconMainForm::ShowButtons(unsigned bits) {
    PnlB1.SetColour(Indicator((bits & JOY_BUTTON1) != 0));
    PnlB2.SetColour(Indicator((bits & JOY_BUTTON2) != 0));
    PnlB3.SetColour(Indicator((bits & JOY_BUTTON3) != 0));
}

void TMasconMainForm::BtnResetClick() {
    StoreResetPos();
}

void TMasconMainForm::SpeedButton1Click() {
    if (about_ == nullptr) {
        return;
    }
    about_->SetVersion(L"1.0");
    about_->ShowModal();
}

} // namespace trevik
