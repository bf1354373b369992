#include <gtest/gtest.h>

// Built where the Qt link is; it runs a private bus of its own.
#ifdef MORVANE_MPRIS_LINK

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QThread>

#include <memory>

#include "player/mpris/mpris_link.h"

namespace morvane::mpris {
namespace {

// A player that answers every property query with one status and notes the
// commands it gets. It answers on a thread of its own, as the link's
// start-up calls block this one.
class StatusPlayer final : public QDBusVirtualObject {
public:
    StatusPlayer(const QString& address, const QString& name, const QString& status) : name_(name), status_(status)
    {
        moveToThread(&thread_);
        thread_.start();
        bus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, name));
        bus_->registerVirtualObject("/org/mpris/MediaPlayer2", this);
        bus_->registerService("org.mpris.MediaPlayer2." + name);
    }
    ~StatusPlayer() override
    {
        bus_.reset();
        QDBusConnection::disconnectFromBus(name_);
        thread_.quit();
        thread_.wait();
    }
    QStringList Commands()
    {
        QMutexLocker lock(&mutex_);
        return commands_;
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QMutexLocker lock(&mutex_);
        if (message.interface() == "org.mpris.MediaPlayer2.Player") commands_ << message.member();
        const QVariantMap all{{"PlaybackStatus", status_}, {"Identity", name_}, {"CanSeek", true},
                              {"Position", qlonglong{0}}, {"Rate", 1.0}};
        connection.send(message.member() == "GetAll" ? message.createReply(QVariant(all)) : message.createReply());
        return true;
    }

private:
    QString name_, status_;
    QMutex mutex_;
    QStringList commands_;
    QThread thread_;
    std::unique_ptr<QDBusConnection> bus_;
};

void Pump(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The note prompt pauses the player and resumes it once the note is in.
// Another player that starts playing meanwhile is seen only at the next
// refresh, though a stopped player in use gives way to a playing one then:
// the resume still reaches the player the handler began with.
TEST(MprisRefresh, APlayerThatStartsBetweenRefreshesIsNotUsedYet)
{
    static int argc = 1;
    static char name[] = "morvane_unit_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(daemon.waitForReadyRead(5000)) << "no dbus-daemon for a private bus";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();

    {
        auto first = std::make_unique<StatusPlayer>(address, "first", "Stopped");
        MprisLink link(QDBusConnection::connectToBus(address, "refresh-link"), {});
        ASSERT_EQ(link.Name(), u"first");
        const std::uintptr_t in_use = link.FindPlayer();

        auto second = std::make_unique<StatusPlayer>(address, "second", "Playing");
        Pump(300);  // the link has seen it come
        EXPECT_EQ(link.FindPlayer(), in_use);
        link.CmdPlay();
        Pump(200);
        EXPECT_EQ(first->Commands(), QStringList{"Play"});
        EXPECT_TRUE(second->Commands().isEmpty());

        link.Refresh();
        EXPECT_EQ(link.Name(), u"second");
    }
    QDBusConnection::disconnectFromBus("refresh-link");
}

} // namespace
} // namespace morvane::mpris

#endif
