// The portal key source against the real xdg-desktop-portal on a bus of its
// own, with a stand-in desktop behind it: a GlobalShortcuts backend in this
// process that grants, refuses or closes as each case asks.
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "app/keys/keys_file.h"
#include "app/portal/portal_keys.h"

namespace {

using morvane::HotKey;
using morvane::portal::PortalKeys;

const QString kPortal = QStringLiteral("/usr/libexec/xdg-desktop-portal");
const QString kBackendName = QStringLiteral("org.freedesktop.impl.portal.desktop.morvanetest");
const QString kBackendInterface = QStringLiteral("org.freedesktop.impl.portal.GlobalShortcuts");
const QString kDesktopPath = QStringLiteral("/org/freedesktop/portal/desktop");

struct Shortcut {
    QString id;
    QVariantMap properties;
};
QDBusArgument& operator<<(QDBusArgument& a, const Shortcut& s)
{
    a.beginStructure();
    a << s.id << s.properties;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, Shortcut& s)
{
    a.beginStructure();
    a >> s.id >> s.properties;
    a.endStructure();
    return a;
}

enum class Answer { Grant, Refuse };

// The desktop's side of GlobalShortcuts, as a portal backend sees it.
class Backend final : public QDBusVirtualObject {
public:
    explicit Backend(Answer answer) : answer_(answer) {}

    QString introspect(const QString&) const override
    {
        return QStringLiteral(R"xml(<interface name="org.freedesktop.impl.portal.GlobalShortcuts">
  <method name="CreateSession"><arg type="o" direction="in"/><arg type="o" direction="in"/>
    <arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
    <arg type="u" direction="out"/><arg type="a{sv}" direction="out"/></method>
  <method name="BindShortcuts"><arg type="o" direction="in"/><arg type="o" direction="in"/>
    <arg type="a(sa{sv})" direction="in"/><arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
    <arg type="u" direction="out"/><arg type="a{sv}" direction="out"/></method>
  <method name="ListShortcuts"><arg type="o" direction="in"/><arg type="o" direction="in"/>
    <arg type="u" direction="out"/><arg type="a{sv}" direction="out"/></method>
  <signal name="Activated"><arg type="o"/><arg type="s"/><arg type="t"/><arg type="a{sv}"/></signal>
  <signal name="Deactivated"><arg type="o"/><arg type="s"/><arg type="t"/><arg type="a{sv}"/></signal>
</interface>
<interface name="org.freedesktop.impl.portal.Session"><method name="Close"/><signal name="Closed"/></interface>)xml");
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QString member = message.member();
        if (member == QLatin1String("CreateSession")) {
            session = message.arguments().at(1).value<QDBusObjectPath>().path();
            // The 1.16 front end reads the session's shortcuts from this answer.
            connection.send(message.createReply({0u, QVariantMap{{QStringLiteral("shortcuts"), QVariant::fromValue(QList<Shortcut>{})}}}));
        } else if (member == QLatin1String("BindShortcuts")) {
            shortcuts = qdbus_cast<QList<Shortcut>>(message.arguments().at(2));
            QList<Shortcut> granted = shortcuts;
            for (Shortcut& shortcut : granted)
                shortcut.properties.insert(QStringLiteral("trigger_description"),
                                           shortcut.properties.value(QStringLiteral("preferred_trigger"), QString()));
            connection.send(message.createReply(
                {answer_ == Answer::Grant ? 0u : 2u,
                 QVariantMap{{QStringLiteral("shortcuts"), QVariant::fromValue(granted)}}}));
        } else if (member == QLatin1String("ListShortcuts")) {
            connection.send(message.createReply({0u, QVariantMap{}}));
        } else if (member == QLatin1String("Close")) {
            connection.send(message.createReply());
        } else {
            return false;
        }
        return true;
    }

    QString session;
    QList<Shortcut> shortcuts;

private:
    Answer answer_;
};

// A session bus of its own, the backend on it and, unless asked not to, the
// portal front end pointed at the backend alone.
class Desktop {
public:
    enum class Portal { Missing, WithoutShortcuts, WithShortcuts };

    Desktop(Portal portal, Answer answer) : backend(answer)
    {
        QFile config(dir_.filePath(QStringLiteral("bus.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        // No service directories: nothing is started on demand, so a missing
        // portal stays missing.
        config.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                    "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                    "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>")
                         .arg(dir_.path())
                         .toUtf8());
        config.close();
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                       QStringLiteral("--config-file=") + config.fileName()});
        QVERIFY(daemon_.waitForReadyRead(5000));
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();

        QDBusConnection desktop = Connection(QStringLiteral("desktop"));
        QVERIFY(desktop.registerVirtualObject(kDesktopPath, &backend, QDBusConnection::SubPath));
        QVERIFY(desktop.registerService(kBackendName));
        if (portal == Portal::Missing) return;

        QFile description(dir_.filePath(QStringLiteral("morvanetest.portal")));
        QVERIFY(description.open(QIODevice::WriteOnly));
        description.write(QStringLiteral("[portal]\nDBusName=%1\nInterfaces=%2;\nUseIn=morvanetest\n")
                              .arg(kBackendName,
                                   portal == Portal::WithShortcuts ? kBackendInterface
                                                                   : QStringLiteral("org.freedesktop.impl.portal.Inhibit"))
                              .toUtf8());
        description.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
        environment.insert(QStringLiteral("XDG_DESKTOP_PORTAL_DIR"), dir_.path());
        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("morvanetest"));
        portal_.setProcessEnvironment(environment);
        portal_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        portal_.start(kPortal, QStringList{});
        QTRY_VERIFY_WITH_TIMEOUT(
            App().interface()->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop")).value(), 10000);
    }

