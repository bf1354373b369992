#pragma once

#include "app/main_form.h"

namespace morvane {

// The window's controls by layout id (app/layout/control_ids.h), adapted by
// the front end; each call for an id returns the same adapter.
class Controls {
public:
    virtual ~Controls() = default;
    virtual ListBox& List(int id) = 0;
    virtual TextBox& Text(int id) = 0;
    virtual ScrollBar& Bar(int id) = 0;
    virtual CheckBox& Check(int id) = 0;
};

// What a front end gives MainForm beside its controls.
struct Services {
    Window& window;
    Timer& poll_clock;
    Player& player;
    HotKeys& hot_keys;
    const CodePage& code_page;
    Files& files;
    mark_file::Encoding mark_files;
};

// MainForm's parts, the same for every front end: which control plays which part.
MainFormParts MakeMainFormParts(Controls& controls, const Services& services);

} // namespace morvane
