#pragma once

// What reached the stand-in player after an action, read from its log and
// from its private state messages, and the player's times as Morvane shows
// them.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "player_log.h"

namespace e2e {

// The log line of a jump to that position.
std::string jump_line(int ms);

// Waits for `expected` to arrive as a command since the mark, then a little
// longer, so that a second command would show too; true when it is the only
// one. `seen` gets the commands for a failure detail.
bool sent_exactly(const Player_log& log, std::size_t mark, const std::string& expected,
                  std::vector<std::string>& seen);

// True when, a little while after the mark, no command has arrived.
bool sent_nothing(const Player_log& log, std::size_t mark, std::vector<std::string>& seen);



// The stand-in's state through its private messages; nullopt if it did not answer.
std::optional<int> standin_position_ms(HWND player);

// Waits until the stand-in reports that position.
bool standin_reaches(HWND player, int position_ms);

// The short time text of whole seconds, "[mmm:ss]", and the stamp of a
// position in ms, "[mmm:ss:mmm]", for non-negative values below 1000 minutes.
std::wstring short_time(int seconds);
std::wstring stamp(int ms);

// mark_line's line: the mark's stamp, "<==>", the position's stamp. The mark
// stands at 0 until the first 定位.
std::wstring mark_line(int mark_ms, int position_ms);

}  // namespace e2e
