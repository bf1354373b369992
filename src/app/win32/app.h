#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/program.h"
#include "app/win32/main_window.h"

namespace morvane::win32 {

// The whole program but its entry point: the window and an adapter for
// every port, with the program put together over them. Tests build one
// in-process with their own player and hot keys and reach each control by
// its layout id.
class App {
public:
    using KeySource = std::function<HotKeys&(const keys::KeyMap&)>;
    // The user's files are read from `config_folder` (none when it is
    // empty) and the keys from what `open_keys` opens over them.
    // What the program keeps by itself goes to `data_folder` (nowhere when
    // it is empty).
    App(Player& player, std::u16string config_folder, std::u16string data_folder, KeySource open_keys);
    // No user files; the keys from `hot_keys`.
    App(Player& player, HotKeys& hot_keys);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Registers the common controls and makes the hidden window with its
    // parts. Returns the empty text on success, the reason otherwise.
    std::wstring Create(HINSTANCE instance);
    // Runs Form_Load, then shows the window and starts the poll, and tells
    // what the user's files got wrong. false with an empty reason when no
    // player runs (the message has been shown and the window never shows),
    // false with the reason when the poll cannot run.
    bool Start(std::wstring& failure);
    // Serves the window's messages until it quits; the exit code.
    int Run();

    MainWindow& Window() { return window_; }
    HWND Control(int id) const { return window_.Control(id); }
    // Valid once Create has succeeded.
    MainForm& Form();

private:
    struct Parts;
    // Unregisters the window's class once the window is gone (it is declared
    // before it), so another App in the same process can register it again.
    struct ClassRegistration {
        HINSTANCE instance = nullptr;
        ~ClassRegistration();
    };
    Player& player_;
    std::u16string config_folder_;
    std::u16string data_folder_;
    KeySource open_keys_;
    ClassRegistration registration_;
    MainWindow window_;
    std::unique_ptr<Parts> parts_;
};

} // namespace morvane::win32
