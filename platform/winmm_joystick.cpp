#include "platform/winmm_joystick.h"

namespace trevik {

UINT WinmmJoystick::JoyGetNumDevs() {
    return joyGetNumDevs();
}

MMRESULT WinmmJoystick::JoyGetPosEx(UINT joyId, JOYINFOEX* info) {
    return joyGetPosEx(joyId, info);
}

MMRESULT WinmmJoystick::JoyGetDevCapsA(UINT_PTR joyId, JOYCAPSA* caps, UINT size) {
    return joyGetDevCapsA(joyId, caps, size);
}

MMRESULT WinmmJoystick::JoySetCapture(HWND window, UINT joyId, UINT period, BOOL changed) {
    return joySetCapture(window, joyId, period, changed);
}

MMRESULT WinmmJoystick::JoyReleaseCapture(UINT joyId) {
    return joyReleaseCapture(joyId);
}

MMRESULT WinmmJoystick::JoyGetPos(UINT joyId, JOYINFO* info) {
    return joyGetPos(joyId, info);
}

} // namespace trevik
