#include "harness.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace morvane::e2e {

[[noreturn]] void Fail(const QString& why) { throw std::runtime_error(why.toStdString()); }

namespace {


QString Tone(const QString& name, int seconds, int hertz)
{
    const QDir media(QStringLiteral(MORVANE_E2E_MEDIA));
    const QString path = media.filePath(name);
    if (QFile::exists(path)) return path;
    // Made beside and renamed, so a run cut short leaves no half a file.
    const QString part = path + QStringLiteral(".part.wav");
    const int made = media.mkpath(QStringLiteral("."))
                         ? QProcess::execute(QStringLiteral("sox"), {"-n", "-r", "22050", "-c", "1", part, "synth",
                                                                     QString::number(seconds), "sine",
                                                                     QString::number(hertz), "vol", "0.2"})
                         : -1;
    if (made != 0 || !QFile::rename(part, path)) Fail("sox could not make " + path);
    return path;
}

} // namespace

namespace {

// Runs `program`; its standard output, or throws.
QByteArray Output(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitCode() != 0) Fail(program + " failed: " + process.errorString());
    return process.readAllStandardOutput();
}

} // namespace

Lesson SentenceLesson()
{
    static const QStringList kSentences{
        "今天天气很好，我们去公园散步", "我的朋友住在北京，他每天坐地铁上班", "这本书很有意思，你也应该看看",
        "昨天晚上下了大雨，街上到处都是水", "她喜欢唱歌，也喜欢跳舞", "如果明天有时间，我想去图书馆",
        "这家饭馆的菜很好吃，价格也不贵", "学习中文需要耐心，每天都要练习", "火车八点出发，我们七点半见面",
        "我的妹妹是医生，她工作非常忙"};
    constexpr int kRate = 22050, kLeadMs = 1000, kPauseMs = 800;
    constexpr qint16 kFirstSound = 32;  // the first sample above this starts a sentence
    QByteArray samples(kRate * kLeadMs / 1000 * 2, '\0');
    Lesson lesson;
    for (const QString& sentence : kSentences) {
        const QByteArray clip = Output("sh", {"-c", "espeak-ng -v zh --stdout \"$0\" | sox -t wav - -t raw -r 22050 "
                                                    "-e signed -b 16 -c 1 -", sentence});
        const auto* first = reinterpret_cast<const qint16*>(clip.constData());
        const auto* end = first + clip.size() / 2;
        const auto* sound = std::find_if(first, end, [](qint16 v) { return std::abs(v) > kFirstSound; });
        if (sound == end) Fail("espeak-ng said nothing for " + sentence);
        lesson.starts_ms.push_back(qRound((samples.size() / 2 + (sound - first)) * 1000.0 / kRate));
        samples += clip + QByteArray(kRate * kPauseMs / 1000 * 2, '\0');
    }
    const QDir media(QStringLiteral(MORVANE_E2E_MEDIA));
    if (!media.mkpath(QStringLiteral("."))) Fail("could not make " + media.path());
    lesson.path = media.filePath(QStringLiteral("分句课.wav"));
    const QString part = lesson.path + QStringLiteral(".part.wav");
    Output("sox", {"-t", "raw", "-r", "22050", "-e", "signed", "-b", "16", "-c", "1", "-", part}, samples);
    if (QFile::exists(lesson.path)) QFile::remove(lesson.path);
    if (!QFile::rename(part, lesson.path)) Fail("could not make " + lesson.path);
    return lesson;
}

QStringList Recordings()
{
    return {Tone(QStringLiteral("第一课.wav"), 60, 440), Tone(QStringLiteral("第二课.wav"), 40, 550),
            Tone(QStringLiteral("第三课.wav"), 30, 660)};
}

