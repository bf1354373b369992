// VLC, Audacious, Chromium and Celluloid for the end-to-end tests, each read
// back over a D-Bus connection of the tests' own: the same MPRIS calls any
// other program makes, never the link under test.

#include "harness.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <pwd.h>
#include <unistd.h>

namespace morvane::e2e {
namespace {

const QString kObject = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

// VLC will not run as root; there it runs as a plain user made on first use.
std::optional<passwd> PlainUser()
{
    if (geteuid() != 0) return std::nullopt;
    const char* name = "morvane-player";
    if (getpwnam(name) == nullptr &&
        QProcess::execute(QStringLiteral("useradd"), {"--system", "--no-create-home", "--shell", "/usr/sbin/nologin",
                                                      name}) != 0)
        Fail(QStringLiteral("could not make the plain user morvane-player for VLC"));
    const passwd* user = getpwnam(name);
    if (user == nullptr) Fail(QStringLiteral("the user morvane-player is missing"));
    return *user;
}

// Audacious' SDL output plug-in, in whichever architecture's folder it is.
QString AudaciousSdlOutput()
{
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString& arch : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = lib.filePath(arch + QStringLiteral("/audacious/Output/sdlout.so"));
        if (QFile::exists(path)) return path;
    }
    Fail(QStringLiteral("Audacious' SDL output is missing (the package audacious-plugins)"));
}

// A page that plays `files` in turn, as a web player does: Chromium offers
// next and previous over MPRIS only to a page that handles them, and names
// each track by the title the page gives it.
QString WebPlayerPage(const QStringList& files)
{
    QJsonArray tracks;
    for (const QString& file : files)
        tracks.append(QJsonObject{{"url", QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)},
                                  {"title", QFileInfo(file).completeBaseName()}});
    return QStringLiteral(R"(<!doctype html><meta charset="utf-8"><title>Morvane</title>
<audio id="player" autoplay loop></audio>
<script>
const tracks = %1;
const player = document.getElementById("player");
let at = 0;
function Load(index) {
  at = Math.min(Math.max(index, 0), tracks.length - 1);
  player.src = tracks[at].url;
  navigator.mediaSession.metadata = new MediaMetadata({title: tracks[at].title});
  player.play();
}
navigator.mediaSession.setActionHandler("nexttrack", () => Load(at + 1));
navigator.mediaSession.setActionHandler("previoustrack", () => Load(at - 1));
// Held at the start once it plays, as the other players start: a seek of a
// few tens of milliseconds left Chromium's Position where it was.
player.addEventListener("playing", () => { player.pause(); player.currentTime = 0; }, {once: true});
Load(0);
</script>
)")
        .arg(QString::fromUtf8(QJsonDocument(tracks).toJson(QJsonDocument::Compact)));
}

