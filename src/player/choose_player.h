#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "player/player.h"

namespace morvane {

// Which of the running players to drive, each named by its place in the
// order they were found: the one in use while it plays or is paused; else
// the first that plays; else the one in use, or the first found. A lone
// player is taken without asking its state. `in_use` is nullopt when the
// player in use is not among them; nullopt when none runs.
std::optional<std::size_t> ChoosePlayer(std::size_t running, std::optional<std::size_t> in_use,
                                        const std::function<PlayState(std::size_t)>& state_of);

} // namespace morvane
