#include "player/mpris/mpris_link.h"

#include <QDBusError>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "player/choose_player.h"
#include "player/mpris/bus_names.h"
#include "player/mpris/file_url.h"
#include "player/mpris/player_name.h"
#include "player/mpris/property_values.h"

namespace morvane::mpris {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Position queries while playing or paused: at most four a second, which a
// player that moves its Position in steps (VLC, Audacious) needs to keep the
// read-outs from drifting. One whose answers agree with the clock is asked
// once a second. Paused, a player that signals a seek made then is asked
// only now and then, in case a signal was lost.
constexpr auto kQueryGap = 250ms;
constexpr auto kAgreedGap = 1s;
constexpr auto kSignalledPauseGap = 15s;
// How often a player that failed to answer is asked again.
constexpr auto kRetryGap = 1s;
// A player shown stopped is asked its status this often: some start to play
// without a signal (qmmp, restarted).
constexpr auto kStoppedGap = 1s;
// How long a mark waits for the player's own position before it takes the
// clock's: short, since the window waits with it.
constexpr int kExactLimitMs = 150;
// A jump that may miss is checked once it has landed (players take about
// 0.2 s); it missed when it is further off than this.
constexpr int kLandingCheckMs = 500;
constexpr std::int64_t kLandedOffUs = 1'000'000;
// How long a stopped player that took Play has to say it plays.
constexpr int kStartCheckMs = 1000;
// SetPosition's track for a player that names none. Totem names this one and
// takes SetPosition on it (GNOME/totem merge request 306); MPRIS itself
// leaves open what such a player takes.
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
// Players known to send Seeked for a seek made while paused (mpv-mpris);
// others show it by sending one.
constexpr std::array kSignalPausedSeeks{QLatin1StringView("mpv")};

QDBusMessage Method(const QString& destination, QLatin1StringView interface, const QString& method)
{
    auto call = QDBusMessage::createMethodCall(destination, kObjectPath, interface, method);
    call.setAutoStartService(false);
    return call;
}

} // namespace

MprisLink::MprisLink(QDBusConnection bus, QString wanted, QObject* parent)
    : QObject(parent),
      bus_(std::move(bus)),
      wanted_(std::move(wanted)),
      // The trailing * watches every name below org.mpris.MediaPlayer2.
      watcher_(QStringLiteral("org.mpris.MediaPlayer2*"), bus_, QDBusServiceWatcher::WatchForOwnerChange)
{
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this, &MprisLink::OnOwnerChanged);
    // Without the signals the kept state would go stale unseen: better no player at all.
    const bool listening =
        bus_.connect(QString(), kObjectPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"), this,
                     SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList, QDBusMessage))) &&
        bus_.connect(QString(), kObjectPath, kPlayerInterface, QStringLiteral("Seeked"), this,
                     SLOT(OnSeeked(qlonglong, QDBusMessage)));
    if (listening) ListPlayers();
    Refresh();
}

void MprisLink::ListPlayers()
{
    const QString bus_service = QStringLiteral("org.freedesktop.DBus");
    const auto call = [&](const QString& method, const QVariantList& arguments) {
        auto message = QDBusMessage::createMethodCall(bus_service, QStringLiteral("/org/freedesktop/DBus"),
                                                      bus_service, method);
        message.setArguments(arguments);
        return bus_.call(message, QDBus::Block, kReplyLimitMs);
    };
    const QDBusMessage names = call(QStringLiteral("ListNames"), {});
    if (names.type() != QDBusMessage::ReplyMessage) return;
    for (const QString& name : names.arguments().value(0).toStringList()) {
        if (!Wanted(name)) continue;
        const QDBusMessage owner = call(QStringLiteral("GetNameOwner"), {name});
        if (owner.type() == QDBusMessage::ReplyMessage) Add(name, owner.arguments().value(0).toString(), true);
    }
}

