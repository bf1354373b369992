#pragma once

// Another process's windows: finding them, reading their texts and lists,
// clicking, and answering the dialogs they open. Every call has a time
// limit, so a hung program fails a check instead of hanging the run.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace morvane::e2e {

// Sends with a time limit; nullopt when the window did not answer in time.
std::optional<LRESULT> Send(HWND window, UINT msg, WPARAM wparam = 0, LPARAM lparam = 0, UINT timeout_ms = 2000);
std::optional<std::wstring> Text_Of(HWND window);
// Returns once the button has handled the click.
bool Click(HWND button);
// Returns at once: for buttons that open a modal dialog or end the program.
bool Post_Click(HWND button);

// The visible top-level windows of the process with that class (any when null).
std::vector<HWND> Top_Windows(DWORD process_id, const wchar_t* class_name);
// The window with the keyboard focus in the thread that owns `window`.
HWND Focus_In_Thread_Of(HWND window);

std::optional<std::vector<std::wstring>> List_Entries(HWND list);
std::optional<int> List_Selection(HWND list);

// Waits for a visible dialog owned by `owner` that has the control `id`.
HWND Wait_For_Dialog(HWND owner, int id, DWORD timeout_ms = 10000);

// A message box: its title, text and number of buttons.
struct Box {
    HWND window = nullptr;
    std::wstring title, text;
    int buttons = 0;
};
std::optional<Box> Read_Box(HWND box);
std::optional<Box> Wait_For_Box(HWND owner, DWORD timeout_ms = 10000);

bool Set_Text(HWND control, const std::wstring& text);
// Clicks the dialog's button (IDOK, IDYES …) and waits for it to close.
bool Close_With(HWND dialog, int button_id);

// Clicks Morvane's 保存 or 读取 and waits for the file dialog.
HWND Open_File_Dialog(HWND main, int button_id);
// Types the path into the file-name field and presses OK; returns at once,
// as the dialog may close or ask a question.
bool Choose_Path(HWND dialog, const std::wstring& path);
// True once the window's thread waits for messages again: what it was
// doing is done.
bool Settled(HWND window);

} // namespace morvane::e2e
