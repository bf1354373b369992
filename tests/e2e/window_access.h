#pragma once

// Looking at and driving another process's windows: finding them, reading
// texts and places, clicking, pressing keys. Every cross-process call has a
// time limit, so a hung program fails a check instead of hanging the driver.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

constexpr UINT send_timeout_ms = 2000;

// Top-level windows of the process with that class (any class when null).
std::vector<HWND> top_windows(DWORD process_id, const wchar_t* class_name, bool visible_only);
HWND find_top_window(DWORD process_id, const wchar_t* class_name, bool visible_only = true);

std::wstring class_of(HWND window);
std::optional<std::wstring> text_of(HWND window);
std::vector<HWND> children_of(HWND window);

SIZE client_size(HWND window);

// Sends a message with the driver's time limit; nullopt when it timed out.
std::optional<LRESULT> send(HWND window, UINT msg, WPARAM wparam = 0, LPARAM lparam = 0,
                            UINT timeout_ms = send_timeout_ms);

// A click that returns once the button has handled it.
bool click(HWND button);
// A click that returns at once: for buttons that open a modal dialog or end the program.
bool post_click(HWND button);

// The window with the keyboard focus in the thread that owns `window`.
HWND focus_in_thread_of(HWND window);

// List box contents.
std::optional<int> list_count(HWND list);
std::optional<std::wstring> list_text(HWND list, int index);
std::optional<int> list_selection(HWND list);

}  // namespace e2e