void MprisLink::Add(const QString& name, const QString& owner, bool wait)
{
    auto [it, added] = players_.try_emplace(name);
    if (!added && it->second.owner == owner) return;
    RemotePlayer& player = it->second = RemotePlayer{};
    player.owner = owner;
    player.handle = ++last_handle_;
    player.identity = name.mid(kBusPrefix.size());
    player.paused_seeks_signalled = std::ranges::any_of(kSignalPausedSeeks, [&](QLatin1StringView known) {
        return player.identity == known || player.identity.startsWith(QString(known) + QLatin1Char('.'));
    });
    Load(name, player, wait);
    QueryRateAccess(name, player);
}

void MprisLink::QueryRateAccess(const QString& name, const RemotePlayer& player)
{
    const auto call = Method(player.owner, QLatin1StringView("org.freedesktop.DBus.Introspectable"),
                             QStringLiteral("Introspect"));
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call, kReplyLimitMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, name, handle = player.handle](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                RemotePlayer* answered = Lookup(name, handle);
                const QDBusMessage reply = done->reply();
                if (answered == nullptr || reply.type() != QDBusMessage::ReplyMessage) return;
                static const QRegularExpression rate(QStringLiteral(R"(<property\s[^>]*name="Rate"[^>]*>)"));
                const QString element = rate.match(reply.arguments().value(0).toString()).captured();
                answered->rate_writable = element.contains(QLatin1StringView("access=\"readwrite\"")) ||
                                          element.contains(QLatin1StringView("access=\"write\""));
            });
}

void MprisLink::Load(const QString& name, RemotePlayer& player, bool wait)
{
    player.next_load = Clock::now() + kRetryGap;
    for (const QLatin1StringView interface : {kPlayerInterface, kRootInterface}) {
        if (!wait) {
            AskAll(name, player, interface);
            continue;
        }
        auto call = Method(player.owner, kPropertiesInterface, QStringLiteral("GetAll"));
        call << QString(interface);
        const std::uint64_t ticket = player.clock.Ticket();
        const Time sent = Clock::now();
        TakeProperties(name, player.handle, interface, bus_.call(call, QDBus::Block, kReplyLimitMs), ticket, sent,
                        player.signals_seen);
        if (!player.ready) return;  // hung or no player: do not wait for it twice
    }
}

void MprisLink::AskAll(const QString& name, RemotePlayer& player, QLatin1StringView interface)
{
    auto call = Method(player.owner, kPropertiesInterface, QStringLiteral("GetAll"));
    call << QString(interface);
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call, kReplyLimitMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, name, handle = player.handle, interface = QString(interface), ticket = player.clock.Ticket(),
             sent = Clock::now(), signals_seen = player.signals_seen](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                TakeProperties(name, handle, interface, done->reply(), ticket, sent, signals_seen);
            });
}

void MprisLink::TakeProperties(const QString& name, std::uintptr_t handle, const QString& interface,
                                const QDBusMessage& reply, std::uint64_t ticket, Time sent,
                                std::uint64_t signals_seen)
{
    RemotePlayer* player = Lookup(name, handle);
    if (player == nullptr) return;
    const bool is_player = interface == kPlayerInterface;
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (is_player) player->ready = false;
        return;
    }
    const Time received = Clock::now();
    const QVariantMap properties = player->NewerThanSignals(AsMap(reply.arguments().value(0)), signals_seen);
    const std::uint64_t before = player->clock.Ticket();
    player->Apply(interface, properties, received);
    if (!is_player) return;
    player->ready = true;
    const auto position = Microseconds(properties.value(QStringLiteral("Position")));
    if (!position) QueryPosition(name, *player);
    // A new track in this reply moved the clock to 0; the position beside it is of that track.
    else if (ticket == before && player->clock.Ticket() != before)
        player->clock.Set(*position, sent + (received - sent) / 2);
    else player->clock.Answer(ticket, *position, sent, received);
}

