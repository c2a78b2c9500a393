// Brings the simulator's handle to TargetNotch with key strokes, keeping
// SentNotch as the position the strokes so far are taken to have produced.
#pragma once

#include "translation/key_strokes.h"
#include "translation/mascon_state.h"

namespace trevik {

// Runs after every move notification, once Combine has set TargetNotch.
// `changed` says whether either notch changed in this notification.
void Synchronise(MasconState& state, bool changed, KeySink& sink);

} // namespace trevik
