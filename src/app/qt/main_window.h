#pragma once

#include <QWidget>

#include <map>

#include "app/main_form.h"

class QScrollBar;

namespace morvane::qt {

class MarkListWidget;

// The main window and its controls. It turns widget events into calls of
// MainForm's handlers and keeps no behaviour of its own.
class MainWindow final : public QWidget {
    Q_OBJECT

public:
    MainWindow();

    // The control with layout id `id`, nullptr when there is none.
    QWidget* Control(int id) const;
    MarkListWidget& List() const;
    QScrollBar& Bar() const;

    // Where the list's context menu shows: where it was asked for, at the
    // pointer or under the selected entry.
    QPoint MenuPosition() const { return menu_position_; }

    // Events go to `form` from now on; nullptr stops them.
    void Attach(MainForm* form) { form_ = form; }

signals:
    // The window has closed: the program is ending.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void ConnectEvents();
    void OnBarValue();
    bool OnListKey(const QKeyEvent& key);
    // The context menu asked for from the keyboard: over the selected entry.
    void OnListMenuKey();

    std::map<int, QWidget*> controls_;
    MainForm* form_ = nullptr;
    QPoint menu_position_;
};

} // namespace morvane::qt
