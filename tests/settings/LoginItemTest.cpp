#include "TestMain.h"

#include "velmora/platform/LoginItem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using velmora::LoginItem;

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class LoginItemTest : public QObject {
    Q_OBJECT
private slots:
    void enableWritesEntryAndDisableRemovesIt()
    {
        QTemporaryDir tmp;
        const LoginItem item(tmp.filePath(QStringLiteral("config/autostart")), QStringLiteral("/usr/bin/velmora"));
        QCOMPARE(item.entryPath(), tmp.filePath(QStringLiteral("config/autostart/velmora.desktop")));
        QVERIFY(!item.isEnabled());

        const auto on = item.enable();
        QVERIFY2(on.succeeded(), qPrintable(on.errorString()));
        QVERIFY(item.isEnabled());
        const QByteArray text = readAll(item.entryPath());
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        QVERIFY(text.contains("\nType=Application\n"));
        QVERIFY(text.contains("\nExec=/usr/bin/velmora --login-item\n"));
        // Nothing but the entry is left behind (no temporary file of the atomic write).
        QCOMPARE(QDir(tmp.filePath(QStringLiteral("config/autostart"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("velmora.desktop")});

        QVERIFY(item.disable().succeeded());
        QVERIFY(!QFile::exists(item.entryPath()));
        QVERIFY(!item.isEnabled());
        // Removing what is not there is no failure.
        QVERIFY(item.disable().succeeded());
    }

    void enableReplacesAnEntryTheDesktopSwitchedOff()
    {
        QTemporaryDir tmp;
        const LoginItem item(tmp.path(), QStringLiteral("velmora"));
        writeFile(item.entryPath(), "[Desktop Entry]\nExec=old\nX-GNOME-Autostart-enabled=false\n");
        QVERIFY(!item.isEnabled());
        QVERIFY(item.enable().succeeded());
        QVERIFY(item.isEnabled());
        QVERIFY(!readAll(item.entryPath()).contains("Exec=old"));
    }

    void isEnabled_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("ours") << LoginItem::entryContents(QStringLiteral("velmora")) << true;
        QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=velmora\nHidden=true\n") << false;
        QTest::newRow("gnome switched off") << QByteArray("[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n") << false;
        QTest::newRow("gnome switched on") << QByteArray("[Desktop Entry]\nX-GNOME-Autostart-enabled=true\n") << true;
        QTest::newRow("hidden in an action group")
            << QByteArray("[Desktop Entry]\nExec=velmora\n[Desktop Action x]\nHidden=true\n") << true;
        QTest::newRow("empty file") << QByteArray() << true;
    }
    void isEnabled()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, enabled);
        QTemporaryDir tmp;
        const LoginItem item(tmp.path(), QStringLiteral("velmora"));
        writeFile(item.entryPath(), contents);
        QCOMPARE(item.isEnabled(), enabled);
    }

    void execLine_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QByteArray>("exec");
        QTest::newRow("plain") << QStringLiteral("/usr/bin/velmora") << QByteArray("Exec=/usr/bin/velmora --login-item");
        QTest::newRow("from PATH") << QStringLiteral("velmora") << QByteArray("Exec=velmora --login-item");
        QTest::newRow("space") << QStringLiteral("/opt/My Apps/velmora")
                               << QByteArray("Exec=\"/opt/My Apps/velmora\" --login-item");
        QTest::newRow("dollar and quote") << QStringLiteral("/opt/a$b\"c/velmora")
                                          << QByteArray("Exec=\"/opt/a\\\\$b\\\\\"c/velmora\" --login-item");
        QTest::newRow("backslash") << QStringLiteral("/opt/a\\b/velmora")
                                   << QByteArray("Exec=\"/opt/a\\\\\\\\b/velmora\" --login-item");
        QTest::newRow("percent is no field code") << QStringLiteral("/opt/100%/velmora")
                                                  << QByteArray("Exec=/opt/100%%/velmora --login-item");
    }
    void execLine()
    {
        QFETCH(QString, executable);
        QFETCH(QByteArray, exec);
        const QList<QByteArray> lines = LoginItem::entryContents(executable).split('\n');
        QVERIFY2(lines.contains(exec), LoginItem::entryContents(executable).constData());
    }

    void defaultExecutableIsNeverATestBinary()
    {
        QCOMPARE(LoginItem::defaultExecutable(), QStringLiteral("velmora"));
    }

    // The autostart entry names the `velmora` command, never the full program it runs.
    void commandForTheRunningProgram_data()
    {
        QTest::addColumn<QString>("self");    // relative to a temporary root
        QTest::addColumn<QString>("command"); // relative to it too, or a bare name
        QTest::newRow("the command itself") << "bin/velmora" << "bin/velmora";
        QTest::newRow("build tree: beside it") << "build/velmora-app" << "build/velmora";
        QTest::newRow("installed under libexec") << "libexec/velmora/velmora-app" << "bin/velmora";
        QTest::newRow("full program alone") << "lonely/velmora-app" << "velmora";
        QTest::newRow("a test binary") << "build/LoginItemTest" << "velmora";
        QTest::newRow("not known") << "" << "velmora";
    }
    void commandForTheRunningProgram()
    {
        QFETCH(QString, self);
        QFETCH(QString, command);
        QTemporaryDir root;
        for (const char *file : {"bin/velmora", "build/velmora", "build/velmora-app", "build/LoginItemTest",
                                 "libexec/velmora/velmora-app", "lonely/velmora-app"}) {
            const QString path = root.filePath(QString::fromLatin1(file));
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        const QString expected = command.contains(u'/') ? root.filePath(command) : command;
        QCOMPARE(LoginItem::commandFor(self.isEmpty() ? QString() : root.filePath(self)), expected);
    }

    void failureReturnsTheReason_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder cannot be created") << QStringLiteral("parent is a file");
        QTest::newRow("entry is a folder") << QStringLiteral("entry is a folder");
        QTest::newRow("read-only folder") << QStringLiteral("read-only");
    }
    void failureReturnsTheReason()
    {
        QFETCH(QString, kind);
        QTemporaryDir tmp;
        QString folder = tmp.filePath(QStringLiteral("autostart"));
        if (kind == QLatin1String("parent is a file")) {
            writeFile(tmp.filePath(QStringLiteral("file")), "x");
            folder = tmp.filePath(QStringLiteral("file/autostart"));
        } else if (kind == QLatin1String("entry is a folder")) {
            QDir().mkpath(folder + QStringLiteral("/velmora.desktop/inside"));
        } else {
            if (geteuid() == 0)
                QSKIP("root writes into read-only folders; the other rows cover the failure path");
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        const LoginItem item(folder, QStringLiteral("velmora"));
        const auto result = item.enable();
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!result.succeeded());
        QVERIFY2(result.errorString().contains(folder), qPrintable(result.errorString()));
        QVERIFY(!item.isEnabled());
    }
};

int runLoginItemTest(int argc, char *argv[])
{
    LoginItemTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LoginItemTest.moc"