    ~Desktop()
    {
        for (QProcess* process : {&portal_, &daemon_}) {
            process->terminate();
            process->waitForFinished(3000);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
        QDBusConnection::disconnectFromBus(QStringLiteral("app"));
    }

    QDBusConnection App() { return Connection(QStringLiteral("app")); }

    // A signal from the desktop's side: the impl portal's interfaces.
    void Emit(const QString& path, const QString& interface, const QString& name, const QVariantList& arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(arguments);
        QVERIFY(Connection(QStringLiteral("desktop")).send(signal));
    }

    void Key(const QString& name, const QString& id)
    {
        Emit(kDesktopPath, kBackendInterface, name,
             {QVariant::fromValue(QDBusObjectPath(backend.session)), id, qulonglong{0}, QVariantMap{}});
    }

    Backend backend;

private:
    QDBusConnection Connection(const QString& name) { return QDBusConnection::connectToBus(address_, name); }

    QTemporaryDir dir_;
    QProcess daemon_;
    QProcess portal_;
    QString address_;
};

} // namespace

Q_DECLARE_METATYPE(Shortcut)

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
    // and each activation is one press.
    void BindsTheTenActionsAndPressesOncePerActivation()
    {
        Desktop desktop(Desktop::Portal::WithShortcuts, Answer::Grant);
        const auto file = morvane::keys::ParseKeysFile("play = Ctrl+Alt+P\nrecord = Ctrl+Alt+0\nrepeat = none\n");
        PortalKeys keys(desktop.App(), file.map);
        QSignalSpy bound(&keys, &PortalKeys::Bound);
        QSignalSpy failed(&keys, &PortalKeys::Failed);
        keys.Start();
        QTRY_COMPARE_WITH_TIMEOUT(bound.size(), 1, 10000);

        QMap<QString, QVariantMap> offered;
        for (const Shortcut& shortcut : desktop.backend.shortcuts) offered.insert(shortcut.id, shortcut.properties);
        QCOMPARE(offered.keys(), (QStringList{"back", "forward", "mark", "next", "pause", "play", "previous", "record",
                                              "repeat", "stop"}));
        QCOMPARE(offered["record"]["description"].toString(), QStringLiteral("记录当前时间"));
        QCOMPARE(offered["play"]["preferred_trigger"].toString(), QStringLiteral("CTRL+ALT+P"));
        QCOMPARE(offered["record"]["preferred_trigger"].toString(), QStringLiteral("CTRL+ALT+0"));
        QVERIFY(!offered["pause"].contains("preferred_trigger"));  // built-in plain H is not taken from others

        desktop.Key(QStringLiteral("Activated"), QStringLiteral("pause"));
        QTRY_VERIFY(keys.Down(HotKey::Pause));
        QVERIFY(keys.Pressed(HotKey::Pause));
        QVERIFY(!keys.Pressed(HotKey::Pause));
        QVERIFY(!keys.Pressed(HotKey::Play));
        desktop.Key(QStringLiteral("Deactivated"), QStringLiteral("pause"));
        QTRY_VERIFY(!keys.Down(HotKey::Pause));
        QVERIFY(!keys.Pressed(HotKey::Pause));

        // A tap that ends between two asks still counts, once.
        desktop.Key(QStringLiteral("Activated"), QStringLiteral("record"));
        desktop.Key(QStringLiteral("Deactivated"), QStringLiteral("record"));
        bool pressed = false;
        QTRY_VERIFY(pressed = pressed || keys.Pressed(HotKey::Record));
        QVERIFY(!keys.Pressed(HotKey::Record));
        QVERIFY(!keys.Down(HotKey::Record));
        QCOMPARE(failed.size(), 0);
    }

    void TellsWhyThereAreNoKeys_data()
    {
        QTest::addColumn<int>("portal");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("close");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no portal") << int(Desktop::Portal::Missing) << int(Answer::Grant) << false
                                   << QStringLiteral("没有桌面门户");
        QTest::newRow("no GlobalShortcuts") << int(Desktop::Portal::WithoutShortcuts) << int(Answer::Grant) << false
                                            << QStringLiteral("不提供全局快捷键");
        QTest::newRow("refused") << int(Desktop::Portal::WithShortcuts) << int(Answer::Refuse) << false
                                 << QStringLiteral("拒绝");
        QTest::newRow("session closed") << int(Desktop::Portal::WithShortcuts) << int(Answer::Grant) << true
                                        << QStringLiteral("关闭");
    }

    void TellsWhyThereAreNoKeys()
    {
        QFETCH(int, portal);
        QFETCH(int, answer);
        QFETCH(bool, close);
        QFETCH(QString, reason);
        Desktop desktop{Desktop::Portal(portal), Answer(answer)};
        PortalKeys keys(desktop.App(), morvane::keys::KeyMap{});
        QSignalSpy bound(&keys, &PortalKeys::Bound);
        QSignalSpy failed(&keys, &PortalKeys::Failed);
        keys.Start();
        if (close) {
            QTRY_COMPARE_WITH_TIMEOUT(bound.size(), 1, 10000);
            desktop.Key(QStringLiteral("Activated"), QStringLiteral("play"));
            QTRY_VERIFY(keys.Down(HotKey::Play));
            desktop.Emit(desktop.backend.session, QStringLiteral("org.freedesktop.impl.portal.Session"),
                         QStringLiteral("Closed"), {});
        }
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 10000);
        QVERIFY2(failed.at(0).at(0).toString().contains(reason), qPrintable(failed.at(0).at(0).toString()));
        QVERIFY(!keys.Down(HotKey::Play));
    }
};

QTEST_GUILESS_MAIN(PortalKeysTest)
#include "portal_keys_test.moc"