void MprisLink::QueryPosition(const QString& name, RemotePlayer& player, std::optional<Landing> landing)
{
    auto call = Method(player.owner, kPropertiesInterface, QStringLiteral("Get"));
    call << QString(kPlayerInterface) << QStringLiteral("Position");
    const std::uint64_t ticket = player.clock.Ticket();
    const Time sent = Clock::now();
    ++player.queries_in_flight;
    player.last_query = sent;
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call, kReplyLimitMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, name, handle = player.handle, ticket, sent, landing](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                RemotePlayer* answered = Lookup(name, handle);
                if (answered == nullptr) return;
                --answered->queries_in_flight;
                const QDBusMessage reply = done->reply();
                if (reply.type() != QDBusMessage::ReplyMessage) {
                    // A hung player counts as gone until it answers a reload.
                    const auto error = QDBusError(reply).type();
                    if (error == QDBusError::NoReply || error == QDBusError::Timeout) answered->ready = false;
                    return;
                }
                const auto position = Microseconds(reply.arguments().value(0).value<QDBusVariant>().variant());
                if (!position || (landing && Relanded(*answered, *landing, *position))) return;
                answered->clock.Answer(ticket, *position, sent, Clock::now());
            });
}

std::optional<std::int64_t> MprisLink::ReadPositionNow(RemotePlayer& player)
{
    auto call = Method(player.owner, kPropertiesInterface, QStringLiteral("Get"));
    call << QString(kPlayerInterface) << QStringLiteral("Position");
    const std::uint64_t ticket = player.clock.Ticket();
    const Time sent = Clock::now();
    player.last_query = sent;
    const QDBusMessage reply = bus_.call(call, QDBus::Block, kExactLimitMs);
    if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
    const auto position = Microseconds(reply.arguments().value(0).value<QDBusVariant>().variant());
    // Through the clock, which knows which answers a jump left stale.
    if (position) player.clock.Answer(ticket, *position, sent, Clock::now());
    return position;
}

void MprisLink::CheckLanding(const QString& name, const RemotePlayer& player, const Landing& landing)
{
    // The check is the next of the few position queries a second.
    QTimer::singleShot(kLandingCheckMs, this, [=, this, handle = player.handle] {
        RemotePlayer* waited = Lookup(name, handle);
        if (waited != nullptr && waited->actions == landing.actions) QueryPosition(name, *waited, landing);
    });
}

bool MprisLink::Relanded(RemotePlayer& player, const Landing& landing, std::int64_t position_us)
{
    // Another command, a change of state or track came since: the player is
    // where that put it.
    if (player.actions != landing.actions) return false;
    const Time now = Clock::now();
    const std::int64_t wanted_us = player.clock.CarriedUs(landing.target_us, landing.at, now);
    const std::int64_t off_target = std::abs(position_us - wanted_us);
    const std::int64_t off_left = std::abs(position_us - player.clock.CarriedUs(landing.left_us, landing.at, now));
    if (landing.on_no_track) {
        if (off_target <= kLandedOffUs && off_target <= off_left) {
            player.no_track_jump = RemotePlayer::NoTrackJump::Taken;
            return false;
        }
        if (off_left > kLandedOffUs) return false;  // moved by someone else: nothing learnt
        // Still where it was: it ignores that path, and this answer is fresh for a Seek.
        player.no_track_jump = RemotePlayer::NoTrackJump::Refused;
    } else if (off_target <= kLandedOffUs || off_left <= kLandedOffUs) {
        // Still where it was: it has not moved yet, or would not; sending again could only add to it.
        return false;
    }
    if (!Send(player, QStringLiteral("Seek"), {qlonglong{wanted_us - position_us}})) return false;
    player.clock.Jump(wanted_us, now);
    return true;
}

bool MprisLink::Send(RemotePlayer& player, const QString& method, const QVariantList& arguments)
{
    ++player.actions;
    auto call = Method(player.owner, kPlayerInterface, method);
    call.setArguments(arguments);
    return bus_.send(call);
}

void MprisLink::Command(const QString& method)
{
    if (RemotePlayer* player = Current()) Send(*player, method);
}

RemotePlayer* MprisLink::Lookup(const QString& name, std::uintptr_t handle)
{
    const auto it = players_.find(name);
    return it != players_.end() && it->second.handle == handle ? &it->second : nullptr;
}

