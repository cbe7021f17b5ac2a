#include "app/music_timer.h"

namespace kelvox {

MusicTimer musictimer_hooks(TThreadedTimer& musictimer, std::function<void()> step) {
    TThreadedTimer* timer = &musictimer;
    return {
        [timer] { timer->SetEnabled(true); },
        [timer] { timer->SetEnabled(false); },
        [timer, step = std::move(step)] { timer->SetOnTimer([step](TThreadedTimer*) { step(); }); },
        [timer] { timer->SetOnTimer({}); },
    };
}

} // namespace kelvox
