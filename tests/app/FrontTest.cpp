// The `velmora` command's front, run as a process: what it hands to a running launcher
// over the socket and what it leaves to the full program (a fake one that records its
// arguments).

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

constexpr const char *kSocketName = "org.velmora.Launcher.socket";

// A launcher that answers "ok" to each line, as the real one does.
class FakeLauncher : public QObject {
public:
    explicit FakeLauncher(const QString &path)
    {
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        QVERIFY2(m_server.listen(path), qPrintable(m_server.errorString()));
        connect(&m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                    if (!socket->canReadLine())
                        return;
                    messages.append(QString::fromUtf8(socket->readLine()).trimmed());
                    socket->write("ok\n");
                    socket->flush();
                    socket->disconnectFromServer();
                });
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QStringList messages;

private:
    QLocalServer m_server;
};

// A socket file nobody listens on any more: what a launcher that crashed leaves behind.
bool leaveStaleSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()) + 1);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

} // namespace

class FrontTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_root.isValid());
        m_runtime = m_root.filePath(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(m_runtime));
        // The front beside a fake full program, as in the build tree.
        m_front = m_root.filePath(QStringLiteral("bin/velmora"));
        QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("bin"))));
        QFile::remove(m_front);
        QVERIFY(QFile::copy(qEnvironmentVariable("VELMORA_FRONT"), m_front));
        m_marker = m_root.filePath(QStringLiteral("ran"));
        QFile::remove(m_marker);
        QFile app(m_root.filePath(QStringLiteral("bin/velmora-app")));
        QVERIFY(app.open(QIODevice::WriteOnly | QIODevice::Truncate));
        app.write("#!/bin/sh\nprintf '%s|' \"$0\" \"$@\" > \"" + QFile::encodeName(m_marker) + "\"\n");
        app.close();
        app.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void cleanup() { QFile::remove(QDir(m_runtime).filePath(QLatin1String(kSocketName))); }

    void requests_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("launcher");  // "running", "stale", "none" or "no runtime dir"
        QTest::addColumn<QString>("delivered"); // what the launcher got, if anything
        QTest::addColumn<bool>("fullProgram");  // whether the full program ran instead
        const QStringList none;
        QTest::newRow("toggle") << QStringList{"--toggle"} << "running" << "toggle" << false;
        QTest::newRow("show") << QStringList{"--show"} << "running" << "show" << false;
        QTest::newRow("hide") << QStringList{"--hide"} << "running" << "hide" << false;
        QTest::newRow("second start") << none << "running" << "reopen" << false;
        QTest::newRow("nothing running") << QStringList{"--toggle"} << "none" << "" << true;
        QTest::newRow("launcher gone, socket left") << QStringList{"--toggle"} << "stale" << "" << true;
        QTest::newRow("first start") << none << "none" << "" << true;
        QTest::newRow("no runtime folder") << QStringList{"--show"} << "no runtime dir" << "" << true;
        QTest::newRow("other commands") << QStringList{"--version"} << "running" << "" << true;
        QTest::newRow("action with more") << QStringList{"--toggle", "--verbose"} << "running" << "" << true;
        QTest::newRow("headless command") << QStringList{"calc", "1+1"} << "running" << "" << true;
    }
    void requests()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, launcher);
        QFETCH(QString, delivered);
        QFETCH(bool, fullProgram);

        const QString socket = QDir(m_runtime).filePath(QLatin1String(kSocketName));
        std::unique_ptr<FakeLauncher> running;
        if (launcher == QLatin1String("running"))
            running = std::make_unique<FakeLauncher>(socket);
        else if (launcher == QLatin1String("stale"))
            QVERIFY(leaveStaleSocket(socket));

        QProcess front;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (launcher == QLatin1String("no runtime dir"))
            env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        else
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
        front.setProcessEnvironment(env);
        front.start(m_front, arguments);
        QVERIFY(front.waitForStarted());
        // The fake launcher answers on this thread's event loop.
        QTRY_COMPARE_WITH_TIMEOUT(front.state(), QProcess::NotRunning, 10000);
        QCOMPARE(front.exitStatus(), QProcess::NormalExit);
        QCOMPARE(front.exitCode(), 0);

        if (running)
            QCOMPARE(running->messages, delivered.isEmpty() ? QStringList() : QStringList{delivered});
        QCOMPARE(QFile::exists(m_marker), fullProgram);
        if (fullProgram) {
            QFile marker(m_marker);
            QVERIFY(marker.open(QIODevice::ReadOnly));
            // Every argument reaches the full program unchanged.
            const QString expected = m_root.filePath(QStringLiteral("bin/velmora-app")) + u'|'
                + (arguments.isEmpty() ? QString() : arguments.join(u'|') + u'|');
            QCOMPARE(QString::fromUtf8(marker.readAll()), expected);
        }
    }

    void missingFullProgramIsReported()
    {
        QVERIFY(QFile::remove(m_root.filePath(QStringLiteral("bin/velmora-app"))));
        QProcess front;
        front.start(m_front, {QStringLiteral("--version")});
        QVERIFY(front.waitForFinished(10000));
        QCOMPARE(front.exitCode(), 127);
        QVERIFY(front.readAllStandardError().contains("the launcher program is missing"));
    }

private:
    QTemporaryDir m_root;
    QString m_runtime;
    QString m_front;
    QString m_marker;
};

QTEST_GUILESS_MAIN(FrontTest)
#include "FrontTest.moc"
