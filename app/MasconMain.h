// The status window: the device report, the raw readings, the button
// indicators, both notches as bars and numbers, and the initial-state
// snapshot. It owns the joystick subscription and turns the joystick's
// notifications into key strokes for the simulator.
#pragma once

#include "app/MasconAbout.h"
#include "forms/form.h"
#include "platform/joystick_service.h"
#include "translation/key_strokes.h"
#include "translation/mascon_state.h"

#include <array>
#include <span>
#include <string>

namespace trevik {

class TMasconMainForm final : public forms::FormOf<TMasconMainForm> {
public:
    TMasconMainForm(forms::Application& app, JoystickService& joystick, KeySink& keys);

    // The box SpeedButton1 opens; without one the button does nothing.
    void SetAboutBox(TMasconAboutBox* about) { about_ = about; }

    static const forms::FormDesc& Description();

    // The thirteen lines of the device report.
    static std::array<std::wstring, 13> ReportLines(const MasconState& state, const JOYCAPSA& caps);

    void ShowJoyInfo();
    void ReadJoyState();
    void StoreResetPos();
    void MMJoy1Move(forms::Message& m);
    void MMJoy1Button(forms::Message& m);
    void BtnResetClick();
    void SpeedButton1Click();

    MasconState State;
    JOYCAPSA JoyCaps{};

    forms::Label Label1;
    forms::Label LblMPos;
    forms::Label LblBPos;
    forms::SpeedButton SpeedButton1;
    forms::Memo MemoInfo;
    forms::GroupBox GBJoyStatus;
    forms::Label LblJoyX;
    forms::Label LblJoyY;
    forms::Panel PnlB1;
    forms::Panel PnlB2;
    forms::Panel PnlB3;
    forms::ProgressBar PBMascon;
    forms::ProgressBar PBBreak;
    forms::GroupBox GBReset;
    forms::Label LblResetY;
    forms::Label LblResetX;
    forms::Button BtnReset;

protected:
    void FormCreate() override;
    void FormDestroy() override;

private:
    friend class forms::FormOf<TMasconMainForm>;
    static std::span<const forms::MessageEntry<TMasconMainForm>> MessageMap();
    static std::span<const forms::ClickEntry<TMasconMainForm>> ClickMap();

    void ShowButtons(unsigned bits);

    JoystickService& joystick_;
    KeySink& keys_;
    TMasconAboutBox* about_ = nullptr;
};

} // namespace trevik