Mpv::Mpv(const QStringList& files)
{
    const QString socket = dir_.filePath(QStringLiteral("mpv.sock"));
    // mpv-mpris comes from /etc/mpv/scripts by itself; naming it again would
    // register a second bus name. The null output's default 0.2 s buffer
    // lands a paused seek after playing 0.2 s short; a much smaller one plays
    // slower than the clock.
    process_.setProgram(QStringLiteral("mpv"));
    process_.setArguments(QStringList{"--no-video", "--ao=null", "--ao-null-buffer=0.05", "--no-terminal",
                                      "--input-ipc-server=" + socket, "--loop-file=inf", "--pause", "--idle=yes"} +
                          files);
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.start();
    if (!process_.waitForStarted(5000)) Fail("mpv did not start: " + process_.errorString());
    Eventually([&] {
        socket_.abort();
        socket_.connectToServer(socket);
        return socket_.waitForConnected(100) || process_.state() == QProcess::NotRunning;
    }, kHangMs);
    if (socket_.state() != QLocalSocket::ConnectedState) Fail(QStringLiteral("mpv's IPC socket did not answer"));

    const QString service =
        WaitForBusName(QStringLiteral("mpv"), process_, QStringLiteral(" (is mpv-mpris installed?)"));
    // mpv-mpris learns the length a moment after mpv does: a program that
    // starts in between reads a track without one until the next signal.
    const auto mpris_length = [&] {
        QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/mpris/MediaPlayer2"),
                                                           QStringLiteral("org.freedesktop.DBus.Properties"),
                                                           QStringLiteral("Get"));
        call << QStringLiteral("org.mpris.MediaPlayer2.Player") << QStringLiteral("Metadata");
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kHangMs);
        const QVariant metadata = reply.arguments().value(0).value<QDBusVariant>().variant();
        return qdbus_cast<QVariantMap>(metadata).value(QStringLiteral("mpris:length")).toLongLong();
    };
    if (!Eventually([&] { return Get(QStringLiteral("duration")).toDouble() > 0 && mpris_length() > 0; }))
        Fail("mpv did not load " + files.join(' '));
}

Mpv::~Mpv()
{
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) Kill();
}

