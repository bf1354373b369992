#pragma once

// Reads the stand-in player's message log: one line per message it received,
// "<msg> <wParam> <lParam>" in decimal, in order of arrival.

#include <cstddef>
#include <string>
#include <vector>

namespace e2e {

class Player_log {
public:
    explicit Player_log(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& path() const { return path_; }
    // Every complete line so far (a line still being written is left out).
    std::vector<std::string> lines() const;
    // Number of complete lines so far: a mark to read from later.
    std::size_t mark() const { return lines().size(); }
    std::vector<std::string> lines_since(std::size_t mark) const;
    // The lines since the mark that the poll tick does not send by itself.
    std::vector<std::string> commands_since(std::size_t mark) const;

private:
    std::wstring path_;
};

// The queries of the poll tick: state, position, length and the title read.
bool is_tick_query(const std::string& line);

// Lines joined for a failure detail.
std::string joined(const std::vector<std::string>& lines);

}  // namespace e2e
