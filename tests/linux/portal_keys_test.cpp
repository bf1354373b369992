// The portal key source against the real xdg-desktop-portal on a bus of its
// own, with a stand-in desktop behind it: a GlobalShortcuts backend in this
// process that grants or refuses as each case asks.
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/keys/keys_file.h"
#include "app/portal/portal_keys.h"
#include "app/portal/shortcut.h"
#include "qstring_print.h"

namespace {

using morvane::HotKey;
using morvane::portal::PortalKeys;
using morvane::portal::Shortcut;

const QString kPortal = QStringLiteral("/usr/libexec/xdg-desktop-portal");
const QString kBackend = QStringLiteral("org.freedesktop.impl.portal.desktop.morvanetest");
const QString kShortcuts = QStringLiteral("org.freedesktop.impl.portal.GlobalShortcuts");
enum class Desk { NoPortal, NoShortcuts, Grants, Refuses };

// The desktop's side of GlobalShortcuts, as the portal's front end asks it.
class Backend final : public QDBusVirtualObject {
public:
    explicit Backend(Desk desk) : desk_(desk) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QList<Shortcut> answered;  // the 1.16 front end wants the list in both answers
        if (message.member() == QLatin1String("CreateSession")) {
            session = message.arguments().at(1).value<QDBusObjectPath>().path();
        } else if (message.member() == QLatin1String("BindShortcuts")) {
            offered = answered = qdbus_cast<QList<Shortcut>>(message.arguments().at(2));
            for (Shortcut& s : answered) s.properties[QStringLiteral("trigger_description")] = QString();
        } else {
            return false;
        }
        const uint response = message.member() == QLatin1String("BindShortcuts") && desk_ == Desk::Refuses ? 2 : 0;
        return connection.send(
            message.createReply({response, QVariantMap{{QStringLiteral("shortcuts"), QVariant::fromValue(answered)}}}));
    }
    QString session;
    QList<Shortcut> offered;

private:
    Desk desk_;
};

void Write(const QString& path, const QString& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0) << path;
}

// A session bus that starts nothing on demand, the backend on it, and the
// portal's front end pointed at that backend alone.
class Desktop {
public:
    explicit Desktop(Desk desk) : backend(desk), desk_(desk) {}
    void Start()
    {
        Write(dir_.filePath("bus.conf"),
              QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen><policy context=\"default\">"
                             "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                             "</policy></busconfig>")
                  .arg(dir_.path()));
        daemon_.start("dbus-daemon", {"--nofork", "--print-address", "--config-file=" + dir_.filePath("bus.conf")});
        ASSERT_TRUE(daemon_.waitForReadyRead(5000));
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        ASSERT_TRUE(Side().registerVirtualObject("/org/freedesktop/portal/desktop", &backend, QDBusConnection::SubPath));
        ASSERT_TRUE(Side().registerService(kBackend));
        if (desk_ == Desk::NoPortal) return;

        Write(dir_.filePath("morvanetest.portal"),
              QStringLiteral("[portal]\nDBusName=%1\nInterfaces=%2;\nUseIn=morvanetest\n")
                  .arg(kBackend, desk_ == Desk::NoShortcuts ? "org.freedesktop.impl.portal.Inhibit" : kShortcuts));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address_);
        environment.insert("XDG_DESKTOP_PORTAL_DIR", dir_.path());
        environment.insert("XDG_CURRENT_DESKTOP", "morvanetest");
        portal_.setProcessEnvironment(environment);
        portal_.start(kPortal, {});
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return App().interface()->isServiceRegistered("org.freedesktop.portal.Desktop").value(); }, 10000));
    }
    ~Desktop()
    {
        for (QProcess* process : {&portal_, &daemon_}) {
            process->terminate();
            process->waitForFinished(3000);
        }
        QDBusConnection::disconnectFromBus("desktop");
        QDBusConnection::disconnectFromBus("app");
    }
    QDBusConnection App() { return QDBusConnection::connectToBus(address_, "app"); }

    // The user presses or lets go of an action's trigger; the desktop ends the session.
    void Key(const char* signal, const QString& id)
    {
        Emit("/org/freedesktop/portal/desktop", kShortcuts, signal,
             {QVariant::fromValue(QDBusObjectPath(backend.session)), id, qulonglong{0}, QVariantMap{}});
    }
    void Close() { Emit(backend.session, "org.freedesktop.impl.portal.Session", "Closed", {}); }

    Backend backend;

