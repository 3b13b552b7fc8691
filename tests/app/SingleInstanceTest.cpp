#include "velmora/platform/SingleInstance.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using velmora::SingleInstance;

class SingleInstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString socketPath() const { return m_dir.filePath(QStringLiteral("launcher.socket")); }

    // Sends from another thread, as another process would, while this one serves.
    bool sendWhileServing(const QString &message)
    {
        auto sent = QtConcurrent::run([path = socketPath(), message] {
            return SingleInstance::sendMessage(path, message, 2000);
        });
        QElapsedTimer clock;
        clock.start();
        while (!sent.isFinished() && clock.elapsed() < 3000)
            QTest::qWait(5);
        return sent.isFinished() && sent.result();
    }

private slots:
    void defaultPathIsInTheRuntimeFolder()
    {
        QCOMPARE(QFileInfo(SingleInstance::defaultSocketPath()).absolutePath(),
                 QFileInfo(qEnvironmentVariable("XDG_RUNTIME_DIR")).absoluteFilePath());
    }

    void laterStartHandsOverItsMessage()
    {
        SingleInstance first(socketPath());
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        SingleInstance second(socketPath());
        QVERIFY(!second.listen());
        QVERIFY(sendWhileServing(QStringLiteral("toggle")));
        QVERIFY(sendWhileServing(QStringLiteral("reopen")));
        QTRY_COMPARE(received.count(), 2);
        QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("toggle"));
        QCOMPARE(received.at(1).at(0).toString(), QStringLiteral("reopen"));
    }

    void nobodyListeningFailsAtOnce()
    {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!SingleInstance::sendMessage(socketPath(), QStringLiteral("toggle"), 2000));
        QVERIFY(clock.elapsed() < 1000);
    }

    void staleSocketOfADeadInstanceIsReplaced()
    {
        // A socket file nobody listens on, as a crashed launcher leaves it.
        const QByteArray path = QFile::encodeName(socketPath());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(socketPath()));

        SingleInstance instance(socketPath());
        QVERIFY2(instance.listen(), qPrintable(instance.errorString()));
        QSignalSpy received(&instance, &SingleInstance::messageReceived);
        QVERIFY(sendWhileServing(QStringLiteral("show")));
        QTRY_COMPARE(received.count(), 1);
    }

    void oversizedGarbageIsDropped()
    {
        SingleInstance instance(socketPath());
        QVERIFY(instance.listen());
        QSignalSpy received(&instance, &SingleInstance::messageReceived);
        QLocalSocket client;
        client.connectToServer(socketPath());
        QVERIFY(client.waitForConnected(1000));
        client.write(QByteArray(4096, 'x'));
        client.flush();
        QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(received.count(), 0);
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
