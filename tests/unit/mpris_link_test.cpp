#include <gtest/gtest.h>

// Built where the Qt link is; it runs a private bus of its own.
#ifdef MORVANE_MPRIS_LINK

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QThread>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "player/mpris/mpris_link.h"

namespace morvane::mpris {
namespace {

using Clock = std::chrono::steady_clock;
const QString kPath = "/org/mpris/MediaPlayer2";
const QString kPlayer = "org.mpris.MediaPlayer2.Player";

bool Wait_Until(const std::function<bool()>& done, int ms = 2000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

void Pump(int ms) { Wait_Until([] { return false; }, ms); }

QVariantMap Track(const QString& url, bool with_id = true)
{
    QVariantMap track{{"mpris:length", qlonglong{120'500'000}}, {"xesam:url", url}};
    if (with_id) track.insert("mpris:trackid", QVariant::fromValue(QDBusObjectPath("/track/1")));
    return track;
}

// An MPRIS player scripted by the test, its position running on from 10 s.
// It answers on a thread of its own: the link's start-up calls block this one.
class FakePlayer final : public QDBusVirtualObject {
public:
    FakePlayer(const QString& address, const QString& name, const QString& status)
        : name_(name), properties_{{"PlaybackStatus", status}, {"Rate", 1.0}, {"CanSeek", true},
                                   {"Metadata", Track("file:///m/lesson%201.mp3")}}
    {
        moveToThread(&thread_);
        thread_.start();
        bus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, name));
        bus_->registerVirtualObject(kPath, this);
        bus_->registerService("org.mpris.MediaPlayer2." + name);
    }
    ~FakePlayer() override
    {
        bus_.reset();
        QDBusConnection::disconnectFromBus(name_);
        thread_.quit();
        thread_.wait();
    }

    void Change(const QVariantMap& changed)
    {
        QMutexLocker lock(&mutex_);
        properties_.insert(changed);
        auto signal = QDBusMessage::createSignal(kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
        bus_->send(signal << kPlayer << changed << QStringList());
    }
    // The commands since the last look, "Member last-argument" each, and the
    // number of property queries.
    std::pair<QString, int> Calls()
    {
        QMutexLocker lock(&mutex_);
        return {std::exchange(commands_, {}).join(", "), std::exchange(queries_, 0)};
    }
    qlonglong Position_Ms() const { return Position_Us() / 1000; }
    void Set_Answering(bool answering) { answering_ = answering; }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QMutexLocker lock(&mutex_);
        const QVariantList args = message.arguments();
        if (message.interface() == kPlayer)
            commands_ << (message.member() + ' ' + args.value(args.size() - 1).toString()).trimmed();
        else
            ++queries_;
        if (!answering_) return true;  // hung: the caller times out
        QVariantMap all = args.value(0) == kPlayer ? properties_ : QVariantMap{{"Identity", name_}};
        all.insert("Position", Position_Us());
        const QVariant answer = message.member() == "GetAll" ? QVariant(all)
                                : message.member() == "Get" ? QVariant::fromValue(QDBusVariant(Position_Us()))
                                                            : QVariant();
        connection.send(answer.isValid() ? message.createReply(answer) : message.createReply());
        return true;
    }

private:
    qlonglong Position_Us() const
    {
        return 10'000'000 + std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count();
    }

    QString name_;
    QMutex mutex_;
    QVariantMap properties_;
    QStringList commands_;
    int queries_ = 0;
    std::atomic<bool> answering_{true};
    const Clock::time_point start_ = Clock::now();
    QThread thread_;
    std::unique_ptr<QDBusConnection> bus_;
};

class MprisLinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "morvane_unit_tests";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);  // QtDBus needs one
        daemon_ = new QProcess;
        daemon_->start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (daemon_->waitForReadyRead(5000)) address_ = QString::fromUtf8(daemon_->readLine()).trimmed();
    }
    static void TearDownTestSuite() { delete daemon_; }  // kills it
    void SetUp() override
    {
        if (address_.isEmpty()) GTEST_SKIP() << "no dbus-daemon for a private bus";
    }

    // A connection of its own for every link, named once for all runs.
    static QDBusConnection Link_Bus()
    {
        static int links = 0;
        return QDBusConnection::connectToBus(address_, QStringLiteral("link%1").arg(++links));
    }
    static auto Start(const QString& name, const QString& status)
    {
        return std::make_unique<FakePlayer>(address_, name, status);
    }

    static inline QProcess* daemon_ = nullptr;
    static inline QString address_;
};

