#include "TestMain.h"

#include "velmora/settings/ShortcutRecorder.h"

#include "kestrelkit/DefaultsStore.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using velmora::ShortcutRecorder;

class ShortcutRecorderTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_tmp.reset(new QTemporaryDir);
        m_store.reset(new kestrelkit::DefaultsStore(m_tmp->filePath(QStringLiteral("defaults.json"))));
        m_bound.clear();
        m_refuse.clear();
        m_recorder.reset(new ShortcutRecorder(m_store.get()));
        m_recorder->setBinder([this](const QKeySequence &seq) -> std::optional<QString> {
            m_bound.append(seq.toString(QKeySequence::PortableText));
            if (!m_refuse.isEmpty() && seq.toString(QKeySequence::PortableText) == m_refuse)
                return QStringLiteral("taken by the desktop");
            return std::nullopt;
        });
    }

    void defaultIsAltSpaceAndNothingIsStored()
    {
        QCOMPARE(m_recorder->shortcut(), QStringLiteral("Alt+Space"));
        QVERIFY(!m_store->contains(QString::fromLatin1(ShortcutRecorder::kDefaultsKey)));
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("stillRecording");
        QTest::addColumn<QString>("stored"); // the shortcut afterwards
        QTest::addColumn<QStringList>("bound");
        const int ctrlAlt = int(Qt::ControlModifier | Qt::AltModifier);
        QTest::newRow("ctrl+alt+k") << int(Qt::Key_K) << ctrlAlt << false << QStringLiteral("Ctrl+Alt+K")
                                    << QStringList{QStringLiteral("Ctrl+Alt+K")};
        QTest::newRow("super+space") << int(Qt::Key_Space) << int(Qt::MetaModifier) << false
                                     << QStringLiteral("Meta+Space") << QStringList{QStringLiteral("Meta+Space")};
        QTest::newRow("keypad flag dropped") << int(Qt::Key_5) << int(Qt::AltModifier | Qt::KeypadModifier)
                                             << false << QStringLiteral("Alt+5") << QStringList{QStringLiteral("Alt+5")};
        QTest::newRow("function key alone") << int(Qt::Key_F9) << 0 << false << QStringLiteral("F9")
                                            << QStringList{QStringLiteral("F9")};
        QTest::newRow("modifier alone waits") << int(Qt::Key_Alt) << int(Qt::AltModifier) << true
                                              << QStringLiteral("Alt+Space") << QStringList{};
        QTest::newRow("plain letter refused") << int(Qt::Key_A) << 0 << true << QStringLiteral("Alt+Space")
                                              << QStringList{};
        QTest::newRow("shift+letter refused") << int(Qt::Key_A) << int(Qt::ShiftModifier) << true
                                              << QStringLiteral("Alt+Space") << QStringList{};
        QTest::newRow("escape cancels") << int(Qt::Key_Escape) << 0 << false << QStringLiteral("Alt+Space")
                                        << QStringList{};
        QTest::newRow("backspace clears") << int(Qt::Key_Backspace) << 0 << false << QString()
                                          << QStringList{QString()};
    }
    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, stillRecording);
        QFETCH(QString, stored);
        QFETCH(QStringList, bound);
        m_recorder->startRecording();
        QVERIFY(m_recorder->handleKey(key, modifiers));
        QCOMPARE(m_recorder->isRecording(), stillRecording);
        QCOMPARE(m_recorder->shortcut(), stored);
        QCOMPARE(m_bound, bound);
        QCOMPARE(m_recorder->errorString(), QString());
        if (!bound.isEmpty()) // stored as JSON string data, read back by the hot key at start-up
            QCOMPARE(m_store->data(QString::fromLatin1(ShortcutRecorder::kDefaultsKey)),
                     std::optional<QByteArray>('"' + stored.toUtf8() + '"'));
    }

    void keysAreIgnoredWhenNotRecording()
    {
        QVERIFY(!m_recorder->handleKey(Qt::Key_K, int(Qt::ControlModifier)));
        QVERIFY(m_bound.isEmpty());
    }

    void refusedShortcutKeepsThePreviousOneAndSaysWhy()
    {
        m_refuse = QStringLiteral("Ctrl+Space");
        QSignalSpy changed(m_recorder.get(), &ShortcutRecorder::shortcutChanged);
        m_recorder->startRecording();
        m_recorder->handleKey(Qt::Key_Space, int(Qt::ControlModifier));

        QCOMPARE(m_recorder->shortcut(), QStringLiteral("Alt+Space"));
        QCOMPARE(changed.count(), 0);
        // Tried the new one, then bound the old one again.
        QCOMPARE(m_bound, (QStringList{QStringLiteral("Ctrl+Space"), QStringLiteral("Alt+Space")}));
        QVERIFY(m_recorder->errorString().contains(QStringLiteral("taken by the desktop")));
        QCOMPARE(m_recorder->toggleCommand(), QStringLiteral("velmora --toggle"));

        // A shortcut that binds clears the message.
        m_recorder->startRecording();
        m_recorder->handleKey(Qt::Key_K, int(Qt::MetaModifier));
        QCOMPARE(m_recorder->errorString(), QString());
        QCOMPARE(changed.count(), 1);
    }

    void bindingErrorFromStartUpIsShown()
    {
        m_recorder->setBindingError(QStringLiteral("no global shortcuts on this desktop"));
        QVERIFY(m_recorder->errorString().contains(QStringLiteral("no global shortcuts on this desktop")));
    }

    void copyPutsTheCommandOnTheClipboard()
    {
        QGuiApplication::clipboard()->clear();
        m_recorder->copyToggleCommand();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("velmora --toggle"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<kestrelkit::DefaultsStore> m_store;
    std::unique_ptr<ShortcutRecorder> m_recorder;
    QStringList m_bound;
    QString m_refuse;
};

int runShortcutRecorderTest(int argc, char *argv[])
{
    ShortcutRecorderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ShortcutRecorderTest.moc"
