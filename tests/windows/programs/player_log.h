#pragma once

// The stand-in player's message log: one line per message it received,
// "<msg> <wParam> <lParam>" in decimal, in order of arrival.

#include <cstddef>
#include <string>
#include <vector>

#include "player_kinds.h"

namespace morvane::e2e {

class PlayerLog {
public:
    PlayerLog(std::wstring path, const PlayerKind& kind) : path_(std::move(path)), kind_(&kind) {}

    // Every complete line so far (a line still being written is left out).
    std::vector<std::string> Lines() const;
    // The number of lines so far: a mark to read from later.
    std::size_t Mark() const { return Lines().size(); }
    std::vector<std::string> LinesSince(std::size_t mark) const;
    // The lines since the mark that the poll tick does not send by itself.
    std::vector<std::string> CommandsSince(std::size_t mark) const;
    // The commands since the mark once `count` have come (or 5 s passed),
    // read again a little later, so that one more would show too.
    std::vector<std::string> CommandsSettled(std::size_t mark, std::size_t count = 1) const;

private:
    std::wstring path_;
    const PlayerKind* kind_;
};

// The log line of a Winamp jump to that position.
inline std::string JumpLine(int ms) { return "1024 " + std::to_string(ms) + " 106"; }

} // namespace morvane::e2e
