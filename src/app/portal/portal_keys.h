#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <bitset>

#include "app/keys/key_map.h"
#include "app/ports/hot_keys.h"

namespace morvane::portal {

// The ten actions as shortcuts of the desktop's GlobalShortcuts portal: the
// way to global keys on Wayland, where no program sees another's keys. The
// desktop decides which triggers it grants; keys written in the keys file
// are offered as preferred triggers, the built-in plain letters are not
// (a desktop shortcut takes its key from every program).
class PortalKeys final : public QObject, public HotKeys {
    Q_OBJECT
public:
    PortalKeys(QDBusConnection bus, const keys::KeyMap& map, QObject* parent = nullptr);

    // Asks for a session and binds the shortcuts; Bound or Failed follows.
    void Start();

    bool Pressed(HotKey action) override;

signals:
    void Bound();
    // Once at most: why there are no global keys (no portal, no
    // GlobalShortcuts, refused, the session closed), for the user.
    void Failed(const QString& reason);

private slots:
    void SessionCreated(uint response, const QVariantMap& results);
    void ShortcutsBound(uint response, const QVariantMap& results);
    void Activated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp, const QVariantMap&);
    void SessionClosed(const QVariantMap& details);

private:
    // Calls a portal method whose answer comes as a Response signal on a
    // request object, delivered to `slot`.
    void Request(const QString& method, QVariantList arguments, const char* slot);
    void Fail(const QString& reason);

    QDBusConnection bus_;
    keys::KeyMap map_;
    QString session_;
    int requests_ = 0;
    bool failed_ = false;
    std::bitset<kAllHotKeys.size()> pressed_;
};

} // namespace morvane::portal
