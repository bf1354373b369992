#pragma once

// The modal windows another program opens over one of its windows: its note
// prompt and its message boxes, found by their owner and answered through
// their own controls.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "harness.h"
#include "message_box.h"

namespace e2e {

// Visible dialogs (class #32770) whose owner is `owner`.
std::vector<HWND> owned_dialogs(HWND owner);

// Waits for the first owned dialog that `accept` takes; null after timeout_ms.
template <class Accept>
HWND wait_for_owned_dialog(HWND owner, Accept accept, DWORD timeout_ms);

struct Note_prompt {
    HWND window = nullptr;
    HWND edit = nullptr;
    std::wstring title;
    std::wstring message;
    std::wstring text;  // the field's text as it opened
};

// Waits for Morvane's note prompt over `owner` and reads it.
std::optional<Note_prompt> wait_for_prompt(HWND owner, DWORD timeout_ms = 10000);

// Puts text into a control as if typed (WM_SETTEXT, with the driver's time limit).
bool set_text(HWND control, const std::wstring& text);

// Clicks a button of a dialog (IDOK, IDCANCEL, IDYES, IDNO ...) and waits
// for the dialog to close.
bool close_with(HWND dialog, int button_id, DWORD timeout_ms = 5000);

// Waits for a standard message box over `owner` and reads it.
std::optional<Message_box> wait_for_message_box(HWND owner, DWORD timeout_ms = 10000);

template <class Accept>
HWND wait_for_owned_dialog(HWND owner, Accept accept, DWORD timeout_ms)
{
    HWND found = nullptr;
    poll_until(
        [&] {
            for (const HWND dialog : owned_dialogs(owner))
                if (accept(dialog)) {
                    found = dialog;
                    return true;
                }
            return false;
        },
        timeout_ms);
    return found;
}

}  // namespace e2e
