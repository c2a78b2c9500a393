// Delivers key strokes to whatever window is in front, or to its first child
// when it has one, with synchronous window messages.
#pragma once

#include "translation/key_strokes.h"

namespace trevik {

class ForegroundKeySink final : public KeySink {
public:
    // Looks the target up afresh for every stroke, so a burst follows the
    // foreground window if it changes in between.
    void Send(Stroke stroke) override;
};

} // namespace trevik
