#pragma once

#include "app/ports/controls.h"

namespace morvane {

// The window's controls by layout id (app/layout/control_ids.h), adapted by
// the front end; each call for an id returns the same adapter.
class ControlSet {
public:
    virtual ~ControlSet() = default;
    virtual ListBox& List(int id) = 0;
    virtual TextBox& Text(int id) = 0;
    virtual ScrollBar& Bar(int id) = 0;
    virtual CheckBox& Check(int id) = 0;
};

} // namespace morvane
