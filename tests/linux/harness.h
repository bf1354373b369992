#pragma once

// What the end-to-end tests and the demo share: a real mpv read back over its
// own IPC socket (never through the link under test), the program assembled
// as main.cpp does it, and waits with a time limit. Setup failures throw
// std::runtime_error with the reason.

#include <QApplication>
#include <QJsonArray>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

#include "app/layout/control_ids.h"
#include "app/qt/app.h"
#include "app/qt/keys.h"
#include "modal.h"
#include "player/mpris/mpris_link.h"

namespace morvane::e2e {

// Tones of 60, 40 and 30 s under Chinese names, as a learner's files have;
// made once into the build folder.
QStringList Recordings();

// mpv paused on `files`, each looping; idle rather than gone once stopped, so
// a stop can be seen. Ready once its MPRIS name is on the session bus.
class Mpv {
public:
    explicit Mpv(const QStringList& files);
    ~Mpv();

    // Undefined when mpv has no such value now (time-pos while idle).
    QJsonValue Get(const QString& property);
    int PositionMs() { return qRound(Get(QStringLiteral("time-pos")).toDouble(-1) * 1000); }
    void Set(const QString& property, const QJsonValue& value);
    void Seek(double seconds);  // exact, behind the program's back
    void Kill();                // as a crash: no goodbye on the bus
    // Any other command of mpv's ("sub-add" …); throws when it fails.
    QJsonValue Command(const QJsonArray& command) { return Request(command, true); }

private:
    QJsonValue Request(const QJsonArray& command, bool must_succeed);

    QTemporaryDir dir_;
    QProcess process_;
    QLocalSocket socket_;
    int last_request_ = 0;
};

// The program over every MPRIS player on the session bus.
class Program {
public:
    explicit Program(std::unique_ptr<HotKeys> keyboard = std::make_unique<qt::SilentKeyboard>());
    qt::App& App() { return app_; }

private:
    mpris::MprisLink link_;
    std::unique_ptr<HotKeys> keyboard_;
    qt::App app_;
};

// Runs the event loop until `done` or the time is up; false on time-out.
bool Eventually(const std::function<bool()>& done, int timeout_ms = 5000);

// A read-out's text, and a real mouse click in the middle of a control.
QString Text(const qt::App& app, int id);
void Click(const qt::App& app, int id);
// "[mmm:ss:mmm]" or "[mmm:ss]" in ms; nullopt for anything else.
std::optional<int> StampMs(const QString& stamp);
// One half of a "<==>" read-out (time_line, mark_line) in ms, its label dropped.
std::optional<int> HalfMs(const qt::App& app, int id, int half);

// mpv on the three recordings and the program over it, with the waits the
// tests share. The window is not started.
class Session {
public:
    explicit Session(std::unique_ptr<HotKeys> keyboard = std::make_unique<qt::SilentKeyboard>());

    qt::App& App() { return program_->App(); }
    std::string Shown(int id) { return Text(App(), id).toStdString(); }
    std::optional<int> ShownMs() { return HalfMs(App(), IDC_MARK_LINE, 1); }
    // state_line says mpv is in `state` (播放, 暂停, 停止).
    bool Shows(const QString& state);
    // Until the window shows where mpv stands, as a user waits to see it. mpv
    // lands a few tens of ms off a seek's target, so steps start from there.
    bool Settled();
    bool SeekTo(int ms);
    bool MpvAt(int ms, int slack = 100);
    bool MpvPaused(bool paused);
    bool MpvOnTrack(int index);

    std::unique_ptr<Mpv> mpv;

private:
    std::unique_ptr<Program> program_;  // gone before mpv
};

using test::OnNextModal;

} // namespace morvane::e2e
