// The hot key through the XDG GlobalShortcuts portal, against a fake portal on a private
// session bus: the session and binding handshake, press and release, and a refusal.

#include "velmora/platform/HotKey.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace velmora;

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// Answers the calls a portal gets; lives on its own thread and bus connection, so the
// client's blocking probe can be served.
class FakePortal : public QDBusVirtualObject {
    Q_OBJECT
public:
    explicit FakePortal(QString address)
        : m_address(std::move(address))
    {
    }

    // Set before the client starts; read on the portal's thread.
    uint sessionResponse = 0;

    QString session;                        // the session handle handed out
    QHash<QString, QString> boundTriggers;  // id -> preferred trigger

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QString member = message.member();
        if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") && member == QLatin1String("Get")) {
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(uint(1)))));
            return true;
        }
        if (message.interface() != kInterface)
            return false;
        const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().constLast());
        const QString request = requestPath(message, options.value(QStringLiteral("handle_token")).toString());
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QVariantMap results;
        uint code = 0;
        if (member == QLatin1String("CreateSession")) {
            code = sessionResponse;
            session = QStringLiteral("/org/freedesktop/portal/desktop/session/fake/%1")
                          .arg(options.value(QStringLiteral("session_handle_token")).toString());
            results.insert(QStringLiteral("session_handle"), session);
        } else if (member == QLatin1String("BindShortcuts")) {
            const auto shortcuts = message.arguments().at(1).value<QDBusArgument>();
            shortcuts.beginArray();
            while (!shortcuts.atEnd()) {
                QString id;
                QVariantMap shortcutOptions;
                shortcuts.beginStructure();
                shortcuts >> id >> shortcutOptions;
                shortcuts.endStructure();
                boundTriggers.insert(id, shortcutOptions.value(QStringLiteral("preferred_trigger")).toString());
            }
            shortcuts.endArray();
        }
        QDBusMessage response = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"),
                                                           QStringLiteral("Response"));
        response << code << results;
        connection.send(response);
        return true;
    }

    // The desktop saw the keys of `id` go down or up.
    void emitKey(const QString &sessionHandle, const QString &id, bool down)
    {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface,
                                                         down ? QStringLiteral("Activated")
                                                              : QStringLiteral("Deactivated"));
        signal << QVariant::fromValue(QDBusObjectPath(sessionHandle)) << id << qulonglong(1) << QVariantMap();
        QDBusConnection(QStringLiteral("portal")).send(signal);
    }

public slots:
    void start()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("portal"));
        QVERIFY(bus.isConnected());
        QVERIFY(bus.registerVirtualObject(kPath, this));
        QVERIFY(bus.registerService(kService));
    }

private:
    static QString requestPath(const QDBusMessage &message, const QString &token)
    {
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    }

    QString m_address;
};

} // namespace

class HotKeyPortalTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (!m_daemon.waitForStarted())
            QSKIP("dbus-daemon is not installed (scripts/setup.sh installs it)");
        QVERIFY(m_daemon.waitForReadyRead(5000));
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
        // Before anything asks for the session bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
    }

    void cleanupTestCase()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    void init()
    {
        m_portalThread = new QThread;
        m_portal = new FakePortal(m_address);
        m_portal->moveToThread(m_portalThread);
        m_portalThread->start();
    }

    void cleanup()
    {
        QMetaObject::invokeMethod(m_portal, [] {
            QDBusConnection bus(QStringLiteral("portal"));
            if (!bus.isConnected())
                return; // never started
            bus.unregisterService(kService);
            bus.unregisterObject(kPath);
            QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
        }, Qt::BlockingQueuedConnection);
        m_portalThread->quit();
        m_portalThread->wait();
        delete m_portal;
        delete m_portalThread;
    }

    void noPortalNoBackend()
    {
        // Nobody owns the portal's name yet.
        QVERIFY(!createPortalHotKey());
    }

    void bindsAndReportsPressAndRelease()
    {
        startPortal(0);
        auto key = createPortalHotKey();
        QVERIFY(key);
        QCOMPARE(key->backendName(), QStringLiteral("GlobalShortcuts portal"));
        QSignalSpy pressed(key.get(), &HotKey::pressed);
        QSignalSpy activated(key.get(), &HotKey::activated);
        QSignalSpy failed(key.get(), &HotKey::registrationFailed);
        QVERIFY(key->registerShortcut(QStringLiteral("toggleLauncher"),
                                      QKeyCombination(Qt::AltModifier, Qt::Key_Space)));
        QTRY_COMPARE(portalValue([this] { return m_portal->boundTriggers.value(QStringLiteral("toggleLauncher")); }),
                     QStringLiteral("ALT+space"));
        const QString session = portalValue([this] { return m_portal->session; });

        // Another session's key is not ours.
        emitKey(QStringLiteral("/org/freedesktop/portal/desktop/session/fake/other"), QStringLiteral("toggleLauncher"), true);
        emitKey(session, QStringLiteral("toggleLauncher"), true);
        QTRY_COMPARE(pressed.count(), 1);
        QCOMPARE(activated.count(), 0); // the launcher acts on release
        emitKey(session, QStringLiteral("toggleLauncher"), false);
        QTRY_COMPARE(activated.count(), 1);
        QCOMPARE(activated.first().first().toString(), QStringLiteral("toggleLauncher"));
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(failed.count(), 0);

        // Unregistered: the portal's keys no longer reach us.
        key->unregisterShortcut(QStringLiteral("toggleLauncher"));
        emitKey(session, QStringLiteral("toggleLauncher"), false);
        QTest::qWait(200);
        QCOMPARE(activated.count(), 1);
    }

    void refusedSessionIsReported()
    {
        startPortal(2);
        auto key = createPortalHotKey();
        QVERIFY(key);
        QSignalSpy failed(key.get(), &HotKey::registrationFailed);
        QVERIFY(key->registerShortcut(QStringLiteral("toggleLauncher"),
                                      QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_K)));
        QTRY_COMPARE(failed.count(), 1);
        QCOMPARE(failed.first().first().toString(), QStringLiteral("toggleLauncher"));
        QVERIFY(!key->lastError().isEmpty());
    }

private:
    void startPortal(uint sessionResponse)
    {
        QMetaObject::invokeMethod(m_portal, [this, sessionResponse] {
            m_portal->sessionResponse = sessionResponse;
            m_portal->start();
        }, Qt::BlockingQueuedConnection);
    }

    template<typename F>
    QString portalValue(F read)
    {
        QString value;
        QMetaObject::invokeMethod(m_portal, [&] { value = read(); }, Qt::BlockingQueuedConnection);
        return value;
    }

    void emitKey(const QString &session, const QString &id, bool down)
    {
        QMetaObject::invokeMethod(m_portal, [=, this] { m_portal->emitKey(session, id, down); },
                                  Qt::BlockingQueuedConnection);
    }

    QProcess m_daemon;
    QString m_address;
    QThread *m_portalThread = nullptr;
    FakePortal *m_portal = nullptr;
};

QTEST_GUILESS_MAIN(HotKeyPortalTest)
#include "HotKeyPortalTest.moc"
