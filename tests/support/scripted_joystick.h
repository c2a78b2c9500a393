// A joystick service that plays a script and records every call, for tests
// of the program's windows.
#pragma once

#include "platform/joystick_service.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace trevik::testing {

class ScriptedJoystick final : public JoystickService {
public:
    struct Call {
        std::string name;
        UINT joyId = 0;
        HWND window = nullptr; // JoySetCapture
        UINT period = 0;       // JoySetCapture
        BOOL changed = TRUE;   // JoySetCapture
        UINT size = 0;         // JoyGetDevCapsA; JoyGetPosEx: the record's dwSize
        bool zeroed = true;    // JoyGetPosEx: every field but dwSize was 0
    };

    // The script.
    UINT numDevs = 16;
    std::array<MMRESULT, 2> probe{JOYERR_UNPLUGGED, JOYERR_UNPLUGGED}; // per identifier
    std::array<std::optional<JOYCAPSA>, 2> caps; // filled in for these identifiers
    JOYINFO position{};

    std::vector<Call> calls;

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const Call& c : calls) {
            names.push_back(c.name + "(" + std::to_string(c.joyId) + ")");
        }
        return names;
    }
    const Call* Find(const std::string& name) const {
        for (const Call& c : calls) {
            if (c.name == name) {
                return &c;
            }
        }
        return nullptr;
    }

    UINT JoyGetNumDevs() override {
        calls.push_back({.name = "NumDevs"});
        return numDevs;
    }
    MMRESULT JoyGetPosEx(UINT joyId, JOYINFOEX* info) override {
        JOYINFOEX rest = *info;
        rest.dwSize = 0;
        const bool zeroed = rest.dwFlags == 0 && rest.dwXpos == 0 && rest.dwYpos == 0 &&
                            rest.dwZpos == 0 && rest.dwRpos == 0 && rest.dwUpos == 0 &&
                            rest.dwVpos == 0 && rest.dwButtons == 0 && rest.dwButtonNumber == 0 &&
                            rest.dwPOV == 0 && rest.dwReserved1 == 0 && rest.dwReserved2 == 0;
        calls.push_back({.name = "PosEx", .joyId = joyId, .size = info->dwSize, .zeroed = zeroed});
        return joyId < 2 ? probe[joyId] : JOYERR_PARMS;
    }
    MMRESULT JoyGetDevCapsA(UINT_PTR joyId, JOYCAPSA* out, UINT size) override {
        calls.push_back({.name = "DevCaps", .joyId = static_cast<UINT>(joyId), .size = size});
        if (joyId < 2 && caps[joyId] && size == sizeof(JOYCAPSA)) {
            *out = *caps[joyId];
            return JOYERR_NOERROR;
        }
        return JOYERR_PARMS;
    }
    MMRESULT JoySetCapture(HWND window, UINT joyId, UINT period, BOOL changed) override {
        calls.push_back({.name = "SetCapture",
                         .joyId = joyId,
                         .window = window,
                         .period = period,
                         .changed = changed});
        return JOYERR_NOERROR;
    }
    MMRESULT JoyReleaseCapture(UINT joyId) override {
        calls.push_back({.name = "ReleaseCapture", .joyId = joyId});
        return JOYERR_NOERROR;
    }
    MMRESULT JoyGetPos(UINT joyId, JOYINFO* info) override {
        calls.push_back({.name = "GetPos", .joyId = joyId});
        *info = position;
        return JOYERR_NOERROR;
    }
};

} // namespace trevik::testing
