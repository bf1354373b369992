// The main reference for Morvane's polling CPU: the same window, built by
// the Qt front end's own code, whose two time read-outs get a fresh time
// string every 10 ms (Qt::PreciseTimer, as Morvane's tick). It asks no
// player anything, so what Morvane spends above it is the polling itself.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include "app/layout/control_ids.h"
#include "app/qt/main_window.h"
#include "stamps/stamps.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    morvane::qt::MainWindow window;
    auto* total = static_cast<QLabel*>(window.Control(IDC_TIME_LINE));
    auto* position = static_cast<QLabel*>(window.Control(IDC_MARK_LINE));
    window.show();

    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const auto now = morvane::FormatMs(static_cast<std::int32_t>(clock.elapsed()));
        total->setText(QStringLiteral("总时间:00:01:00.000<==>当前时间:") + QString::fromStdU16String(now));
        position->setText(QStringLiteral("00:00:00.000<==>") + QString::fromStdU16String(now));
    });
    timer.start();
    return QApplication::exec();
}
