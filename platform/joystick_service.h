// The multimedia joystick calls the program makes, behind an interface so
// tests can put a scripted controller in the service's place. Arguments and
// results are those of the winmm functions of the same names.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <mmsystem.h>

namespace trevik {

class JoystickService {
public:
    virtual UINT JoyGetNumDevs() = 0;
    virtual MMRESULT JoyGetPosEx(UINT joyId, JOYINFOEX* info) = 0;
    virtual MMRESULT JoyGetDevCapsA(UINT_PTR joyId, JOYCAPSA* caps, UINT size) = 0;
    virtual MMRESULT JoySetCapture(HWND window, UINT joyId, UINT period, BOOL changed) = 0;
    virtual MMRESULT JoyReleaseCapture(UINT joyId) = 0;
    virtual MMRESULT JoyGetPos(UINT joyId, JOYINFO* info) = 0;

protected:
    ~JoystickService() = default;
};

} // namespace trevik
