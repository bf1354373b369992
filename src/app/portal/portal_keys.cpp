#include "app/portal/portal_keys.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <optional>

#include "app/portal/portal_trigger.h"
#include "app/portal/shortcut.h"

namespace morvane::portal {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

QString Description(HotKey action)
{
    switch (action) {
    case HotKey::Previous: return QStringLiteral("前首");
    case HotKey::Play: return QStringLiteral("播放");
    case HotKey::Pause: return QStringLiteral("暂停");
    case HotKey::Stop: return QStringLiteral("停止");
    case HotKey::Next: return QStringLiteral("下首");
    case HotKey::Back: return QStringLiteral("快退（按设定的步长）");
    case HotKey::Forward: return QStringLiteral("快进（按设定的步长）");
    case HotKey::Mark: return QStringLiteral("定位：记下复读的起点");
    case HotKey::Repeat: return QStringLiteral("复读：回到定位处");
    case HotKey::Record: return QStringLiteral("记录当前时间");
    case HotKey::Loop: return QStringLiteral("复读这一段 / 停止复读");
    case HotKey::PreviousMark: return QStringLiteral("跳到上一条");
    case HotKey::NextMark: return QStringLiteral("跳到下一条");
    case HotKey::Slower: return QStringLiteral("放慢 0.05 倍");
    case HotKey::Faster: return QStringLiteral("加快 0.05 倍");
    case HotKey::Split: return QStringLiteral("自动分句");
    }
    return {};
}

std::optional<std::size_t> ActionIndex(const QString& id)
{
    for (std::size_t i = 0; i < kAllHotKeys.size(); ++i)
        if (id == QLatin1String(keys::ActionId(kAllHotKeys[i]))) return i;
    return std::nullopt;
}

// The name a D-Bus sender takes in a request path: ":1.42" -> "1_42".
QString SenderPart(const QString& unique_name)
{
    return unique_name.mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
}

} // namespace

PortalKeys::PortalKeys(QDBusConnection bus, const keys::KeyMap& map, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), map_(map)
{
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
}

void PortalKeys::Start()
{
    Request(QStringLiteral("CreateSession"), {}, SLOT(SessionCreated(uint, QVariantMap)));
}

void PortalKeys::Request(const QString& method, QVariantList arguments, const char* slot)
{
    const QString token = QStringLiteral("morvane%1").arg(++requests_);
    const QString request = kPath + QStringLiteral("/request/") + SenderPart(bus_.baseService()) +
                            QLatin1Char('/') + token;
    // Listening before the call: the answer may come before the reply.
    bus_.connect(kService, request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                 this, slot);

    QVariantMap options{{QStringLiteral("handle_token"), token}};
    if (method == QLatin1String("CreateSession"))
        options.insert(QStringLiteral("session_handle_token"), QStringLiteral("morvane"));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments(arguments << options);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusError error = watcher->error();
        if (!error.isValid()) return;
        if (error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::NoReply)
            Fail(QStringLiteral("没有桌面门户服务 xdg-desktop-portal"));
        else if (error.type() == QDBusError::UnknownMethod || error.type() == QDBusError::UnknownInterface ||
                 error.type() == QDBusError::UnknownObject)
            Fail(QStringLiteral("桌面门户不提供全局快捷键 GlobalShortcuts，桌面可能较旧"));
        else
            Fail(QStringLiteral("桌面门户出错：%1").arg(error.message()));
    });
}

void PortalKeys::SessionCreated(uint response, const QVariantMap& results)
{
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    // A string by the documentation; an object path from some portals.
    session_ = handle.userType() == qMetaTypeId<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                                    : handle.toString();
    if (response != 0 || session_.isEmpty()) {
        Fail(QStringLiteral("桌面拒绝为 Morvane 建立全局快捷键会话"));
        return;
    }
    bus_.connect(kService, session_, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Closed"), this,
                 SLOT(SessionClosed(QVariantMap)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                 SLOT(Activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));

    QList<Shortcut> shortcuts;
    for (HotKey action : kAllHotKeys) {
        const keys::Binding& binding = map_[action];
        // An action with no built-in key is offered only once a keys file names it.
        if (!binding.written && !binding.chord) continue;
        Shortcut shortcut{QString::fromLatin1(keys::ActionId(action)),
                          {{QStringLiteral("description"), Description(action)}}};
        if (binding.written && binding.chord) {
            const std::string trigger = PortalTrigger(*binding.chord);
            if (!trigger.empty())
                shortcut.properties.insert(QStringLiteral("preferred_trigger"), QString::fromStdString(trigger));
        }
        shortcuts << shortcut;
    }
    Request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString()},
            SLOT(ShortcutsBound(uint, QVariantMap)));
}

void PortalKeys::ShortcutsBound(uint response, const QVariantMap&)
{
    if (response != 0) {
        Fail(QStringLiteral("桌面拒绝了 Morvane 的全局快捷键"));
        return;
    }
    emit Bound();
}

void PortalKeys::Activated(const QDBusObjectPath& session, const QString& id, qulonglong, const QVariantMap&)
{
    const auto index = ActionIndex(id);
    if (session.path() != session_ || !index) return;
    pressed_.set(*index);
}

void PortalKeys::SessionClosed(const QVariantMap&)
{
    session_.clear();
    Fail(QStringLiteral("桌面关闭了 Morvane 的全局快捷键会话"));
}

bool PortalKeys::Pressed(HotKey action)
{
    const auto index = static_cast<std::size_t>(action);
    const bool pressed = pressed_.test(index);
    pressed_.reset(index);
    return pressed;
}

void PortalKeys::Fail(const QString& reason)
{
    if (failed_) return;
    failed_ = true;
    emit Failed(QStringLiteral("无法使用桌面的全局快捷键（%1）；请用窗口中的按钮。").arg(reason));
}

} // namespace morvane::portal
