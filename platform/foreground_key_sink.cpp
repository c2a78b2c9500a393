#include "platform/foreground_key_sink.h"

#include <windows.h>

namespace trevik {
namespace {

HWND StrokeTarget() {
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr) {
        return nullptr;
    }
    HWND child = GetWindow(foreground, GW_CHILD);
    return child != nullptr ? child : foreground;
}

} // namespace

void ForegroundKeySink::Send(Stroke stroke) {
    HWND target = StrokeTarget();
    if (target == nullptr) {
        return; // nobody in front: the stroke goes nowhere
    }
    for (const KeyMessage& m : MessagesOf(stroke)) {
        // Synchronous: the target has handled each message before the next is sent.
        SendMessageA(target, m.message, static_cast<WPARAM>(m.wParam),
                     static_cast<LPARAM>(m.lParam));
    }
}

} // namespace trevik