bool MprisLink::Wanted(const QString& name) const
{
    return name.startsWith(kBusPrefix) &&
           QStringView(name).sliced(kBusPrefix.size()).startsWith(wanted_, Qt::CaseInsensitive);
}

void MprisLink::Refresh()
{
    const Time now = Clock::now();
    for (auto& [name, player] : players_)
        if (!player.ready && now >= player.next_load) Load(name, player, false);
    if (RemotePlayer* shown = Current();
        shown != nullptr && shown->state == PlayState::Stopped && now - shown->last_status_read >= kStoppedGap) {
        shown->last_status_read = now;
        AskAll(current_name_, *shown, kPlayerInterface);
    }

    // The ready players in the order they appeared.
    std::vector<std::pair<const QString*, RemotePlayer*>> running;
    for (auto& [name, player] : players_)
        if (player.ready) running.emplace_back(&name, &player);
    std::ranges::sort(running, {}, [](const auto& found) { return found.second->handle; });
    const RemotePlayer* chosen = Current();
    std::optional<std::size_t> in_use;
    for (std::size_t k = 0; k < running.size(); ++k)
        if (running[k].second == chosen) in_use = k;
    const std::optional<std::size_t> pick =
        ChoosePlayer(running.size(), in_use, [&](std::size_t k) { return running[k].second->state; });
    if (pick && pick != in_use) {
        RemotePlayer& best = *running[*pick].second;
        current_name_ = *running[*pick].first;
        current_handle_ = best.handle;
        last_identity_ = best.identity.toStdU16String();
        QueryPosition(current_name_, best);
    }
}

RemotePlayer* MprisLink::Current()
{
    RemotePlayer* chosen = Lookup(current_name_, current_handle_);
    return chosen != nullptr && chosen->ready ? chosen : nullptr;
}

std::uintptr_t MprisLink::FindPlayer()
{
    const RemotePlayer* player = Current();
    return player != nullptr ? player->handle : 0;
}

PlayState MprisLink::GetPlayState()
{
    const RemotePlayer* player = Current();
    return player != nullptr ? player->state : PlayState::Stopped;
}

PlayState MprisLink::GetExactPlayState()
{
    RemotePlayer* player = Current();
    if (player == nullptr) return PlayState::Stopped;
    auto call = Method(player->owner, kPropertiesInterface, QStringLiteral("Get"));
    call << QString(kPlayerInterface) << QStringLiteral("PlaybackStatus");
    const QDBusMessage reply = bus_.call(call, QDBus::Block, kExactLimitMs);
    if (reply.type() != QDBusMessage::ReplyMessage) return player->state;
    // Taken as a signal would be: a later signal still wins over an older answer.
    const QVariantMap status{
        {QStringLiteral("PlaybackStatus"), reply.arguments().value(0).value<QDBusVariant>().variant()}};
    player->Signalled(status);
    if (player->Apply(kPlayerInterface, status, Clock::now())) QueryPosition(current_name_, *player);
    return player->state;
}

std::int32_t MprisLink::GetPositionMs()
{
    RemotePlayer* player = Current();
    if (player == nullptr) return 0;
    const Time now = Clock::now();
    // A few real answers a second keep the carried-forward position honest,
    // and show a seek made while paused, which VLC does not signal.
    const auto gap = player->state == PlayState::Paused && player->paused_seeks_signalled ? kSignalledPauseGap
                     : player->clock.Agrees()                                            ? kAgreedGap
                                                                                         : kQueryGap;
    if (player->state != PlayState::Stopped && player->queries_in_flight == 0 && now - player->last_query >= gap)
        QueryPosition(current_name_, *player);
    return PositionMs(player->clock.PositionUs(now));
}

std::int32_t MprisLink::GetExactPositionMs()
{
    RemotePlayer* player = Current();
    if (player == nullptr) return 0;
    ReadPositionNow(*player);
    return PositionMs(player->clock.PositionUs(Clock::now()));
}

std::int32_t MprisLink::GetLengthSec()
{
    const RemotePlayer* player = Current();
    return player != nullptr ? LengthSec(player->length_us) : 0;
}

