// The portal key source against the real xdg-desktop-portal on a bus of its
// own, with a stand-in desktop behind it: a GlobalShortcuts backend in this
// process that grants or refuses as each case asks.
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "app/keys/keys_file.h"
#include "app/portal/portal_keys.h"
#include "app/portal/shortcut.h"

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
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
}

// A session bus that starts nothing on demand, the backend on it, and the
// portal's front end pointed at that backend alone.
class Desktop {
public:
    explicit Desktop(Desk desk) : backend(desk)
    {
        Write(dir_.filePath("bus.conf"),
              QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen><policy context=\"default\">"
                             "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                             "</policy></busconfig>")
                  .arg(dir_.path()));
        daemon_.start("dbus-daemon", {"--nofork", "--print-address", "--config-file=" + dir_.filePath("bus.conf")});
        QVERIFY(daemon_.waitForReadyRead(5000));
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        QVERIFY(Side().registerVirtualObject("/org/freedesktop/portal/desktop", &backend, QDBusConnection::SubPath));
        QVERIFY(Side().registerService(kBackend));
        if (desk == Desk::NoPortal) return;

        Write(dir_.filePath("morvanetest.portal"),
              QStringLiteral("[portal]\nDBusName=%1\nInterfaces=%2;\nUseIn=morvanetest\n")
                  .arg(kBackend, desk == Desk::NoShortcuts ? "org.freedesktop.impl.portal.Inhibit" : kShortcuts));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address_);
        environment.insert("XDG_DESKTOP_PORTAL_DIR", dir_.path());
        environment.insert("XDG_CURRENT_DESKTOP", "morvanetest");
        portal_.setProcessEnvironment(environment);
        portal_.start(kPortal, {});
        QTRY_VERIFY_WITH_TIMEOUT(App().interface()->isServiceRegistered("org.freedesktop.portal.Desktop").value(), 10000);
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
        QVERIFY(Side().send(signal));
    }

    QTemporaryDir dir_;
    QProcess daemon_;
    QProcess portal_;
    QString address_;
};

} // namespace

class PortalKeysTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<Shortcut>();
        qDBusRegisterMetaType<QList<Shortcut>>();
        if (!QFile::exists(kPortal)) QSKIP("xdg-desktop-portal is not installed");
    }

    // The ten actions are bound with the file's keys as preferred triggers,
    // each activation is one press, and a closed session is told.
    void BindsTheActionsPressesOncePerActivationAndTellsAClosedSession()
    {
        Desktop desktop(Desk::Grants);
        PortalKeys keys(desktop.App(),
                        morvane::keys::ParseKeysFile("play = Ctrl+Alt+P\nrecord = Ctrl+Alt+0\nnext = Win+Shift+KPDecimal").map);
        QSignalSpy bound(&keys, &PortalKeys::Bound);
        QSignalSpy failed(&keys, &PortalKeys::Failed);
        keys.Start();
        QTRY_COMPARE_WITH_TIMEOUT(bound.size(), 1, 10000);
        QMap<QString, QVariantMap> offered;
        for (const Shortcut& shortcut : desktop.backend.offered) offered.insert(shortcut.id, shortcut.properties);
        QCOMPARE(offered.keys(), (QStringList{"back", "forward", "mark", "next", "pause", "play", "previous", "record",
                                              "repeat", "stop"}));
        QCOMPARE(offered["record"]["description"].toString(), QStringLiteral("记录当前时间"));
        QCOMPARE(offered["record"]["preferred_trigger"].toString(), QStringLiteral("CTRL+ALT+0"));
        // Letters on their base level and Super as LOGO, as XDG shortcut triggers spell them.
        QCOMPARE(offered["play"]["preferred_trigger"].toString(), QStringLiteral("CTRL+ALT+p"));
        QCOMPARE(offered["next"]["preferred_trigger"].toString(), QStringLiteral("SHIFT+LOGO+KP_Decimal"));
        QVERIFY(!offered["pause"].contains("preferred_trigger"));  // plain H would be taken from every program

        desktop.Key("Activated", "pause");
        const auto pressed = [&](HotKey action) { return QTest::qWaitFor([&] { return keys.Pressed(action); }); };
        QVERIFY(pressed(HotKey::Pause));
        QVERIFY(!keys.Pressed(HotKey::Pause));
        QVERIFY(!keys.Pressed(HotKey::Play));
        desktop.Key("Deactivated", "pause");
        // A tap that ends between two asks still counts, once.
        desktop.Key("Activated", "record");
        desktop.Key("Deactivated", "record");
        QVERIFY(pressed(HotKey::Record));
        QVERIFY(!keys.Pressed(HotKey::Record));
        QVERIFY(!keys.Pressed(HotKey::Pause));  // letting go is no press

        desktop.Key("Activated", "play");
        QVERIFY(pressed(HotKey::Play));
        desktop.Close();
        QTRY_COMPARE(failed.size(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("关闭")));
    }

    void TellsWhyThereAreNoKeys_data()
    {
        QTest::addColumn<Desk>("desk");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no portal") << Desk::NoPortal << QStringLiteral("没有桌面门户");
        QTest::newRow("no GlobalShortcuts") << Desk::NoShortcuts << QStringLiteral("不提供全局快捷键");
        QTest::newRow("refused") << Desk::Refuses << QStringLiteral("拒绝");
    }
    void TellsWhyThereAreNoKeys()
    {
        QFETCH(Desk, desk);
        QFETCH(QString, reason);
        Desktop desktop(desk);
        PortalKeys keys(desktop.App(), morvane::keys::KeyMap{});
        QSignalSpy failed(&keys, &PortalKeys::Failed);
        keys.Start();
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 10000);
        QVERIFY2(failed.at(0).at(0).toString().contains(reason), qPrintable(failed.at(0).at(0).toString()));
    }
};

QTEST_GUILESS_MAIN(PortalKeysTest)
#include "portal_keys_test.moc"
