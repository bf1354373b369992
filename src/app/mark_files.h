#pragma once

#include "app/mark_editor.h"
#include "app/ports/files.h"
#include "app/ports/window.h"
#include "marks/mark_file.h"
#include "player/player.h"
#include "text/code_page.h"

namespace morvane {

// 保存 and 读取: the mark list to a file the user chooses and back, as the
// program's own mark file, Audacity labels or subtitles. Both wait in
// dialogs and message boxes.
class MarkFiles {
public:
    MarkFiles(Window& window, Files& files, const CodePage& code_page, mark_file::Encoding encoding, Player& player,
              MarkEditor& marks)
        : window_(window), files_(files), code_page_(code_page), encoding_(encoding), player_(player), marks_(marks)
    {
    }

    // true when the whole list was written or read.
    bool Save();
    // A file that cannot be read leaves the list as it was.
    bool Load();

private:
    Window& window_;
    Files& files_;
    const CodePage& code_page_;
    mark_file::Encoding encoding_;  // how mark files are written and read on this platform
    Player& player_;
    MarkEditor& marks_;
};

} // namespace morvane
