#pragma once

#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "player/mpris/position_clock.h"
#include "player/player.h"

namespace morvane::mpris {

// An a{sv} from an answer or nested in a value; empty when it is not one.
QVariantMap AsMap(const QVariant& value);
// A time in microseconds as players send it (x, t, i or d); nullopt when
// it is not a number.
std::optional<std::int64_t> Microseconds(const QVariant& value);

// What the link knows of one player on the bus, kept from its answers and
// signals so the poll tick never has to ask it.
struct RemotePlayer {
    using Time = PositionClock::Time;

    QString owner;              // unique bus name: signals come from it, calls go to it
    std::uintptr_t handle = 0;  // new for every player that appears
    bool ready = false;         // its properties came, and it has not hung since
    Time next_load{};           // earliest retry while not ready
    int queries_in_flight = 0;
    Time last_query{};
    Time last_status_read{};  // while it shows Stopped
    // Counts our commands and jumps and its changes of state and track: a
    // check that follows one of ours acts only while nothing came since.
    std::uint64_t actions = 0;
    // Whether SetPosition on the NoTrack path moves a player that names no
    // track (Totem does), learnt from the first such jump.
    enum class NoTrackJump { Unknown, Taken, Refused } no_track_jump = NoTrackJump::Unknown;
    // It sends Seeked for a seek made while paused, so a paused player need
    // not be asked where it is (VLC sends none).
    bool paused_seeks_signalled = false;

    QString identity;
    PlayState state = PlayState::Stopped;
    std::int64_t length_us = 0;
    QString track_id;  // empty when SetPosition cannot name the track
    QString url;
    QString title;
    bool can_seek = false;
    // Rate as reported, and its bounds; a player without Rate, or whose
    // bounds leave only 1, cannot change its speed. rate_writable comes
    // from the player's introspection data.
    std::optional<double> rate;
    double minimum_rate = 1.0;
    double maximum_rate = 1.0;
    bool rate_writable = false;
    bool CanChangeRate() const { return rate && rate_writable && minimum_rate < maximum_rate; }
    PositionClock clock;
    std::u16string caption;

    // Which property each PropertiesChanged named, by signal count: Qt can
    // hand over a GetAll answer after a signal the player sent later, and
    // the signal's value must win.
    std::uint64_t signals_seen = 0;
    std::map<QString, std::uint64_t> signalled;
    void Signalled(const QVariantMap& changed);
    // `properties` without those a signal named after `since` signals.
    QVariantMap NewerThanSignals(QVariantMap properties, std::uint64_t since) const;

    // Properties of `interface` from GetAll or PropertiesChanged (Position
    // is left to the caller, who knows when it was true). true when the
    // position should be asked for again: the status or the track changed.
    bool Apply(const QString& interface, const QVariantMap& properties, Time now);

private:
    bool ApplyMetadata(const QVariantMap& metadata, Time now);
    void UpdateCaption();
};

} // namespace morvane::mpris
