#pragma once

// What the end-to-end tests and the demo share: real players read back by
// their own means, the program assembled as main.cpp does it, and waits with
// a time limit. Setup failures throw std::runtime_error with the reason.

#include <QApplication>
#include <QJsonArray>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/layout/control_ids.h"
#include "app/qt/app.h"
#include "app/qt/keys.h"
#include "modal.h"
#include "player/mpris/mpris_link.h"

namespace morvane::e2e {

// Tones of 60, 40 and 30 s under Chinese names, as a learner's files have;
// made once into the build folder.
QStringList Recordings();

// A player the tests drive and read back by its own means, never through the
// link under test: mpv over its IPC socket, the others over a D-Bus
// connection of their own.
class RealPlayer {
public:
    virtual ~RealPlayer() = default;
    virtual QString Identity() = 0;
    virtual int PositionMs() = 0;        // -1 when it has no position
    virtual QString Status() = 0;        // "Playing", "Paused" or "Stopped"
    virtual int Track() = 0;             // index into its files, -1 for none
    virtual void SetPaused(bool paused) = 0;
    virtual void Seek(int ms) = 0;       // behind the program's back
    virtual void Kill() = 0;             // as a crash: no goodbye on the bus
    // How far its own position may trail while playing: VLC moves it in
    // steps of about 0.3 s, the others within the tests' usual slack.
    virtual int StepMs() { return 0; }
    // Its playback rate, and whether it offers a rate that can change.
    virtual double Rate() = 0;
    virtual bool RateFixed() = 0;
};

// For the players' start: throws `why`; the MPRIS name `process` took, one
// beginning org.mpris.MediaPlayer2.`player`, or throws with `hint` added.
[[noreturn]] void Fail(const QString& why);
QString WaitForBusName(const QString& player, const QProcess& process, const QString& hint = {});

// Ten different Mandarin sentences, each with a comma inside, joined by
// 0.8 s pauses, and where each one's first sound is in ms.
struct Lesson {
    QString path;
    std::vector<int> starts_ms;
};
Lesson SentenceLesson();

// The players every end-to-end scenario runs against.
inline const std::vector<std::string> kPlayers{"mpv", "vlc", "audacious", "chromium", "celluloid"};

// `name` (one of kPlayers) paused at the start of `files`, ready once its
// MPRIS name is on the session bus; throws when it does not start.
std::unique_ptr<RealPlayer> StartPlayer(const std::string& name, const QStringList& files);

// mpv paused on `files`, each looping; idle rather than gone once stopped, so
// a stop can be seen.
class Mpv : public RealPlayer {
public:
    explicit Mpv(const QStringList& files);
    ~Mpv() override;

    // Undefined when mpv has no such value now (time-pos while idle).
    QJsonValue Get(const QString& property);
    void Set(const QString& property, const QJsonValue& value);
    // Any other command of mpv's ("sub-add" …); throws when it fails.
    QJsonValue Command(const QJsonArray& command) { return Request(command, true); }

    QString Identity() override { return QStringLiteral("mpv"); }
    int PositionMs() override { return qRound(Get(QStringLiteral("time-pos")).toDouble(-1) * 1000); }
    QString Status() override;
    int Track() override { return Get(QStringLiteral("playlist-pos")).toInt(-1); }
    void SetPaused(bool paused) override { Set(QStringLiteral("pause"), paused); }
    void Seek(int ms) override;  // exact
    void Kill() override;
    double Rate() override { return Get(QStringLiteral("speed")).toDouble(); }
    bool RateFixed() override { return false; }

private:
    QJsonValue Request(const QJsonArray& command, bool must_succeed);

    QTemporaryDir dir_;
    QProcess process_;
    QLocalSocket socket_;
    int last_request_ = 0;
};

// The program over every MPRIS player on the session bus; with a `folder`,
// its settings and what it keeps by itself go where the program puts them
// with XDG_CONFIG_HOME at `folder`/config and XDG_DATA_HOME at `folder`/data.
class Program {
public:
    explicit Program(std::unique_ptr<HotKeys> keyboard = std::make_unique<qt::SilentKeyboard>(),
                     const QString& folder = {});
    qt::App& App() { return app_; }

private:
    mpris::MprisLink link_;
    std::unique_ptr<HotKeys> keyboard_;
    qt::App app_;
};

// How long a wait for a player's own answer may take: a loaded machine makes
// the players slow, and only a hang should reach this.
inline constexpr int kHangMs = 30000;

// Runs the event loop until `done` or the time is up; false on time-out.
bool Eventually(const std::function<bool()>& done, int timeout_ms = kHangMs);
// `ask` at once and again every half second until `holds`: a player still
// opening a file may let a request go by. false on time-out.
bool AskedUntil(const std::function<void()>& ask, const std::function<bool()>& holds, int timeout_ms = kHangMs);

// A read-out's text, and a real mouse click in the middle of a control.
QString Text(const qt::App& app, int id);
void Click(const qt::App& app, int id);
// "[mmm:ss:mmm]" or "[mmm:ss]" in ms; nullopt for anything else.
std::optional<int> StampMs(const QString& stamp);
// One half of a "<==>" read-out (time_line, mark_line) in ms, its label dropped.
std::optional<int> HalfMs(const qt::App& app, int id, int half);

// A player on the three recordings and the program over it, with the waits
// the tests share. The window is not started.
class Session {
public:
    explicit Session(const std::string& player,
                     std::unique_ptr<HotKeys> keyboard = std::make_unique<qt::SilentKeyboard>(),
                     const QStringList& files = Recordings(), const QString& folder = {});
    // The program ended and a new one started over the same folder, the
    // player left as it is. The window is not started.
    void Restart();

    qt::App& App() { return program_->App(); }
    std::string Shown(int id) { return Text(App(), id).toStdString(); }
    std::optional<int> ShownMs() { return HalfMs(App(), IDC_MARK_LINE, 1); }
    // state_line says the player is in `state` (播放, 暂停, 停止), with its
    // dots where they fit.
    bool Shows(const QString& state);
    // Until the window shows where the player stands, as a user waits to see
    // it. Players land a few tens of ms off a seek's target, so steps start
    // from there.
    bool Settled();
    // While it plays: mark_line at most 150 ms off the player's own position, or
    // ahead by up to its step, since the read-outs run on between its steps.
    bool Follows(int shown_ms, int player_ms);
    bool SeekTo(int ms);
    bool PlayerAt(int ms, int slack = 100);
    bool PlayerIn(const QString& status);
    bool PlayerOnTrack(int index);
    // Where the player stands and what the window shows, for messages.
    std::string At();

    std::unique_ptr<RealPlayer> player;

private:
    QString folder_;
    std::unique_ptr<Program> program_;  // gone before the player
};

using test::OnNextModal;

} // namespace morvane::e2e
