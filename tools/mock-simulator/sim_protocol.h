// How a test drives the mock simulator: messages to its top-level window.
#pragma once

#include <windows.h>

namespace trevik::sim {

inline constexpr wchar_t kWindowClass[] = L"TrevikMockSimulator";
inline constexpr wchar_t kCabClass[] = L"TrevikMockSimulatorCab";

enum Command : UINT {
    kFront = WM_APP + 1,    // come to the foreground (SetForegroundWindow from our own process)
    kStall = WM_APP + 2,    // stop handling messages for wParam ms (post it)
    kPosition = WM_APP + 3, // returns the handle position, -9 (EB) .. +5 (P5)
    kFlush = WM_APP + 4,    // writes the log out; returns the number of key messages seen
    kHide = WM_APP + 5,     // hides the window (leaves the desktop without a foreground)
};

} // namespace trevik::sim
