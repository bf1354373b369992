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
    QString owner() const;
    bool play();
    bool pause();
    // Absolute seek by SetPosition on the current track.
    bool seek_to_ms(double ms);
    std::optional<double> position_ms() const;
    std::optional<double> length_ms() const;

private:
    QString service() const;
    std::optional<QVariant> property(const QString& name) const;
    bool call(const QString& method, const QVariantList& arguments = {});

    QString name_;
    QDBusConnection bus_;
};

} // namespace bench
