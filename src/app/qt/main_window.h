#pragma once

#include <QWidget>

#include <map>

#include "app/form1.h"

class QScrollBar;

namespace morvane::qt {

class MarkList;

// The main window and its controls. It turns widget events into calls of
// Form1's handlers and keeps no behaviour of its own.
class MainWindow final : public QWidget {
    Q_OBJECT

public:
    MainWindow();

    // The control with layout id `id`, nullptr when there is none.
    QWidget* Control(int id) const;
    MarkList& List() const;
    QScrollBar& Bar() const;

    // Events go to `form` from now on; nullptr stops them.
    void Attach(Form1* form) { form_ = form; }

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

    std::map<int, QWidget*> controls_;
    Form1* form_ = nullptr;
};

} // namespace morvane::qt
