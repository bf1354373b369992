#pragma once

// The player as another program reaches it over MPRIS, on a D-Bus
// connection of its own: what a media key, playerctl or the player's own
// window would do, and the player's own idea of the position.

#include <QDBusConnection>
#include <QString>

#include <optional>

namespace bench {

class OutsidePlayer {
public:
    // `name` is the start of the player's MPRIS name: mpv, vlc, audacious.
    explicit OutsidePlayer(const QString& name);

    // The unique bus name the player answers on; empty while it is not there.
    QString Owner() const;
    bool Play();
    bool Pause();
    // Absolute seek by SetPosition on the current track.
    bool SeekToMs(double ms);
    std::optional<double> PositionMs() const;
    QString Status() const;  // PlaybackStatus; empty without an answer
    std::optional<double> LengthMs() const;

private:
    QString Service() const;
    std::optional<QVariant> Property(const QString& name) const;
    bool Call(const QString& method, const QVariantList& arguments = {});

    QString name_;
    QDBusConnection bus_;
};

} // namespace bench
