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
std::optional<std::wstring> TextOf(HWND window);
// Returns once the button has handled the click.
bool Click(HWND button);
// Returns at once: for buttons that open a modal dialog or end the program.
bool PostClick(HWND button);

// The visible top-level windows of the process with that class (any when null).
std::vector<HWND> TopWindows(DWORD process_id, const wchar_t* class_name);
// The window with the keyboard focus in the thread that owns `window`.
HWND FocusInThreadOf(HWND window);

std::optional<std::vector<std::wstring>> ListEntries(HWND list);
std::optional<int> ListSelection(HWND list);

// Waits for a visible dialog owned by `owner` that has the control `id`.
HWND WaitForDialog(HWND owner, int id, DWORD timeout_ms = 10000);

// A message box: its title, text and number of buttons.
struct Box {
    HWND window = nullptr;
    std::wstring title, text;
    int buttons = 0;
};
std::optional<Box> ReadBox(HWND box);
std::optional<Box> WaitForBox(HWND owner, DWORD timeout_ms = 10000);

bool SetText(HWND control, const std::wstring& text);
// Clicks the dialog's button (IDOK, IDYES …) and waits for it to close.
bool CloseWith(HWND dialog, int button_id);

// Clicks Morvane's 保存 or 读取 and waits for the file dialog.
HWND OpenFileDialog(HWND main, int button_id);
// Types the path into the file-name field and presses OK; returns at once,
// as the dialog may close or ask a question.
bool ChoosePath(HWND dialog, const std::wstring& path);
// True once the window's thread waits for messages again: what it was
// doing is done.
bool Settled(HWND window);

} // namespace morvane::e2e
