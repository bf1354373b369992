// The reference for Morvane's polling CPU: a Qt program that does nothing
// but run the same timer as Morvane's poll tick (10 ms, Qt::PreciseTimer).

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(10);
    long ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start();
    return QApplication::exec();
}