QJsonValue Mpv::Request(const QJsonArray& command, bool must_succeed)
{
    const int id = ++last_request_;
    const QByteArray text = QJsonDocument(command).toJson(QJsonDocument::Compact);
    socket_.write(QJsonDocument(QJsonObject{{"command", command}, {"request_id", id}}).toJson(QJsonDocument::Compact) +
                  '\n');
    socket_.flush();
    const QDeadlineTimer deadline(kHangMs);
    for (;;) {
        while (socket_.canReadLine()) {
            const QJsonObject answer = QJsonDocument::fromJson(socket_.readLine()).object();
            if (answer.value(QStringLiteral("request_id")).toInt(-1) != id) continue;  // an event
            const QString error = answer.value(QStringLiteral("error")).toString();
            if (error == QStringLiteral("success")) return answer.value(QStringLiteral("data"));
            if (must_succeed) Fail("mpv refused " + text + ": " + error);
            return QJsonValue(QJsonValue::Undefined);
        }
        if (deadline.hasExpired() || !socket_.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            Fail("mpv did not answer " + text);
    }
}

QJsonValue Mpv::Get(const QString& property) { return Request({"get_property", property}, false); }

void Mpv::Set(const QString& property, const QJsonValue& value) { Request({"set_property", property, value}, true); }

void Mpv::Seek(int ms) { Request({"seek", ms / 1000.0, "absolute+exact"}, true); }

QString Mpv::Status()
{
    if (Get(QStringLiteral("idle-active")).toBool()) return QStringLiteral("Stopped");
    return Get(QStringLiteral("pause")).toBool() ? QStringLiteral("Paused") : QStringLiteral("Playing");
}

QString WaitForBusName(const QString& player, const QProcess& process, const QString& hint)
{
    // This very player's name: one that is going away may still be listed.
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    const auto pid = static_cast<uint>(process.processId());
    QString found;
    Eventually([&] {
        if (bus == nullptr || process.state() == QProcess::NotRunning) return true;
        for (const QString& name : bus->registeredServiceNames().value())
            if (name.startsWith("org.mpris.MediaPlayer2." + player) && bus->servicePid(name).value() == pid)
                found = name;
        return !found.isEmpty();
    }, kHangMs);
    if (found.isEmpty()) Fail(player + " took no MPRIS name on the session bus" + hint);
    return found;
}

void Mpv::Kill()
{
    socket_.abort();
    process_.kill();
    process_.waitForFinished(5000);
}

Program::Program(std::unique_ptr<HotKeys> keyboard, const QString& folder)
    : link_(QDBusConnection::sessionBus(), QString()),
      keyboard_(std::move(keyboard)),
      app_(link_, (folder.isEmpty() ? QString() : folder + "/config/morvane/").toStdU16String(),
           (folder.isEmpty() ? QString() : folder + "/data/morvane/").toStdU16String(), [this](const keys::KeyMap&) -> HotKeys& { return *keyboard_; })
{
}

bool Eventually(const std::function<bool()>& done, int timeout_ms) { return QTest::qWaitFor(done, timeout_ms); }

bool AskedUntil(const std::function<void()>& ask, const std::function<bool()>& holds, int timeout_ms)
{
    QElapsedTimer asked;
    return Eventually([&] {
        if (!asked.isValid() || asked.hasExpired(500)) {
            ask();
            asked.start();
            return false;
        }
        return holds();
    }, timeout_ms);
}

QString Text(const qt::App& app, int id) { return qobject_cast<QLabel*>(app.Control(id))->text(); }

void Click(const qt::App& app, int id) { QTest::mouseClick(app.Control(id), Qt::LeftButton); }

std::optional<int> StampMs(const QString& stamp)
{
    static const QRegularExpression pattern(QStringLiteral("^\\[(\\d{3}):(\\d{2})(?::(\\d{3}))?\\]$"));
    const QRegularExpressionMatch match = pattern.match(stamp);
    if (!match.hasMatch()) return std::nullopt;
    return match.captured(1).toInt() * 60000 + match.captured(2).toInt() * 1000 + match.captured(3).toInt();
}

std::optional<int> HalfMs(const qt::App& app, int id, int half)
{
    const QStringList halves = Text(app, id).split(QStringLiteral("<==>"));
    if (halves.size() != 2) return std::nullopt;
    return StampMs(halves[half].mid(halves[half].indexOf('[')));
}

Session::Session(const std::string& player, std::unique_ptr<HotKeys> keyboard, const QStringList& files,
                 const QString& folder)
    : player(StartPlayer(player, files)), folder_(folder), program_(std::make_unique<Program>(std::move(keyboard), folder))
{
}

void Session::Restart()
{
    program_.reset();
    program_ = std::make_unique<Program>(std::make_unique<qt::SilentKeyboard>(), folder_);
}

bool Session::Shows(const QString& state)
{
    return Eventually([&] {
        const QString shown = Text(App(), IDC_STATE_LINE);
        return shown.endsWith("处于" + state + "状态......") || shown.endsWith("处于" + state + "状态");
    });
}

bool Session::Settled()
{
    return Eventually([&] { return std::abs(ShownMs().value_or(-1000) - player->PositionMs()) <= 20; });
}

bool Session::Follows(int shown_ms, int player_ms)
{
    return shown_ms - player_ms >= -150 && shown_ms - player_ms <= 150 + player->StepMs();
}

bool Session::SeekTo(int ms)
{
    return AskedUntil([&] { player->Seek(ms); }, [&] { return std::abs(player->PositionMs() - ms) <= 60; }) &&
           Settled();
}

bool Session::PlayerAt(int ms, int slack)
{
    return Eventually([&] { return std::abs(player->PositionMs() - ms) <= slack; });
}

bool Session::PlayerIn(const QString& status)
{
    return Eventually([&] { return player->Status() == status; });
}

bool Session::PlayerOnTrack(int index)
{
    return Eventually([&] { return player->Track() == index; });
}

std::string Session::At()
{
    return player->Identity().toStdString() + " " + player->Status().toStdString() + " at " +
           std::to_string(player->PositionMs()) + " on track " + std::to_string(player->Track()) + ", shown " +
           Shown(IDC_MARK_LINE);
}

} // namespace morvane::e2e
