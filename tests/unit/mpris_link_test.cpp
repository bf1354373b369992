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

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <tuple>
#include <utility>

#include "player/mpris/mpris_link.h"

namespace morvane::mpris {
namespace {

using Clock = std::chrono::steady_clock;
const QString kPath = "/org/mpris/MediaPlayer2";
const QString kPlayer = "org.mpris.MediaPlayer2.Player";

bool WaitUntil(const std::function<bool()>& done, int ms = 2000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

void Pump(int ms) { WaitUntil([] { return false; }, ms); }

QVariantMap Track(const QString& url, bool with_id = true, qlonglong length_us = 120'500'000)
{
    QVariantMap track{{"mpris:length", length_us}, {"xesam:url", url}};
    if (with_id) track.insert("mpris:trackid", QVariant::fromValue(QDBusObjectPath("/track/1")));
    return track;
}

// How a real player differs: what it calls itself, where a seek lands,
// whether it signals a seek while paused, and how long it goes on answering
// the place it left.
struct Behaviour {
    QString identity{};
    std::chrono::milliseconds lands_off{0};
    bool seeked_while_paused = true;
    std::chrono::milliseconds answers_stale{0};
    bool track_ids = true;
    bool announces_seeks = true;  // made in the player
    std::chrono::milliseconds answers_after{0};
    bool takes_no_track = true;  // SetPosition on the NoTrack path
    QString stopped_play{};  // Play while stopped: "plays", "refuses" or "ignores"; then PlayPause plays
    // Signalled while the first GetAll is answered, so the answer, true when
    // asked, reaches the link after the signal, as Qt can hand them over.
    QVariantMap changes_while_first_answered{};
    friend void PrintTo(const Behaviour& behaviour, std::ostream* out) { *out << behaviour.identity.toStdString(); }
};

// An MPRIS player scripted by the test, its position running on from 10 s.
// It answers on a thread of its own: the link's start-up calls block this one.
class FakePlayer final : public QDBusVirtualObject {
public:
    FakePlayer(const QString& address, const QString& name, const QString& status, Behaviour behaviour = {})
        : name_(name), behaviour_(std::move(behaviour)),
          properties_{{"PlaybackStatus", status}, {"Rate", 1.0}, {"CanSeek", true},
                      {"Metadata", Track("file:///m/lesson%201.mp3", behaviour_.track_ids)}},
          playing_(status == "Playing")
    {
        if (behaviour_.identity.isEmpty()) behaviour_.identity = name;
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

    // A new Metadata starts its track at 0, with no Seeked. Without a
    // signal, as a restarted player may change.
    void Change(const QVariantMap& changed, bool signal = true)
    {
        QMutexLocker lock(&mutex_);
        ChangeLocked(changed, signal);
    }
    // A seek from the player's own window or another program.
    void SeekElsewhere(qlonglong ms)
    {
        QMutexLocker lock(&mutex_);
        MoveTo(ms * 1000, behaviour_.announces_seeks);
    }
    // The commands since the last look, "Member last-argument" each, and the
    // number of property queries.
    std::pair<QString, int> Calls()
    {
        QMutexLocker lock(&mutex_);
        return {std::exchange(commands_, {}).join(", "), std::exchange(queries_, 0)};
    }
    qlonglong PositionMs()
    {
        QMutexLocker lock(&mutex_);
        return PositionUs() / 1000;
    }
    void SetAnswering(bool answering) { answering_ = answering; }

    QString introspect(const QString&) const override { return {}; }
    // What the player says of Rate in its introspection data; none by default.
    QString rate_access;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QMutexLocker lock(&mutex_);
        const QVariantList args = message.arguments();
        if (message.interface() == kPlayer)
            commands_ << (message.member() + ' ' + args.value(args.size() - 1).toString()).trimmed();
        else
            ++queries_;
        const bool no_track = args.value(0).value<QDBusObjectPath>().path() == "/org/mpris/MediaPlayer2/TrackList/NoTrack";
        if (message.member() == "SetPosition" && (!no_track || behaviour_.takes_no_track)) MoveTo(args.value(1).toLongLong(), true);
        const QString play = message.member() == "Play" ? behaviour_.stopped_play : message.member();
        const bool stopped = properties_["PlaybackStatus"] == "Stopped";
        if (stopped && play == "refuses") return connection.send(message.createErrorReply(QDBusError::Failed, "no source"));
        if (stopped && (play == "plays" || play == "PlayPause")) ChangeLocked({{"PlaybackStatus", "Playing"}}, true);
        if (message.member() == "Seek") MoveTo(PositionUs() + args.value(0).toLongLong(), true);
        if (message.member() == "Set")
            commands_ << "Set " + args.value(1).toString() + ' ' +
                             QString::number(args.value(2).value<QDBusVariant>().variant().toDouble());
        if (!answering_) return true;  // hung: the caller times out
        if (message.member() == "Introspect") {
            connection.send(message.createReply(
                "<node><interface name=\"" + kPlayer + "\"><property type=\"d\" name=\"Rate\" access=\"" +
                rate_access + "\"/></interface></node>"));
            return true;
        }
        if (message.interface() != kPlayer) QThread::msleep(behaviour_.answers_after.count());
        QVariantMap all = args.value(0) == kPlayer ? properties_ : QVariantMap{{"Identity", behaviour_.identity}};
        all.insert("Position", AnswerUs());
        const QVariant answer = message.member() == "GetAll" ? QVariant(all)
                                : message.member() == "Get" ? QVariant::fromValue(QDBusVariant(all.value(args.value(1).toString())))
                                                            : QVariant();
        if (message.member() == "GetAll" && args.value(0) == kPlayer && !behaviour_.changes_while_first_answered.isEmpty())
            ChangeLocked(std::exchange(behaviour_.changes_while_first_answered, {}), true);
        connection.send(answer.isValid() ? message.createReply(answer) : message.createReply());
        return true;
    }

private:
    void ChangeLocked(const QVariantMap& changed, bool signal)
    {
        if (changed.contains("PlaybackStatus")) {
            base_us_ = PositionUs();
            base_at_ = Clock::now();
            playing_ = changed["PlaybackStatus"] == "Playing";
        }
        if (changed.contains("Metadata")) MoveTo(0, false);
        properties_.insert(changed);
        if (!signal) return;
        auto message = QDBusMessage::createSignal(kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
        bus_->send(message << kPlayer << changed << QStringList());
    }
    static qlonglong SinceUs(Clock::time_point then)
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - then).count();
    }
    qlonglong PositionUs() const { return base_us_ + (playing_ ? SinceUs(base_at_) : 0); }
    qlonglong AnswerUs() const
    {
        if (Clock::now() >= stale_until_) return PositionUs();
        return left_us_ + (playing_ ? SinceUs(left_at_) : 0);
    }
    void MoveTo(qlonglong us, bool signal)
    {
        left_us_ = PositionUs();
        left_at_ = Clock::now();
        stale_until_ = left_at_ + behaviour_.answers_stale;
        base_us_ = std::max<qlonglong>(0, us + (signal ? behaviour_.lands_off.count() * 1000 : 0));
        base_at_ = left_at_;
        if (signal && (playing_ || behaviour_.seeked_while_paused))
            bus_->send(QDBusMessage::createSignal(kPath, kPlayer, "Seeked") << base_us_);
    }

    QString name_;
    Behaviour behaviour_;
    QMutex mutex_;
    QVariantMap properties_;
    QStringList commands_;
    int queries_ = 0;
    std::atomic<bool> answering_{true};
    bool playing_;
    qlonglong base_us_ = 10'000'000;
    Clock::time_point base_at_ = Clock::now();
    qlonglong left_us_ = 0;
    Clock::time_point left_at_{};
    Clock::time_point stale_until_{};
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
    static void TearDownTestSuite()
    {
        // The links' connections go before their bus does, so that no
        // connection is torn down at exit against a daemon already killed.
        for (int link = 1; link <= links_; ++link) QDBusConnection::disconnectFromBus(QStringLiteral("link%1").arg(link));
        delete daemon_;  // kills it
    }
    void SetUp() override
    {
        if (address_.isEmpty()) GTEST_SKIP() << "no dbus-daemon for a private bus";
    }

    // A connection of its own for every link, named once for all runs.
    static QDBusConnection LinkBus()
    {
        return QDBusConnection::connectToBus(address_, QStringLiteral("link%1").arg(++links_));
    }
    static auto Start(const QString& name, const QString& status, const Behaviour& behaviour = {})
    {
        return std::make_unique<FakePlayer>(address_, name, status, behaviour);
    }

    // Within 0.5 s the read-outs, asked every 10 ms as the tick does, come
    // within 200 ms of the player (slack for a loaded machine; the faults
    // this catches are seconds off) and stay there for `ms`: a mark recorded
    // then is where the player is.
    static ::testing::AssertionResult Follows(MprisLink& link, FakePlayer& player, int ms)
    {
        // Refreshed as the window's tick does.
        const auto off = [&] {
            link.Refresh();
            return std::abs(link.GetPositionMs() - player.PositionMs());
        };
        if (!WaitUntil([&] { return off() <= 200; }, 500))
            return ::testing::AssertionFailure() << "not shown within 0.5 s, off by " << off() << " ms";
        QElapsedTimer timer;
        timer.start();
        qlonglong worst = 0;
        for (; timer.elapsed() < ms; Pump(10)) worst = std::max(worst, off());
        if (worst <= 200) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "then off by up to " << worst << " ms";
    }

    static inline QProcess* daemon_ = nullptr;
    static inline int links_ = 0;
    static inline QString address_;
};

TEST_F(MprisLinkTest, ChoosesThePlayingOneAndFollowsPlayersThatComeAndGo)
{
    {  // whichever is found first
        auto paused = Start("paused", "Paused"), playing = Start("playing", "Playing");
        EXPECT_EQ(MprisLink(LinkBus(), {}).Name(), u"playing");
    }
    auto idle = Start("idle", "Stopped");
    auto busy = Start("busy", "Playing");
    MprisLink link(LinkBus(), {});
    const std::uintptr_t busy_handle = link.FindPlayer();
    EXPECT_NE(busy_handle, 0u);
    EXPECT_EQ(link.Name(), u"busy");

    busy.reset();
    ASSERT_TRUE(WaitUntil([&] { link.Refresh(); return link.Name() == u"idle"; }));
    EXPECT_EQ(link.GetPlayState(), PlayState::Stopped);
    // A restarted player may answer Stopped, then play without a word.
    idle->Change({{"PlaybackStatus", "Playing"}}, false);
    EXPECT_EQ(link.GetExactPlayState(), PlayState::Playing);
    ASSERT_TRUE(WaitUntil([&] { link.Refresh(); return link.GetPlayState() == PlayState::Playing; }));
    idle->Change({{"PlaybackStatus", "Stopped"}});
    ASSERT_TRUE(WaitUntil([&] { return link.GetPlayState() == PlayState::Stopped; }));
    // A stopped player gives way to one that plays.
    auto next = Start("next", "Playing");
    ASSERT_TRUE(WaitUntil([&] { link.Refresh(); return link.Name() == u"next"; }));
    EXPECT_NE(link.FindPlayer(), busy_handle);

    MprisLink named(LinkBus(), "NEX");
    EXPECT_EQ(named.Name(), u"next");
    MprisLink missing(LinkBus(), "vlc");
    EXPECT_EQ(missing.FindPlayer(), 0u);
    EXPECT_NE(missing.NotFoundMessage().find(u"vlc"), std::u16string::npos);
}

TEST_F(MprisLinkTest, PollTicksCostFewCallsAndAHungPlayerCountsAsMissing)
{
    auto player = Start("mpv", "Playing");
    MprisLink link(LinkBus(), {});
    std::u16string title;
    ASSERT_TRUE(link.ReadTitle(title));
    EXPECT_EQ(title, u"lesson 1.mp3 - mpv");
    EXPECT_EQ(link.FilePath(), u"/m/lesson 1.mp3");
    EXPECT_EQ(link.GetLengthSec(), 120);

    player->Calls();
    QElapsedTimer second;
    second.start();
    qlonglong worst_ms = 0;
    while (second.elapsed() < 1000) {
        link.Refresh();
        link.GetPlayState();
        link.ReadTitle(title);
        worst_ms = std::max(worst_ms, std::abs(link.GetPositionMs() - player->PositionMs()));
        Pump(10);
    }
    EXPECT_LE(player->Calls().second, 5);
    EXPECT_LE(worst_ms, 20);
    // mpv signals a seek made while paused; a stopped player is asked whether it started.
    for (const auto& [status, most] : {std::pair{"Paused", 2}, std::pair{"Stopped", 5}}) {
        player->Change({{"PlaybackStatus", status}});
        player->Calls();
        for (second.start(); second.elapsed() < 3000; Pump(10)) link.Refresh(), link.GetPositionMs();
        EXPECT_LE(player->Calls().second, most) << status;
    }

    player->SetAnswering(false);
    EXPECT_TRUE(WaitUntil([&] { link.Refresh(); return link.GetPositionMs() == 0 && link.FindPlayer() == 0; }));
    EXPECT_FALSE(link.ReadTitle(title));
    player->SetAnswering(true);
    EXPECT_TRUE(WaitUntil([&] { link.Refresh(); return link.FindPlayer() != 0; }, 3000));
}

TEST_F(MprisLinkTest, CommandsFollowThePlayersStateAndTrack)
{
    auto player = Start("mpv", "Playing");
    MprisLink link(LinkBus(), {});
    const auto change = [&](const char* name, const QVariant& value, const std::function<bool()>& seen) {
        player->Change({{name, value}});
        return WaitUntil(seen);
    };
    link.CmdPlay();  // already playing: nothing, as a toggling player would pause
    link.CmdPause();
    ASSERT_TRUE(change("PlaybackStatus", "Paused", [&] { return link.GetPlayState() == PlayState::Paused; }));
    link.CmdPause();
    link.JumpToMs(-5000);
    link.JumpToMs(999'000);
    EXPECT_EQ(link.GetPositionMs(), 119'500);  // before the player has moved
    ASSERT_TRUE(change("PlaybackStatus", "Stopped", [&] { return link.GetPlayState() == PlayState::Stopped; }));
    link.CmdPause();
    link.CmdNext();
    Pump(200);
    EXPECT_EQ(player->Calls().first.toStdString(), "Pause, Play, SetPosition 0, SetPosition 119500000, Next");

    // Without a track id the jump names none; without CanSeek there is none.
    std::u16string title;
    ASSERT_TRUE(change("Metadata", Track("file:///m/b.mp3", false),
                       [&] { return link.ReadTitle(title) && title == u"b.mp3 - mpv"; }));
    link.JumpToMs(5000);
    Pump(200);
    EXPECT_EQ(player->Calls().first.toStdString(), "SetPosition 5000000");
    player->Change({{"CanSeek", false}});
    Pump(100);
    link.JumpToMs(6000);
    Pump(100);
    EXPECT_EQ(player->Calls().first.toStdString(), "");
}

TEST_F(MprisLinkTest, SpeedOnlyWhereRateIsWritableAndNotFixed)
{
    for (const auto& [access, bounds, changeable] : {std::tuple{"readwrite", std::pair{0.5, 2.0}, true},
                                                     std::tuple{"read", std::pair{0.5, 2.0}, false},
                                                     std::tuple{"readwrite", std::pair{1.0, 1.0}, false},
                                                     std::tuple{"", std::pair{0.5, 2.0}, false}}) {
        SCOPED_TRACE(std::string(access) + " " + std::to_string(bounds.second));
        auto player = Start("mpv", "Playing");
        player->rate_access = access;
        player->Change({{"MinimumRate", bounds.first}, {"MaximumRate", bounds.second}, {"Rate", 1.5}});
        MprisLink link(LinkBus(), {});
        EXPECT_EQ(WaitUntil([&] { return link.CanChangeSpeed(); }, changeable ? 2000 : 300), changeable);
        EXPECT_EQ(link.Speed(), changeable ? 1.5 : 1.0);
        player->Calls();
        link.SetSpeed(3);
        Pump(100);
        EXPECT_EQ(player->Calls().first.toStdString(), changeable ? "Set Rate 2" : "");
    }
}

TEST_F(MprisLinkTest, APausedPlayerIsKeptAndAnotherPlayersSignalsMoveNothingOfIt)
{
    auto first = Start("first", "Playing");
    MprisLink link(LinkBus(), {});
    auto second = Start("second", "Stopped");
    first->Change({{"PlaybackStatus", "Paused"}});
    ASSERT_TRUE(WaitUntil([&] { return link.GetPlayState() == PlayState::Paused; }));
    const std::uintptr_t handle = link.FindPlayer();

    second->Change({{"PlaybackStatus", "Playing"}});
    second->SeekElsewhere(90'000);
    second->Change({{"Metadata", Track("file:///m/other.mp3", true, 5'000'000)}});
    EXPECT_TRUE(Follows(link, *first, 500));
    EXPECT_EQ(link.FindPlayer(), handle);
    EXPECT_EQ(link.GetPlayState(), PlayState::Paused);
    EXPECT_EQ(link.GetLengthSec(), 120);

    first.reset();
    ASSERT_TRUE(WaitUntil([&] { link.Refresh(); return link.Name() == u"second"; }));
    EXPECT_EQ(link.GetPlayState(), PlayState::Playing);
}

// The note prompt pauses the player and resumes it once the note is in. A
// player that starts playing meanwhile is seen only at the next refresh,
// though a stopped player in use gives way to a playing one then: the
// resume still reaches the player the handler began with.
TEST_F(MprisLinkTest, APlayerThatStartsBetweenRefreshesIsNotUsedYet)
{
    auto first = Start("first", "Stopped");
    MprisLink link(LinkBus(), {});
    ASSERT_EQ(link.Name(), u"first");
    const std::uintptr_t in_use = link.FindPlayer();

    auto second = Start("second", "Playing");
    Pump(300);  // the link has seen it come
    EXPECT_EQ(link.FindPlayer(), in_use);
    link.CmdPlay();
    Pump(200);
    EXPECT_EQ(first->Calls().first.toStdString(), "Play");
    EXPECT_EQ(second->Calls().first.toStdString(), "");

    link.Refresh();
    EXPECT_EQ(link.Name(), u"second");
}

// Too slow to say where it is before the jump: the jump, counted from the
// clock, lands elsewhere and is sent again.
TEST_F(MprisLinkTest, AJumpThatLandsElsewhereIsSentAgain)
{
    auto player = Start("totem", "Paused", {.track_ids = false, .announces_seeks = false,
                                            .answers_after = std::chrono::milliseconds(200)});
    MprisLink link(LinkBus(), {});
    player->SeekElsewhere(145'000);
    link.JumpToMs(20'000);
    EXPECT_TRUE(WaitUntil([&] { return std::abs(player->PositionMs() - 20'000) <= 100; })) << player->PositionMs();
}

// Totem takes SetPosition on the NoTrack path, others get a Seek once it shows. 快进 twice
// within half a second goes 4 s on; a seek made in the player, or 停止, just after a jump stays.
TEST_F(MprisLinkTest, JumpsWithoutATrackIdLandAndAreNeverSentAgain)
{
    for (const bool takes_no_track : {true, false}) {
        auto player = Start("videos", "Paused", {.track_ids = false, .announces_seeks = false, .takes_no_track = takes_no_track});
        MprisLink link(LinkBus(), {});
        for (int press = 0; press < 2; ++press, Pump(150)) link.JumpToMs(link.GetPositionMs() + 2000);
        EXPECT_TRUE(WaitUntil([&] { return std::abs(player->PositionMs() - 14'000) <= 100; })) << takes_no_track;
        link.JumpToMs(30'000);
        Pump(100);
        player->SeekElsewhere(90'000);
        link.CmdStop();
        Pump(900);
        EXPECT_NEAR(player->PositionMs(), 90'000, 100);
    }
}

// Rhythmbox, stopped, refuses Play with an error; PlayPause starts it.
TEST_F(MprisLinkTest, PlayStartsAStoppedPlayerThatRefusesOrIgnoresPlay)
{
    for (const auto& [stopped_play, calls] : {std::pair{"plays", "Play"}, std::pair{"refuses", "Play, PlayPause"},
                                              std::pair{"ignores", "Play, PlayPause"}}) {
        auto player = Start("rhythmbox", "Stopped", {.stopped_play = stopped_play});
        MprisLink link(LinkBus(), {});
        link.CmdPlay();
        EXPECT_TRUE(WaitUntil([&] { return link.GetPlayState() == PlayState::Playing; }, 3000));
        Pump(1200);
        EXPECT_EQ(player->Calls().first.toStdString(), calls);
    }
}

TEST_F(MprisLinkTest, AnAnswerHandedOverAfterALaterSignalDoesNotUndoIt)
{
    MprisLink link(LinkBus(), {});
    Behaviour pausing;
    pausing.changes_while_first_answered = {{"PlaybackStatus", "Paused"}};
    auto player = Start("pausing", "Playing", pausing);
    ASSERT_TRUE(WaitUntil([&] { link.Refresh(); return link.FindPlayer() != 0; }));
    Pump(300);
    EXPECT_EQ(link.GetPlayState(), PlayState::Paused);
}

// One scenario against what sets common players apart; each is named by
// the first word of its identity, as the state line shows it.
class EveryPlayer : public MprisLinkTest, public ::testing::WithParamInterface<Behaviour> {};
INSTANTIATE_TEST_SUITE_P(Players, EveryPlayer,
                         ::testing::Values(Behaviour{.identity = "mpv", .lands_off = std::chrono::milliseconds(40)},
                                           Behaviour{.identity = "VLC media player", .seeked_while_paused = false},
                                           Behaviour{.identity = "Audacious",
                                                     .answers_stale = std::chrono::milliseconds(300)},
                                           Behaviour{.identity = "Rhythmbox", .announces_seeks = false},
                                           Behaviour{.identity = "Videos", .track_ids = false, .announces_seeks = false}),
                         [](const auto& info) { return info.param.identity.section(' ', 0, 0).toStdString(); });

TEST_P(EveryPlayer, SeeksFromAnywhereShowAtOnceAndJumpsGoWhereAsked)
{
    const QString name = GetParam().identity.section(' ', 0, 0);
    auto player = Start(name.toLower(), "Playing", GetParam());
    MprisLink link(LinkBus(), {});
    EXPECT_EQ(link.Name(), name.toStdU16String());
    const auto jump_lands = [&](std::int32_t ms) {
        link.JumpToMs(ms);
        QElapsedTimer since;
        since.start();
        EXPECT_TRUE(Follows(link, *player, 600)) << ms;
        const qint64 played = link.GetPlayState() == PlayState::Playing ? since.elapsed() : 0;
        EXPECT_NEAR(player->PositionMs() - played, ms, 200);
    };
    jump_lands(50'000);
    // A quick hand after a seek made in the player: 记录 and the jump take
    // the player's own word, told of that seek or not.
    player->SeekElsewhere(80'000);
    Pump(20);
    EXPECT_NEAR(link.GetExactPositionMs(), player->PositionMs(), 50);
    EXPECT_TRUE(Follows(link, *player, 600));

    player->Change({{"PlaybackStatus", "Paused"}});
    ASSERT_TRUE(WaitUntil([&] { return link.GetPlayState() == PlayState::Paused; }));
    player->Calls();
    QElapsedTimer paused;
    paused.start();
    player->SeekElsewhere(30'000);
    EXPECT_TRUE(Follows(link, *player, 600));
    jump_lands(20'000);
    // A jump without a track id first asks where the player is, then checks
    // where it landed.
    EXPECT_LE(player->Calls().second, 4 * paused.elapsed() / 1000 + (GetParam().track_ids ? 1 : 3));

    // A new track starts at 0, whatever the old one still answers; 40:00 is past 2^31 us.
    player->Change({{"PlaybackStatus", "Playing"}, {"Metadata", Track("file:///m/hour.mp3", true, 3'600'000'000)}});
    EXPECT_TRUE(Follows(link, *player, 600));
    jump_lands(2'400'000);
    // Without a track id each jump is a Seek by the distance, either way.
    player->Change({{"Metadata", Track("file:///m/hour2.mp3", false, 3'600'000'000)}});
    EXPECT_TRUE(Follows(link, *player, 600));
    jump_lands(2'400'000);
    player->SeekElsewhere(1'000'000);
    Pump(20);
    jump_lands(600'000);
}

} // namespace
} // namespace morvane::mpris

#endif