void MprisLink::JumpToMs(std::int32_t ms)
{
    RemotePlayer* player = Current();
    if (player == nullptr || !player->can_seek) return;
    const std::int64_t target = JumpTargetUs(std::int64_t{ms} * 1000, player->length_us);
    if (!player->track_id.isEmpty() || player->no_track_jump != RemotePlayer::NoTrackJump::Refused) {
        // Absolute: the player lands where it is told, whatever a seek made
        // in it meanwhile. Without a track id, on the NoTrack path, checked
        // once for whether the player takes it.
        const bool on_no_track =
            player->track_id.isEmpty() && player->no_track_jump == RemotePlayer::NoTrackJump::Unknown;
        // Where the player itself stands, which tells a refusal: the clock
        // already counts a jump it may have ignored.
        const std::optional<std::int64_t> told = on_no_track ? ReadPositionNow(*player) : std::nullopt;
        const Time now = Clock::now();
        const std::int64_t from = told.value_or(player->clock.PositionUs(now));
        const QString track = player->track_id.isEmpty() ? kNoTrack : player->track_id;
        if (!Send(*player, QStringLiteral("SetPosition"),
                  {QVariant::fromValue(QDBusObjectPath(track)), qlonglong{target}}))
            return;
        player->clock.Jump(target, now);
        if (on_no_track) CheckLanding(current_name_, *player, {player->actions, from, target, now, true});
        return;
    }
    // A Seek by the distance from where the player says it is, not from the
    // clock, which a seek made in the player may have left behind. Only when
    // it did not say in time is the aim a guess, to be checked.
    const bool answered = ReadPositionNow(*player).has_value();
    const Time now = Clock::now();
    const std::int64_t from = player->clock.PositionUs(now);
    if (!Send(*player, QStringLiteral("Seek"), {qlonglong{target - from}})) return;
    player->clock.Jump(target, now);
    if (!answered) CheckLanding(current_name_, *player, {player->actions, from, target, now, false});
}

void MprisLink::CmdPrev() { Command(QStringLiteral("Previous")); }
void MprisLink::CmdPlay()
{
    // MPRIS says Play on a playing player does nothing, but some
    // (Celluloid) take it as a toggle and pause.
    RemotePlayer* player = Current();
    if (player == nullptr || player->state == PlayState::Playing) return;
    if (player->state == PlayState::Stopped) Start(current_name_, *player);
    else Send(*player, QStringLiteral("Play"));
}

void MprisLink::Start(const QString& name, RemotePlayer& player)
{
    // Rhythmbox answers Play after Stop with an error ("Current playing
    // source is NULL") and stays stopped, though PlayPause starts it.
    ++player.actions;
    const auto call = Method(player.owner, kPlayerInterface, QStringLiteral("Play"));
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call, kReplyLimitMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, name, handle = player.handle, actions = player.actions](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                const QDBusMessage reply = done->reply();
                if (reply.type() == QDBusMessage::ReplyMessage) {
                    // Taken: it should say it plays; one that stays stopped is asked.
                    QTimer::singleShot(kStartCheckMs, this, [=, this] { StartIfStill(name, handle, actions); });
                    return;
                }
                const auto error = QDBusError(reply).type();
                RemotePlayer* refused = Lookup(name, handle);
                // A hung player may yet play; a toggle then would pause it.
                if (refused == nullptr || refused->actions != actions || error == QDBusError::NoReply ||
                    error == QDBusError::Timeout)
                    return;
                Send(*refused, QStringLiteral("PlayPause"));
            });
}

void MprisLink::StartIfStill(const QString& name, std::uintptr_t handle, std::uint64_t actions)
{
    const RemotePlayer* player = Lookup(name, handle);
    if (player == nullptr || player->actions != actions) return;
    auto call = Method(player->owner, kPropertiesInterface, QStringLiteral("Get"));
    call << QString(kPlayerInterface) << QStringLiteral("PlaybackStatus");
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call, kReplyLimitMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, name, handle, actions](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                RemotePlayer* stopped = Lookup(name, handle);
                const QDBusMessage reply = done->reply();
                if (stopped == nullptr || stopped->actions != actions || reply.type() != QDBusMessage::ReplyMessage)
                    return;
                const QString status = reply.arguments().value(0).value<QDBusVariant>().variant().toString();
                if (PlayStateOf(status.toUtf8().toStdString()) == PlayState::Stopped)
                    Send(*stopped, QStringLiteral("PlayPause"));
            });
}

