#pragma once

#include <string>

#include "app/ports/control_set.h"
#include "app/ports/files.h"
#include "app/ports/window.h"
#include "marks/mark_file.h"
#include "player/player.h"
#include "text/code_page.h"

namespace morvane {

// Everything a front end lends the core, the same for every front end. The
// front end owns these; the core only borrows. The hot keys come later:
// they are opened over the keys the user's file names.
struct Ports {
    ControlSet& controls;
    Window& window;
    Timer& poll_clock;
    Player& player;
    const CodePage& code_page;
    Files& files;
    // How mark files are written and read on this platform.
    mark_file::Encoding mark_files;
    // Where the program keeps what it writes by itself (ending in its
    // separator); empty: nowhere, and nothing is kept.
    std::u16string data_folder = {};
};

} // namespace morvane
