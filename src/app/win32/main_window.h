#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/main_form.h"
#include "app/win32/fonts.h"

namespace morvane::win32 {

constexpr UINT_PTR kTimer1Id = 1;
// Tells the window that tasks were posted to it.
constexpr UINT kRunPostedMessage = WM_APP + 1;

// The main window and its controls. It turns window messages into calls of
// MainForm's handlers and keeps no behaviour of its own.
class MainWindow {
public:
    MainWindow() = default;
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window, hidden, with every control of the layout.
    // Returns the empty text on success, the reason otherwise.
    std::wstring Create(HINSTANCE instance);

    HWND Handle() const { return hwnd_; }
    HINSTANCE Instance() const { return instance_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    HWND Tooltip() const { return tooltip_; }
    // The DPI the window and its fonts are made for.
    UINT Dpi() const { return dpi_; }

    // Events go to `form` from now on.
    void Attach(MainForm* form) { form_ = form; }
    // Shows the window with the focus on 清除.
    void Show();
    // Moves the keyboard focus to `control` now if the window is active,
    // else when it is next activated, so no other window loses activation.
    void FocusControl(HWND control);
    // The window modal dialogs should belong to: the window itself, the
    // dialog already open above it, or none while the window is hidden.
    HWND DialogOwner() const;
    // Where a context menu opens: at the entry it was asked for from the
    // keyboard, else at the pointer.
    POINT MenuPoint() const;
    // Runs `task` on the window's thread after the messages already queued;
    // callable from any thread. Tasks still queued when the window goes are dropped.
    void Post(std::function<void()> task);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT HandleListMessage(HWND list, UINT msg, WPARAM wparam, LPARAM lparam);
    void RelayToTooltip(HWND list, UINT msg, WPARAM wparam, LPARAM lparam);

    std::wstring CreateControls();
    std::wstring CreateTooltip();
    void Place(const RECT* suggested);
    void ApplyFonts();

    void RunPosted();
    void OnCommand(int id, UINT code);
    void OnScroll(UINT code);
    // false when the list keeps the message for its own (its scroll bars').
    bool OnListContextMenu(LPARAM where);
    LRESULT OnColorStatic(HDC dc, HWND control);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    // true when it has placed the focus itself.
    bool OnActivate(UINT state);

    HWND hwnd_ = nullptr;
    HINSTANCE instance_ = nullptr;
    HWND tooltip_ = nullptr;
    WNDPROC list_proc_ = nullptr;  // the list box's own procedure, below ours
    HWND saved_focus_ = nullptr;
    std::optional<POINT> menu_point_;  // while the list's context menu is asked for
    UINT dpi_ = 96;
    std::unique_ptr<FontSet> fonts_;
    HBRUSH cyan_ = nullptr;
    MainForm* form_ = nullptr;
    std::mutex posted_mutex_;
    std::deque<std::function<void()>> posted_;
};

} // namespace morvane::win32
