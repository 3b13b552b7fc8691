#include "velmora/platform/HotKey.h"

#include <QTest>

using velmora::HotKey;

class HotKeyTest : public QObject {
    Q_OBJECT
private slots:
    void shortcutText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("default") << "Alt+Space" << true << int(Qt::Key_Space) << int(Qt::AltModifier);
        QTest::newRow("three keys") << "Ctrl+Shift+K" << true << int(Qt::Key_K)
                                    << int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("Meta is the Super key") << "Meta+F2" << true << int(Qt::Key_F2) << int(Qt::MetaModifier);
        QTest::newRow("empty") << "" << false << 0 << 0;
        QTest::newRow("two chords") << "Ctrl+K, Ctrl+L" << false << 0 << 0;
        QTest::newRow("words") << "not a key at all" << false << 0 << 0;
    }
    void shortcutText()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        const auto parsed = HotKey::parse(text);
        QCOMPARE(parsed.has_value(), valid);
        if (!valid)
            return;
        QCOMPARE(int(parsed->key()), key);
        QCOMPARE(int(parsed->keyboardModifiers()), modifiers);
        QCOMPARE(HotKey::toText(*parsed), text);
    }
};

QTEST_GUILESS_MAIN(HotKeyTest)
#include "HotKeyTest.moc"