class MprisPlayer : public RealPlayer {
public:
    MprisPlayer(const std::string& name, const QStringList& files)
        : files_(files), bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, BusName()))
    {
        if (!home_.isValid() || !bus_.isConnected()) Fail(QStringLiteral("no home or no bus for the player"));
        // A fresh home each time: no settings or playlist from an earlier run.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home_.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home_.filePath(QStringLiteral("cache")));
        if (name == "vlc") {
            identity_ = QStringLiteral("vlc");
            QStringList args{"--aout=dummy", "--intf=dummy", "--control=dbus", "--no-video", "--loop"};
            if (const std::optional<passwd> user = PlainUser()) {
                if (::chown(QFile::encodeName(home_.path()).constData(), user->pw_uid, user->pw_gid) != 0)
                    Fail("could not give " + home_.path() + " to morvane-player");
                // setpriv becomes VLC itself, so a kill reaches VLC.
                args = QStringList{"--reuid=" + QString::number(user->pw_uid),
                                   "--regid=" + QString::number(user->pw_gid), "--clear-groups", "cvlc"} +
                       args;
                process_.setProgram(QStringLiteral("setpriv"));
            } else {
                process_.setProgram(QStringLiteral("cvlc"));
            }
            process_.setArguments(args + files);
        } else if (name == "chromium") {
            identity_ = QStringLiteral("chromium");
            QFile page(home_.filePath(QStringLiteral("player.html")));
            if (!page.open(QIODevice::WriteOnly) || page.write(WebPlayerPage(files).toUtf8()) < 0)
                Fail("could not write " + page.fileName());
            page.close();
            // Headless, it still shows the page's media over MPRIS. With no
            // sound card it plays into a fake output at the clock's pace;
            // the network flags keep it from calling out.
            QStringList args{"--headless=new", "--no-first-run", "--disable-gpu", "--disable-quic",
                             "--disable-background-networking", "--disable-component-update", "--disable-sync",
                             "--password-store=basic",
                             "--autoplay-policy=no-user-gesture-required",
                             "--user-data-dir=" + home_.filePath(QStringLiteral("chromium")),
                             QUrl::fromLocalFile(page.fileName()).toString(QUrl::FullyEncoded)};
            if (geteuid() == 0) args.prepend(QStringLiteral("--no-sandbox"));
            process_.setProgram(QStringLiteral("chromium"));
            process_.setArguments(args);
        } else if (name == "celluloid") {
            identity_ = QStringLiteral("io.github.celluloid_player.Celluloid");
            // Celluloid sends a track's length and URL only once mpv has read
            // tags from it, which a WAV file has none of: the recordings go
            // to Ogg, where sox writes one.
            for (QString& file : files_) {
                const QString ogg = home_.filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".ogg"));
                if (QProcess::execute(QStringLiteral("sox"), {file, ogg}) != 0) Fail("sox could not make " + ogg);
                file = ogg;
            }
            // mpv's null output as the tests run mpv itself (see Mpv).
            process_.setProgram(QStringLiteral("celluloid"));
            process_.setArguments(
                QStringList{"--new-window", "--mpv-ao=null", "--mpv-ao-null-buffer=0.05", "--mpv-loop-file=inf"} +
                files_);
        } else {
            identity_ = QStringLiteral("audacious");
            // The SDL output on SDL's dummy driver plays without a sound card;
            // the others fail or hang on a machine without one.
            const QString sdl = AudaciousSdlOutput();
            const QString config = home_.filePath(QStringLiteral("config/audacious"));
            QFile registry(config + QStringLiteral("/plugin-registry"));
            if (!QDir().mkpath(config) || !registry.open(QIODevice::WriteOnly) ||
                registry.write(QStringLiteral("format 11\noutput %1\nstamp %2\nversion 48\nflags 0\nname SDL "
                                              "Output\ndomain audacious-plugins\npriority 9\nabout 1\nconfig 0\n"
                                              "enabled 1\n")
                                   .arg(sdl)
                                   .arg(QFileInfo(sdl).lastModified().toSecsSinceEpoch())
                                   .toUtf8()) < 0)
                Fail("could not set Audacious' output in " + config);
            registry.close();
            env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
            process_.setProgram(QStringLiteral("audacious"));
            process_.setArguments(QStringList{"-H"} + files);
        }
        home_.setAutoRemove(false);  // its log stays when it does not start
        process_.setProcessEnvironment(env);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.setStandardErrorFile(home_.filePath(QStringLiteral("log")));
        process_.start();
        if (!process_.waitForStarted(5000))
            Fail(identity_ + " did not start: " + process_.errorString() +
                 (name == "chromium" ? QStringLiteral(" (on Ubuntu: snap install chromium)") : QString()));
        service_ = WaitForBusName(identity_, process_, " (see " + home_.filePath(QStringLiteral("log")) + ")");
        if (!Eventually([&] { return Metadata().value(QStringLiteral("mpris:length")).toLongLong() > 0; }, kHangMs))
            Fail(identity_ + " did not load " + files_.join(' '));
        // All play at once (VLC's --start-paused would hold every later track
        // too); they start from 0, paused.
        if (!AskedUntil([&] { SetPaused(true); }, [&] { return Status() == QStringLiteral("Paused"); }, kHangMs))
            Fail(identity_ + " did not pause");
        if (!AskedUntil([&] { Seek(0); }, [&] { return PositionMs() < 50; }, kHangMs))
            Fail(identity_ + " did not go to the start");
        home_.setAutoRemove(true);
    }

    ~MprisPlayer() override
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(3000)) Kill();
        }
        QDBusConnection::disconnectFromBus(bus_.name());
    }

    QString Identity() override
    {
        return Get(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Identity")).toString();
    }
    int PositionMs() override
    {
        const QVariant position = Get(kPlayer, QStringLiteral("Position"));
        return position.isValid() ? static_cast<int>(position.toLongLong() / 1000) : -1;
    }
    QString Status() override { return Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(); }
    int Track() override
    {
        // By its file, or by its title where the player names no file (Chromium).
        const QVariantMap metadata = Metadata();
        const QString file = QUrl(metadata.value(QStringLiteral("xesam:url")).toString()).toLocalFile();
        const QString title = metadata.value(QStringLiteral("xesam:title")).toString();
        for (int i = 0; i < files_.size(); ++i) {
            const QFileInfo info(files_[i]);
            if (file.isEmpty() ? info.completeBaseName() == title : info == QFileInfo(file)) return i;
        }
        return -1;
    }
    void SetPaused(bool paused) override
    {
        // Celluloid takes Play and Pause each as a toggle: asked only when it is not so already.
        if (Status() != (paused ? QStringLiteral("Paused") : QStringLiteral("Playing")))
            Call(paused ? QStringLiteral("Pause") : QStringLiteral("Play"), {});
    }
    void Seek(int ms) override
    {
        // Celluloid's Metadata once came without the track id just after it started.
        QDBusObjectPath track;
        Eventually([&] {
            track = Metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>();
            return !track.path().isEmpty();
        }, 3000);
        Call(QStringLiteral("SetPosition"), {QVariant::fromValue(track), qlonglong{ms} * 1000});
    }
    int StepMs() override { return identity_ == QStringLiteral("vlc") ? 300 : 0; }
    double Rate() override { return Get(kPlayer, QStringLiteral("Rate")).toDouble(); }
    bool RateFixed() override
    {
        const QVariant low = Get(kPlayer, QStringLiteral("MinimumRate"));
        return !low.isValid() || low.toDouble() >= Get(kPlayer, QStringLiteral("MaximumRate")).toDouble();
    }
    void Kill() override
    {
        process_.kill();
        process_.waitForFinished(5000);
    }

private:
    static QString BusName()
    {
        static int made = 0;
        return QStringLiteral("morvane-e2e-witness-%1").arg(++made);
    }

    QVariant Get(const QString& interface, const QString& property)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            service_, kObject, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        call << interface << property;
        const QDBusMessage reply = bus_.call(call, QDBus::Block, kHangMs);
        if (reply.type() != QDBusMessage::ReplyMessage) return {};
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    QVariantMap Metadata() { return qdbus_cast<QVariantMap>(Get(kPlayer, QStringLiteral("Metadata"))); }

    void Call(const QString& method, const QVariantList& args)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(service_, kObject, kPlayer, method);
        call.setArguments(args);
        const QDBusMessage reply = bus_.call(call, QDBus::Block, kHangMs);
        if (reply.type() != QDBusMessage::ReplyMessage)
            Fail(identity_ + " refused " + method + ": " + reply.errorMessage());
    }

    QStringList files_;
    QTemporaryDir home_;
    QProcess process_;
    QDBusConnection bus_;
    QString identity_;  // the start of its bus name, for messages
    QString service_;
};

} // namespace

std::unique_ptr<RealPlayer> StartPlayer(const std::string& name, const QStringList& files)
{
    if (name == "mpv") return std::make_unique<Mpv>(files);
    if (name == "vlc" || name == "audacious" || name == "chromium" || name == "celluloid")
        return std::make_unique<MprisPlayer>(name, files);
    Fail("no such player: " + QString::fromStdString(name));
}

} // namespace morvane::e2e
