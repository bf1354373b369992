#pragma once

// Reading a standard message box (MessageBoxW) of another process.

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

enum class Box_icon { none, information, warning, error, question, unknown };

const char* icon_name(Box_icon icon);

struct Message_box {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;       // the static with id 0xFFFF
    Box_icon icon = Box_icon::none;
    int buttons = 0;         // push buttons in the box
};

std::optional<Message_box> read_message_box(HWND box);

// Presses the box's OK (or only) button without waiting for the box to close.
bool press_ok(HWND box);

}  // namespace e2e