void MprisLink::CmdStop() { Command(QStringLiteral("Stop")); }
void MprisLink::CmdNext() { Command(QStringLiteral("Next")); }

void MprisLink::CmdPause()
{
    // The same toggle as the Windows player's pause; a stopped player stays stopped.
    RemotePlayer* player = Current();
    if (player == nullptr) return;
    if (player->state == PlayState::Playing) Send(*player, QStringLiteral("Pause"));
    else if (player->state == PlayState::Paused) Send(*player, QStringLiteral("Play"));
}

bool MprisLink::ReadTitle(std::u16string& title)
{
    const RemotePlayer* player = Current();
    if (player == nullptr) return false;
    title = player->caption;
    return true;
}

bool MprisLink::CanChangeSpeed()
{
    const RemotePlayer* player = Current();
    return player != nullptr && player->CanChangeRate();
}

double MprisLink::Speed()
{
    const RemotePlayer* player = Current();
    return player != nullptr && player->CanChangeRate() ? *player->rate : 1.0;
}

void MprisLink::SetSpeed(double rate)
{
    const RemotePlayer* player = Current();
    if (player == nullptr || !player->CanChangeRate() || !std::isfinite(rate)) return;
    auto call = Method(player->owner, kPropertiesInterface, QStringLiteral("Set"));
    call << QString(kPlayerInterface) << QStringLiteral("Rate")
         << QVariant::fromValue(QDBusVariant(std::clamp(rate, player->minimum_rate, player->maximum_rate)));
    bus_.send(call);
}

std::u16string MprisLink::FilePath()
{
    const RemotePlayer* player = Current();
    return player != nullptr ? LocalFilePath(player->url.toUtf8().toStdString()) : std::u16string();
}

std::u16string MprisLink::Name()
{
    if (const RemotePlayer* player = Current()) last_identity_ = player->identity.toStdU16String();
    return last_identity_.empty() ? u"播放器" : ShortName(last_identity_);
}

std::u16string MprisLink::NotFoundMessage()
{
    if (wanted_.isEmpty())
        return u"没有找到正在运行的媒体播放器!\r\n请先打开一个支持 MPRIS 的播放器(如 mpv、VLC、Audacious)";
    return u"没有找到 MPRIS 名称以“" + wanted_.toStdU16String() +
           u"”开头的媒体播放器!\r\n请先打开这个播放器,或者不带 --player 启动";
}

void MprisLink::OnOwnerChanged(const QString& name, const QString&, const QString& new_owner)
{
    if (!Wanted(name)) return;
    if (new_owner.isEmpty()) players_.erase(name);
    else Add(name, new_owner, false);
}

void MprisLink::OnPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                      const QStringList& invalidated, const QDBusMessage& message)
{
    if (interface != kRootInterface && interface != kPlayerInterface) return;
    const Time now = Clock::now();
    for (auto& [name, player] : players_) {
        if (player.owner != message.service()) continue;
        player.Signalled(changed);
        const bool moved = player.Apply(interface, changed, now);
        // Some players only say that a value changed; it has to be fetched.
        if (!invalidated.isEmpty()) Load(name, player, false);
        else if (moved && name == current_name_ && player.handle == current_handle_) QueryPosition(name, player);
    }
}

void MprisLink::OnSeeked(qlonglong position_us, const QDBusMessage& message)
{
    const Time now = Clock::now();
    for (auto& [name, player] : players_) {
        if (player.owner != message.service()) continue;
        player.clock.Jump(position_us, now);
        if (player.state == PlayState::Paused) player.paused_seeks_signalled = true;
    }
}

} // namespace morvane::mpris