private:
    QDBusConnection Side() { return QDBusConnection::connectToBus(address_, "desktop"); }
    void Emit(const QString& path, const QString& interface, const QString& name, const QVariantList& arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(arguments);
        ASSERT_TRUE(Side().send(signal));
    }

    Desk desk_;
    QTemporaryDir dir_;
    QProcess daemon_;
    QProcess portal_;
    QString address_;
};

} // namespace

class PortalKeysTest : public testing::Test {
protected:
    void SetUp() override
    {
        qDBusRegisterMetaType<Shortcut>();
        qDBusRegisterMetaType<QList<Shortcut>>();
        if (!QFile::exists(kPortal)) GTEST_SKIP() << "xdg-desktop-portal is not installed";
    }
};

// The ten actions are bound with the file's keys as preferred triggers, each
// activation is one press, and a closed session is told.
TEST_F(PortalKeysTest, BindsTheActionsPressesOncePerActivationAndTellsAClosedSession)
{
    Desktop desktop(Desk::Grants);
    ASSERT_NO_FATAL_FAILURE(desktop.Start());
    PortalKeys keys(desktop.App(),
                    morvane::keys::ParseKeysFile("play = Ctrl+Alt+P\nrecord = Ctrl+Alt+0\nnext = Win+Shift+KPDecimal").map);
    QSignalSpy bound(&keys, &PortalKeys::Bound);
    QSignalSpy failed(&keys, &PortalKeys::Failed);
    keys.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bound.size() == 1; }, 10000));
    QMap<QString, QVariantMap> offered;
    for (const Shortcut& shortcut : desktop.backend.offered) offered.insert(shortcut.id, shortcut.properties);
    EXPECT_EQ(offered.keys(), (QStringList{"back", "forward", "mark", "next", "pause", "play", "previous", "record",
                                           "repeat", "stop"}));
    EXPECT_EQ(offered["record"]["description"].toString(), QStringLiteral("记录当前时间"));
    // The step is the user's to choose, so no name fixes it.
    for (const QVariantMap& properties : offered)
        EXPECT_FALSE(properties["description"].toString().contains(QStringLiteral("秒")))
            << properties["description"].toString();
    EXPECT_EQ(offered["record"]["preferred_trigger"].toString(), QStringLiteral("CTRL+ALT+0"));
    // Letters on their base level and Super as LOGO, as XDG shortcut triggers spell them.
    EXPECT_EQ(offered["play"]["preferred_trigger"].toString(), QStringLiteral("CTRL+ALT+p"));
    EXPECT_EQ(offered["next"]["preferred_trigger"].toString(), QStringLiteral("SHIFT+LOGO+KP_Decimal"));
    EXPECT_FALSE(offered["pause"].contains("preferred_trigger"));  // plain H would be taken from every program

    desktop.Key("Activated", "pause");
    const auto pressed = [&](HotKey action) { return QTest::qWaitFor([&] { return keys.Pressed(action); }); };
    EXPECT_TRUE(pressed(HotKey::Pause));
    EXPECT_FALSE(keys.Pressed(HotKey::Pause));
    EXPECT_FALSE(keys.Pressed(HotKey::Play));
    desktop.Key("Deactivated", "pause");
    // A tap that ends between two asks still counts, once.
    desktop.Key("Activated", "record");
    desktop.Key("Deactivated", "record");
    EXPECT_TRUE(pressed(HotKey::Record));
    EXPECT_FALSE(keys.Pressed(HotKey::Record));
    EXPECT_FALSE(keys.Pressed(HotKey::Pause));  // letting go is no press

    desktop.Key("Activated", "play");
    EXPECT_TRUE(pressed(HotKey::Play));
    desktop.Close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 1; }));
    EXPECT_TRUE(failed.at(0).at(0).toString().contains(QStringLiteral("关闭"))) << failed.at(0).at(0).toString();
}

TEST_F(PortalKeysTest, TellsWhyThereAreNoKeys)
{
    const std::pair<Desk, QString> desks[] = {{Desk::NoPortal, QStringLiteral("没有桌面门户")},
                                              {Desk::NoShortcuts, QStringLiteral("不提供全局快捷键")},
                                              {Desk::Refuses, QStringLiteral("拒绝")}};
    for (const auto& [desk, reason] : desks) {
        SCOPED_TRACE(reason.toStdString());
        Desktop desktop(desk);
        ASSERT_NO_FATAL_FAILURE(desktop.Start());
        PortalKeys keys(desktop.App(), morvane::keys::KeyMap{});
        QSignalSpy failed(&keys, &PortalKeys::Failed);
        keys.Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 1; }, 10000));
        EXPECT_TRUE(failed.at(0).at(0).toString().contains(reason)) << failed.at(0).at(0).toString();
    }
}
