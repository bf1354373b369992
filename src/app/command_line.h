#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// What the program was started with. A value option given without its value
// holds an empty text.
struct CommandLine {
    std::optional<std::u16string> player;     // --player NAME: drive that player alone
    bool keys = false;                        // --keys: list the keys and end
    std::optional<std::u16string> keys_from;  // --keys-from SOURCE (Linux: portal)
    std::optional<std::u16string> sentences;  // --sentences FILE: find the sentences of a recording
    std::optional<std::u16string> to;         // --to OUT: where --sentences writes
    std::optional<std::u16string> pause;      // --pause SECONDS
    // Arguments that are no option of the table, in order.
    std::vector<std::u16string> others;
};

// One option: its name without the dashes, the name of its value (empty
// for a switch), and the help text; empty help keeps it out of the help.
struct CommandOption {
    std::u16string_view name;
    std::u16string_view value_name;
    std::u16string_view help;
    std::optional<std::u16string> CommandLine::*value = nullptr;
    bool CommandLine::*flag = nullptr;
};

// Every option the program knows, on every platform.
std::span<const CommandOption> CommandOptions();

// The arguments after the program's name. "--name value" and "--name=value"
// both give a value; a value option takes the next argument whatever it is.
CommandLine ParseCommandLine(const std::vector<std::u16string>& arguments);

} // namespace morvane
