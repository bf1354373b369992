#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

namespace morvane::test {

// Runs `act` on the next modal window or menu, from inside its own loop.
template <typename Dialog>
void OnNextModal(std::function<void(Dialog&)> act)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act)] {
        QWidget* top = QApplication::activePopupWidget();
        auto* modal = qobject_cast<Dialog*>(top != nullptr ? top : QApplication::activeModalWidget());
        if (modal == nullptr || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*modal);
    });
    poll->start(5);
}

} // namespace morvane::test
