#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "player/mpris/remote_player.h"
#include "player/player.h"

namespace morvane::mpris {

// The player port over MPRIS on a D-Bus connection. Every player's state is
// kept from its signals, so the 10 ms poll tick costs the player nothing but
// a few position queries a second. Signals and answers come through the Qt
// event loop of the thread that made the link.
class MprisLink final : public QObject, public morvane::Player {
    Q_OBJECT
public:
    // `wanted` is matched against the start of the name after
    // "org.mpris.MediaPlayer2." ("vlc" finds "vlc.instance1234"); empty
    // takes any player. Lists the players already running and chooses one
    // before it returns.
    MprisLink(QDBusConnection bus, QString wanted, QObject* parent = nullptr);

    // Loads players that have not answered yet and chooses the one in use.
    void Refresh() override;
    std::uintptr_t FindPlayer() override;

    PlayState GetPlayState() override;
    PlayState GetExactPlayState() override;
    std::int32_t GetPositionMs() override;
    std::int32_t GetExactPositionMs() override;
    std::int32_t GetLengthSec() override;
    void JumpToMs(std::int32_t ms) override;

    void CmdPrev() override;
    void CmdPlay() override;
    void CmdPause() override;
    void CmdStop() override;
    void CmdNext() override;

    bool ReadTitle(std::u16string& title) override;

    bool CanChangeSpeed() override;
    double Speed() override;
    void SetSpeed(double rate) override;

    std::u16string FilePath() override;

    std::u16string Name() override;
    std::u16string NotFoundMessage() override;

private slots:
    void OnOwnerChanged(const QString& name, const QString& old_owner, const QString& new_owner);
    void OnPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated,
                               const QDBusMessage& message);
    void OnSeeked(qlonglong position_us, const QDBusMessage& message);

private:
    using Time = RemotePlayer::Time;

    void ListPlayers();
    void Add(const QString& name, const QString& owner, bool wait);
    void Load(const QString& name, RemotePlayer& player, bool wait);
    void TakeProperties(const QString& name, std::uintptr_t handle, const QString& interface,
                         const QDBusMessage& reply, std::uint64_t ticket, Time sent, std::uint64_t signals_seen);
    void AskAll(const QString& name, RemotePlayer& player, QLatin1StringView interface);
    // Where one of our jumps should have landed, to check once it has.
    struct Landing {
        std::uint64_t actions;  // RemotePlayer::actions once it was sent
        std::int64_t left_us;
        std::int64_t target_us;
        Time at;
        bool on_no_track;  // SetPosition on the NoTrack path, not yet known to work
    };
    // With `landing`, the answer also checks that jump.
    void QueryPosition(const QString& name, RemotePlayer& player, std::optional<Landing> landing = std::nullopt);
    // Asks the player where it is and waits a moment for the answer, which
    // also goes to the clock; nullopt when none came in time.
    std::optional<std::int64_t> ReadPositionNow(RemotePlayer& player);
    void CheckLanding(const QString& name, const RemotePlayer& player, const Landing& landing);
    // Corrects a jump that missed by our own aim; true when it sent a Seek.
    bool Relanded(RemotePlayer& player, const Landing& landing, std::int64_t position_us);
    // Play on a stopped player, and PlayPause when Play leaves it stopped.
    void Start(const QString& name, RemotePlayer& player);
    void StartIfStill(const QString& name, std::uintptr_t handle, std::uint64_t actions);
    // Whether the player lets Rate be written: only its introspection data says.
    void QueryRateAccess(const QString& name, const RemotePlayer& player);
    // Counts as one of our actions.
    bool Send(RemotePlayer& player, const QString& method, const QVariantList& arguments = {});
    void Command(const QString& method);

    RemotePlayer* Lookup(const QString& name, std::uintptr_t handle);
    bool Wanted(const QString& name) const;
    // The player chosen at the last refresh; nullptr when none, or when it
    // has gone or hung since.
    RemotePlayer* Current();

    QDBusConnection bus_;
    QString wanted_;
    QDBusServiceWatcher watcher_;
    std::map<QString, RemotePlayer> players_;  // by well-known bus name
    std::uintptr_t last_handle_ = 0;
    QString current_name_;
    std::uintptr_t current_handle_ = 0;
    std::u16string last_identity_;
};

} // namespace morvane::mpris
