#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

namespace morvane::test {

// Runs `act` on the next modal window, from inside that window's own loop.
template <typename Dialog>
void OnNextModal(std::function<void(Dialog&)> act)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act)] {
        auto* modal = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (modal == nullptr || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*modal);
    });
    poll->start(5);
}

} // namespace morvane::test
