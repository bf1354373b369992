#include "player/choose_player.h"

namespace morvane {

std::optional<std::size_t> ChoosePlayer(std::size_t running, std::optional<std::size_t> in_use,
                                        const std::function<PlayState(std::size_t)>& state_of)
{
    if (running == 0) return std::nullopt;
    if (running == 1) return 0;
    if (in_use && state_of(*in_use) != PlayState::Stopped) return in_use;
    for (std::size_t i = 0; i < running; ++i)
        if (i != in_use && state_of(i) == PlayState::Playing) return i;
    return in_use.value_or(0);
}

} // namespace morvane
