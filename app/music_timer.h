#pragma once
// musictimer as the music reaches it: the window's threaded timer, whose OnTimer is the music's step.
#include "app/music.h"
#include "timing/threaded_timer.h"

#include <functional>

namespace kelvox {

// The hooks Music uses, over the timer; step is what a tick runs (the window's musictimerTimer).
MusicTimer musictimer_hooks(TThreadedTimer& musictimer, std::function<void()> step);

} // namespace kelvox
