#pragma once

// The system's open and save dialogs of another program: found by owner and
// title, answered by typing a full path into the file-name field.

#include <windows.h>

#include <string>

namespace e2e {

// Clicks the button of `main` that opens a file dialog and waits for the
// dialog with that title; null when none showed.
HWND open_file_dialog(HWND main, int button_id, const std::wstring& title);

// Waits for a file dialog with that title over `owner`; null after timeout_ms.
HWND wait_for_file_dialog(HWND owner, const std::wstring& title, DWORD timeout_ms = 10000);

// The file-name field: a ComboBoxEx32 (id 1148) under Wine, an Edit (id 1152)
// in Windows' own dialog; null when neither is there.
HWND file_name_field(HWND dialog);

// Types the path into the file-name field and presses the dialog's OK
// button. Returns at once: the dialog may close or ask a question.
bool choose_path(HWND dialog, const std::wstring& path);

// Waits until the program has finished what it was doing: a message sent
// to `window` is answered only when its thread waits for messages again.
bool settled(HWND window, DWORD timeout_ms = 10000);

}  // namespace e2e