TEST_F(MprisLinkTest, ChoosesThePlayingOneAndFollowsPlayersThatComeAndGo)
{
    auto idle = Start("idle", "Stopped");
    auto busy = Start("busy", "Playing");
    MprisLink link(Link_Bus(), {});
    const std::uintptr_t busy_handle = link.Find_Player();
    EXPECT_NE(busy_handle, 0u);
    EXPECT_EQ(link.Name(), u"busy");

    busy.reset();
    ASSERT_TRUE(Wait_Until([&] { link.Refresh(); return link.Name() == u"idle"; }));
    EXPECT_EQ(link.Get_Play_State(), PlayState::Stopped);
    // A stopped player gives way to one that plays.
    auto next = Start("next", "Playing");
    ASSERT_TRUE(Wait_Until([&] { link.Refresh(); return link.Name() == u"next"; }));
    EXPECT_NE(link.Find_Player(), busy_handle);

    MprisLink named(Link_Bus(), "NEX");
    EXPECT_EQ(named.Name(), u"next");
    MprisLink missing(Link_Bus(), "vlc");
    EXPECT_EQ(missing.Find_Player(), 0u);
    EXPECT_NE(missing.Not_Found_Message().find(u"vlc"), std::u16string::npos);
}

TEST_F(MprisLinkTest, PollTicksCostFewCallsAndAHungPlayerCountsAsMissing)
{
    auto player = Start("mpv", "Playing");
    MprisLink link(Link_Bus(), {});
    std::u16string title;
    ASSERT_TRUE(link.Read_Title(title));
    EXPECT_EQ(title, u"lesson 1.mp3 - mpv");
    EXPECT_EQ(link.Get_Length_Sec(), 120);

    player->Calls();
    QElapsedTimer second;
    second.start();
    qlonglong worst_ms = 0;
    while (second.elapsed() < 1000) {
        link.Refresh();
        link.Get_Play_State();
        link.Read_Title(title);
        worst_ms = std::max(worst_ms, std::abs(link.Get_Position_Ms() - player->Position_Ms()));
        Pump(10);
    }
    EXPECT_LE(player->Calls().second, 5);
    EXPECT_LE(worst_ms, 20);

    player->Set_Answering(false);
    EXPECT_TRUE(Wait_Until([&] { link.Refresh(); return link.Get_Position_Ms() == 0 && link.Find_Player() == 0; }));
    EXPECT_FALSE(link.Read_Title(title));
    player->Set_Answering(true);
    EXPECT_TRUE(Wait_Until([&] { link.Refresh(); return link.Find_Player() != 0; }, 3000));
}

TEST_F(MprisLinkTest, CommandsFollowThePlayersStateAndTrack)
{
    auto player = Start("mpv", "Playing");
    MprisLink link(Link_Bus(), {});
    const auto change = [&](const char* name, const QVariant& value, const std::function<bool()>& seen) {
        player->Change({{name, value}});
        return Wait_Until(seen);
    };
    link.Cmd_Pause();
    ASSERT_TRUE(change("PlaybackStatus", "Paused", [&] { return link.Get_Play_State() == PlayState::Paused; }));
    link.Cmd_Pause();
    link.Jump_To_Ms(-5000);
    link.Jump_To_Ms(999'000);
    EXPECT_EQ(link.Get_Position_Ms(), 119'500);  // before the player has moved
    ASSERT_TRUE(change("PlaybackStatus", "Stopped", [&] { return link.Get_Play_State() == PlayState::Stopped; }));
    link.Cmd_Pause();
    link.Cmd_Next();
    Pump(200);
    EXPECT_EQ(player->Calls().first.toStdString(), "Pause, Play, SetPosition 0, SetPosition 119500000, Next");

    // Without a track id the jump is relative; without CanSeek there is none.
    std::u16string title;
    ASSERT_TRUE(change("Metadata", Track("file:///m/b.mp3", false),
                       [&] { return link.Read_Title(title) && title == u"b.mp3 - mpv"; }));
    link.Jump_To_Ms(5000);
    Pump(200);
    EXPECT_TRUE(player->Calls().first.startsWith("Seek "));
    player->Change({{"CanSeek", false}});
    Pump(100);
    link.Jump_To_Ms(6000);
    Pump(100);
    EXPECT_EQ(player->Calls().first.toStdString(), "");
}

} // namespace
} // namespace morvane::mpris

#endif
