#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace morvane {

// Where the open and save dialogs start.
enum class DialogStart {
    FirstFolder,   // always in the first folder
    LastChosen,    // where the last dialog of this run ended, the first folder before any
};

// What the front ends must do differently, each platform's value in one row.
struct PlatformValues {
    int tick_ms;  // the poll timer's period asked of the system
    DialogStart dialog_start;
};
// Windows asks for the shortest period it has (it gives about 10 to 16 ms)
// and starts the dialogs in the program's folder, where the marks are kept.
inline constexpr PlatformValues kWindowsValues{1, DialogStart::FirstFolder};
// Qt is asked for 10 ms, as quick as Windows really ticks; the dialogs start
// in the home folder and then where the user last went.
inline constexpr PlatformValues kLinuxValues{10, DialogStart::LastChosen};

// The folder an open or save dialog starts in, by the platform's rule.
class DialogFolder {
public:
    DialogFolder(DialogStart start, std::u16string first) : start_(start), folder_(std::move(first)) {}
    const std::u16string& Start() const { return folder_; }
    // A file was chosen at `path`, a full path.
    void Chosen(std::u16string_view path);

private:
    DialogStart start_;
    std::u16string folder_;
};

} // namespace morvane
