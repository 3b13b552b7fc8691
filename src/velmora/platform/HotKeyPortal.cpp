#include "velmora/platform/HotKey.h"

#include "kestrelkit/Logger.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QHash>
#include <QKeySequence>
#include <QRandomGenerator>

namespace velmora {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// One entry of BindShortcuts' a(sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap options;
};

QDBusArgument &operator<<(QDBusArgument &arg, const PortalShortcut &shortcut)
{
    arg.beginStructure();
    arg << shortcut.id << shortcut.options;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, PortalShortcut &shortcut)
{
    arg.beginStructure();
    arg >> shortcut.id >> shortcut.options;
    arg.endStructure();
    return arg;
}

} // namespace
} // namespace velmora

Q_DECLARE_METATYPE(velmora::PortalShortcut)

namespace velmora {

namespace {

// The trigger in the XDG shortcuts format: "ALT+space", "CTRL+SHIFT+a", "LOGO+F1".
QString preferredTrigger(QKeyCombination combination)
{
    QStringList parts;
    const auto mods = combination.keyboardModifiers();
    if (mods & Qt::ControlModifier)
        parts << QStringLiteral("CTRL");
    if (mods & Qt::AltModifier)
        parts << QStringLiteral("ALT");
    if (mods & Qt::ShiftModifier)
        parts << QStringLiteral("SHIFT");
    if (mods & Qt::MetaModifier)
        parts << QStringLiteral("LOGO");
    const Qt::Key key = combination.key();
    QString name = QKeySequence(key).toString(QKeySequence::PortableText);
    if (key == Qt::Key_Space)
        name = QStringLiteral("space");
    else if (name.size() == 1)
        name = name.toLower();
    parts << name;
    return parts.join(u'+');
}

QString token()
{
    return QStringLiteral("velmora%1").arg(QRandomGenerator::global()->generate());
}

class HotKeyPortal final : public HotKey {
    Q_OBJECT
public:
    HotKeyPortal()
        : HotKey(nullptr)
        , m_bus(QDBusConnection::sessionBus())
    {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        // The whole message: QtDBus does not match the (o, s, t, a{sv}) signature to a
        // typed slot, and a failed connect would leave the key silently dead.
        for (const char *member : {"Activated", "Deactivated"}) {
            if (!m_bus.connect(kService, kPath, kInterface, QLatin1String(member), this,
                               SLOT(onShortcutSignal(QDBusMessage))))
                m_log.error(QStringLiteral("Cannot listen to the portal's %1 signal").arg(QLatin1String(member)));
        }
    }

    bool registerShortcut(const QString &name, QKeyCombination combination) override
    {
        m_shortcuts.insert(name, combination);
        if (m_session.path().isEmpty())
            createSession();
        else
            bind();
        return true;
    }

    void unregisterShortcut(const QString &name) override
    {
        if (m_shortcuts.remove(name) > 0 && !m_session.path().isEmpty())
            bind();
    }

    [[nodiscard]] QString backendName() const override
    {
        return QStringLiteral("GlobalShortcuts portal");
    }

private slots:
    // Activated: the keys went down; Deactivated: released, which is when we act.
    void onShortcutSignal(const QDBusMessage &message)
    {
        const QList<QVariant> arguments = message.arguments();
        if (arguments.size() < 2)
            return;
        const QDBusObjectPath session = arguments.at(0).value<QDBusObjectPath>();
        const QString id = arguments.at(1).toString();
        if (session != m_session || !m_shortcuts.contains(id))
            return;
        if (message.member() == QLatin1String("Activated"))
            emit pressed(id);
        else
            emit activated(id);
    }

    void onSessionResponse(uint code, const QVariantMap &results)
    {
        if (code != 0) {
            fail(QStringLiteral("The desktop declined a global shortcut session"));
            return;
        }
        const QVariant handle = results.value(QStringLiteral("session_handle"));
        m_session = QDBusObjectPath(handle.canConvert<QDBusObjectPath>()
                                        ? handle.value<QDBusObjectPath>().path()
                                        : handle.toString());
        bind();
    }

    void onBindResponse(uint code, const QVariantMap &)
    {
        if (code != 0)
            fail(QStringLiteral("The desktop did not bind the shortcut"));
        else
            m_log.info(QStringLiteral("Shortcuts bound through the portal"));
    }

private:
    // The portal answers on a Request object whose path is known in advance; subscribe
    // before calling so the answer cannot be missed.
    QString expectRequest(const QString &handleToken, const char *slot)
    {
        QString sender = m_bus.baseService().mid(1);
        sender.replace(u'.', u'_');
        const QString path =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, handleToken);
        m_bus.connect(kService, path, kRequestInterface, QStringLiteral("Response"), this, slot);
        return path;
    }

    void createSession()
    {
        const QString handle = token();
        expectRequest(handle, SLOT(onSessionResponse(uint, QVariantMap)));
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CreateSession"));
        call << QVariantMap{{QStringLiteral("handle_token"), handle},
                            {QStringLiteral("session_handle_token"), token()}};
        watch(m_bus.asyncCall(call));
    }

    void bind()
    {
        QList<PortalShortcut> list;
        for (auto it = m_shortcuts.cbegin(); it != m_shortcuts.cend(); ++it) {
            list.append({it.key(),
                         {{QStringLiteral("description"), it.key()},
                          {QStringLiteral("preferred_trigger"), preferredTrigger(it.value())}}});
        }
        const QString handle = token();
        expectRequest(handle, SLOT(onBindResponse(uint, QVariantMap)));
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("BindShortcuts"));
        call << QVariant::fromValue(m_session) << QVariant::fromValue(list) << QString()
             << QVariantMap{{QStringLiteral("handle_token"), handle}};
        watch(m_bus.asyncCall(call));
    }

    void watch(const QDBusPendingCall &pending)
    {
        auto *watcher = new QDBusPendingCallWatcher(pending, this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
            if (w->isError())
                fail(w->error().message());
            w->deleteLater();
        });
    }

    void fail(const QString &reason)
    {
        setLastError(reason);
        m_log.error(reason);
        for (auto it = m_shortcuts.cbegin(); it != m_shortcuts.cend(); ++it)
            emit registrationFailed(it.key(), reason);
    }

    kestrelkit::Logger m_log{QStringLiteral("HotKey")};
    QDBusConnection m_bus;
    QDBusObjectPath m_session;
    QHash<QString, QKeyCombination> m_shortcuts;
};

} // namespace

std::unique_ptr<HotKey> createPortalHotKey()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    // Offered when the interface answers for its version.
    QDBusMessage query = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    query << kInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(query, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return nullptr;
    return std::make_unique<HotKeyPortal>();
}

} // namespace velmora

#include "HotKeyPortal.moc"
