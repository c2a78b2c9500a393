// The joystick service of the operating system (winmm).
#pragma once

#include "platform/joystick_service.h"

namespace trevik {

class WinmmJoystick final : public JoystickService {
public:
    UINT JoyGetNumDevs() override;
    MMRESULT JoyGetPosEx(UINT joyId, JOYINFOEX* info) override;
    MMRESULT JoyGetDevCapsA(UINT_PTR joyId, JOYCAPSA* caps, UINT size) override;
    MMRESULT JoySetCapture(HWND window, UINT joyId, UINT period, BOOL changed) override;
    MMRESULT JoyReleaseCapture(UINT joyId) override;
    MMRESULT JoyGetPos(UINT joyId, JOYINFO* info) override;
};

} // namespace trevik
