#pragma once

#include <QString>
#include <QTranslator>

#include "app/program.h"
#include "app/qt/code_page.h"
#include "app/qt/controls.h"
#include "app/qt/files.h"
#include "app/qt/main_window.h"
#include "app/qt/window_port.h"

namespace morvane::qt {

// The whole program but its entry point: the window and an adapter for
// every port, with the program put together over them. Tests build one
// in-process with their own player and keyboard and reach each control by
// its layout id.
class App {
public:
    using KeySource = std::function<HotKeys&(const keys::KeyMap&)>;
    // Needs a QApplication. The user's files are read from `config_folder`
    // (none when it is empty) and the keys from what `open_keys` opens over
    // them. The window stays hidden until Start.
    // The user's files are read from `config_folder`; what the program keeps
    // by itself goes to `data_folder`.
    App(Player& player, const std::u16string& config_folder, const std::u16string& data_folder,
        const KeySource& open_keys);
    // No user files; the keys from `keyboard`.
    App(Player& player, HotKeys& keyboard);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Runs Form_Load, then shows the window and starts the poll, and tells
    // what the user's files got wrong. false when the window does not run:
    // no player (the message has been shown), or no timer (said in a box).
    bool Start();

    // Tells the user something without stopping anything: a message box
    // beside the window that nothing waits for.
    void ShowNotice(const QString& text);

    MainWindow& Window() { return window_; }
    // The control with layout id `id` (app/layout/control_ids.h), nullptr
    // when there is none.
    QWidget* Control(int id) const { return window_.Control(id); }
    MainForm& Form() { return program_.Form(); }

private:
    QTranslator qt_words_;
    MainWindow window_;
    Gb18030CodePage code_page_;
    DiskFiles files_;
    WindowAdapter window_port_;
    WidgetControls controls_;
    PollTimer poll_timer_;
    Program program_;
};

} // namespace morvane::qt
