#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "player_state.h"

namespace standin {

// The shared memory map in which AIMP publishes the playing track's tags
// (AIMP SDK, apiRemote.h): a packed header, then the album, artist, date,
// file name, genre and title as UTF-16 without terminators.
class AimpInfoMap {
public:
    // Creates the map; false if it cannot be made.
    bool Create();
    // Writes the current track into it; its file name is `file` when that is
    // not empty, else the track's bare name.
    void Write(const PlayerState& player, const std::wstring& artist, const std::wstring& file);

private:
    struct Closer {
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };
    struct Unmapper {
        void operator()(void* view) const { UnmapViewOfFile(view); }
    };
    std::unique_ptr<void, Closer> map_;
    std::unique_ptr<void, Unmapper> view_;
};

}  // namespace standin
