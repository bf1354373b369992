#pragma once

#include <QString>
#include <QTranslator>

#include "app/main_form.h"
#include "app/qt/code_page.h"
#include "app/qt/controls.h"
#include "app/qt/files.h"
#include "app/qt/main_window.h"
#include "app/qt/window_port.h"

namespace morvane::qt {

// The whole program but its entry point: the window, an adapter for every
// port and MainForm over them. Tests build one in-process with their own
// player and keyboard and reach each control by its layout id.
class App {
public:
    // Needs a QApplication. The window stays hidden until Start.
    App(Player& player, HotKeys& keyboard);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Runs Form_Load, then shows the window and starts the poll. false when
    // no player runs: the message has been shown and the window never shows.
    bool Start();

    // Tells the user something without stopping anything: a message box
    // beside the window that nothing waits for.
    void ShowNotice(const QString& text);

    MainWindow& Window() { return window_; }
    // The control with layout id `id` (app/layout/control_ids.h), nullptr
    // when there is none.
    QWidget* Control(int id) const { return window_.Control(id); }
    MainForm& Form() { return form_; }

private:
    QTranslator qt_words_;
    MainWindow window_;
    Gb18030CodePage code_page_;
    DiskFiles files_;
    WindowAdapter window_port_;
    WidgetControls controls_;
    PollTimer poll_timer_;
    MainForm form_;
};

} // namespace morvane::qt
