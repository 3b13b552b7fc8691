#include "velmora/platform/HotKey.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using velmora::HotKey;

// Drives the X11 grabs with xdotool on a private Xvfb display.
class HotKeyX11Test : public QObject {
    Q_OBJECT
    std::unique_ptr<HotKey> m_hotKey;

    static void xdotool(const QStringList &args)
    {
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), args), 0);
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display");
    }
    void init()
    {
        m_hotKey = velmora::createX11HotKey();
        QVERIFY(m_hotKey);
        QVERIFY2(m_hotKey->registerShortcut(QStringLiteral("toggleLauncher"),
                                            QKeyCombination(Qt::AltModifier, Qt::Key_Space)),
                 qPrintable(m_hotKey->lastError()));
    }
    void cleanup() { m_hotKey.reset(); }

    void firesOnceOnRelease_data()
    {
        QTest::addColumn<QList<QStringList>>("strokes");
        QTest::newRow("tap") << QList<QStringList>{{"key", "alt+space"}};
        QTest::newRow("with Caps Lock on")
            << QList<QStringList>{{"key", "Caps_Lock"}, {"key", "alt+space"}, {"key", "Caps_Lock"}};
        QTest::newRow("with Num Lock on")
            << QList<QStringList>{{"key", "Num_Lock"}, {"key", "alt+space"}, {"key", "Num_Lock"}};
        QTest::newRow("Alt released first")
            << QList<QStringList>{{"keydown", "alt"}, {"keydown", "space"}, {"keyup", "alt"}, {"keyup", "space"}};
    }
    void firesOnceOnRelease()
    {
        QFETCH(QList<QStringList>, strokes);
        QSignalSpy pressed(m_hotKey.get(), &HotKey::pressed);
        QSignalSpy activated(m_hotKey.get(), &HotKey::activated);
        for (const QStringList &stroke : strokes)
            xdotool(stroke);
        QTRY_COMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toString(), QStringLiteral("toggleLauncher"));
        QCOMPARE(pressed.count(), 1);
    }

    void heldKeysFireOnceAfterRelease()
    {
        QSignalSpy pressed(m_hotKey.get(), &HotKey::pressed);
        QSignalSpy activated(m_hotKey.get(), &HotKey::activated);
        xdotool({"keydown", "alt+space"});
        QTest::qWait(1200); // long enough for auto-repeat
        QCOMPARE(activated.count(), 0);
        xdotool({"keyup", "alt+space"});
        QTRY_COMPARE(activated.count(), 1);
        QTest::qWait(200);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(pressed.count(), 1);
    }

    void otherKeysAreIgnored()
    {
        QSignalSpy activated(m_hotKey.get(), &HotKey::activated);
        xdotool({"key", "space"});
        xdotool({"key", "ctrl+space"});
        QTest::qWait(200);
        QCOMPARE(activated.count(), 0);
    }

    void takenShortcutIsReportedNotFatal()
    {
        auto other = velmora::createX11HotKey();
        QVERIFY(other);
        QVERIFY(!other->registerShortcut(QStringLiteral("toggleLauncher"),
                                         QKeyCombination(Qt::AltModifier, Qt::Key_Space)));
        QVERIFY2(other->lastError().contains(QStringLiteral("already taken")),
                 qPrintable(other->lastError()));
        // The first owner keeps working.
        QSignalSpy activated(m_hotKey.get(), &HotKey::activated);
        xdotool({"key", "alt+space"});
        QTRY_COMPARE(activated.count(), 1);
    }

    void unregisteredShortcutIsReleased()
    {
        m_hotKey->unregisterShortcut(QStringLiteral("toggleLauncher"));
        auto other = velmora::createX11HotKey();
        QVERIFY(other->registerShortcut(QStringLiteral("mine"),
                                        QKeyCombination(Qt::AltModifier, Qt::Key_Space)));
        QSignalSpy activated(m_hotKey.get(), &HotKey::activated);
        QSignalSpy otherActivated(other.get(), &HotKey::activated);
        xdotool({"key", "alt+space"});
        QTRY_COMPARE(otherActivated.count(), 1);
        QCOMPARE(activated.count(), 0);
    }
};

QTEST_MAIN(HotKeyX11Test)
#include "HotKeyX11Test.moc"
