#pragma once

#include <string>
#include <vector>

namespace morvane {

// One item of a context menu, as the front end shows it.
struct MenuItem {
    std::u16string text;
    // What the window answers when this item is chosen; 0 for a submenu.
    int id = 0;
    bool checked = false;
    bool enabled = true;
    std::vector<MenuItem> choices;  // a submenu's items
};

} // namespace morvane
