#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "player_state.h"
#include "protocols.h"

namespace standin {

struct Options {
    Protocol protocol = Protocol::Winamp;
    std::int32_t track = 1;  // 1-based
    std::int32_t position_ms = 0;
    PlayMode state = PlayMode::Playing;
    std::uint32_t delay_ms = 0;                   // before answering each logged message
    std::optional<std::uint32_t> hang_after_ms;   // stop answering this long after start
    std::wstring log_path;                        // empty: no log
    std::wstring file_path;                       // the file it says it plays; empty: none
};

struct ParsedOptions {
    Options options;
    std::wstring error;  // empty when the command line was understood
};

// Reads --as winamp|potplayer|aimp, --track N, --position MS, --state play|pause|stop, --delay MS,
// --hang-after MS, --log PATH and --file PATH from the arguments after the program name.
ParsedOptions ParseOptions(const std::vector<std::wstring>& args);

}  // namespace standin
