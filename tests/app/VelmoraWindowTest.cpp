#include "velmora/app/VelmoraWindow.h"

#include "kestrelkit/NotificationCenter.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using velmora::VelmoraWindow;

// Focus item that records which key events got through the window.
class KeySpy : public QQuickItem {
public:
    QStringList seen;

protected:
    void keyPressEvent(QKeyEvent *e) override { seen << QStringLiteral("down %1").arg(e->key()); }
    void keyReleaseEvent(QKeyEvent *e) override { seen << QStringLiteral("up %1").arg(e->key()); }
};

class VelmoraWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<VelmoraWindow> m_window;
    KeySpy *m_spy = nullptr;
    QStringList m_posted;
    QMetaObject::Connection m_recorder;

    QRect screenFrame() const { return QGuiApplication::primaryScreen()->geometry(); }

    void sendMouse(QEvent::Type type, const QPointF &global)
    {
        const QPointF local = global - QPointF(m_window->position());
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &event);
    }

    // Drags from `from` (global) by `delta`, as a person pulling an edge would.
    void drag(const QPointF &from, const QPointF &delta)
    {
        sendMouse(QEvent::MouseButtonPress, from);
        sendMouse(QEvent::MouseMove, from + delta / 2);
        sendMouse(QEvent::MouseMove, from + delta);
        sendMouse(QEvent::MouseButtonRelease, from + delta);
    }

private slots:
    void init()
    {
        m_window = std::make_unique<VelmoraWindow>();
        const QPoint middle = screenFrame().center();
        m_window->setPointerSource([middle] { return middle; });
        m_spy = new KeySpy;
        m_spy->setParentItem(m_window->contentItem());
        m_spy->setFocus(true);
        m_posted.clear();
        m_recorder = connect(&kestrelkit::NotificationCenter::defaultCenter(),
                             &kestrelkit::NotificationCenter::posted, this,
                             [this](const QString &name, const QVariantMap &info) {
                                 m_posted << (info.contains(QStringLiteral("key"))
                                                  ? name + u':' + info.value(QStringLiteral("key")).toString()
                                                  : name);
                             });
    }
    void cleanup()
    {
        disconnect(m_recorder);
        m_window.reset();
    }

    void isFramelessTranslucentAndOnTop()
    {
        QVERIFY(m_window->flags() & Qt::FramelessWindowHint);
        QVERIFY(m_window->flags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(m_window->flags() & Qt::WindowType_Mask, Qt::Tool);
        QCOMPARE(m_window->color(), QColor(Qt::transparent));
        m_window->setListedInTaskbar(true);
        QCOMPARE(m_window->flags() & Qt::WindowType_Mask, Qt::Window);
    }

    void centerKeepsSizeOnPointerScreen()
    {
        m_window->resize(700, 600);
        QVERIFY(!m_window->preciseCenter());
        m_window->center();
        QCOMPARE(*m_window->preciseCenter(), QRectF(screenFrame()).center());
        QCOMPARE(m_window->geometry().size(), QSize(700, 600));
        QCOMPARE(QRectF(m_window->geometry()).center(), QRectF(screenFrame()).center());
    }

    void screenUnderPointer_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("hasPrimary");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("on the second screen") << QPoint(2000, 300) << true << QRect(1280, 0, 1920, 1080);
        QTest::newRow("on the first screen") << QPoint(10, 10) << true << QRect(0, 0, 1280, 800);
        QTest::newRow("off every screen: primary") << QPoint(-50, -50) << true << QRect(0, 0, 1280, 800);
        QTest::newRow("no screens at all") << QPoint(10, 10) << false << QRect();
    }
    void screenUnderPointer()
    {
        QFETCH(QPoint, pointer);
        QFETCH(bool, hasPrimary);
        QFETCH(QRect, expected);
        const QList<QRect> frames = hasPrimary ? QList<QRect>{{0, 0, 1280, 800}, {1280, 0, 1920, 1080}}
                                               : QList<QRect>{};
        const auto primary = hasPrimary ? std::optional<QRect>(frames.first()) : std::nullopt;
        const auto found = VelmoraWindow::screenFrameUnder(frames, pointer, primary);
        QCOMPARE(found.value_or(QRect()), expected);
    }

    void setFrameClampsAndKeepsCentre_data()
    {
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("300 x 300") << QSize(300, 300) << QSize(640, 580);
        QTest::newRow("narrow only") << QSize(500, 700) << QSize(640, 700);
        QTest::newRow("short only") << QSize(800, 100) << QSize(800, 580);
        QTest::newRow("large enough") << QSize(900, 650) << QSize(900, 650);
    }
    void setFrameClampsAndKeepsCentre()
    {
        QFETCH(QSize, requested);
        QFETCH(QSize, expected);
        m_window->resize(700, 600);
        m_window->center();
        const QPointF centre = *m_window->preciseCenter();
        // The origin asked for is ignored.
        m_window->setFrame(QRect(QPoint(5, 7), requested));
        QCOMPARE(m_window->geometry().size(), expected);
        QCOMPARE(QRectF(m_window->geometry()).center(), centre);
    }

    void draggingAnEdgeResizesSymmetrically_data()
    {
        QTest::addColumn<QString>("edge");
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<QRect>("expectedChange"); // added to left, top, right, bottom
        QTest::newRow("right edge out by 100") << "right" << QPoint(100, 0) << QRect(-50, 0, 50, 0);
        QTest::newRow("left edge out by 100") << "left" << QPoint(-100, 0) << QRect(-50, 0, 50, 0);
        QTest::newRow("bottom edge out by 60") << "bottom" << QPoint(0, 60) << QRect(0, -30, 0, 30);
        QTest::newRow("right edge in past minimum") << "right" << QPoint(-200, 0) << QRect(30, 0, -30, 0);
    }
    void draggingAnEdgeResizesSymmetrically()
    {
        QFETCH(QString, edge);
        QFETCH(QPoint, delta);
        QFETCH(QRect, expectedChange);
        m_window->resize(700, 600);
        m_window->center();
        const QRect before = m_window->geometry();
        QPointF grip;
        if (edge == QLatin1String("right"))
            grip = QPointF(before.right() - 1, before.center().y());
        else if (edge == QLatin1String("left"))
            grip = QPointF(before.left() + 1, before.center().y());
        else
            grip = QPointF(before.center().x(), before.bottom() - 1);
        drag(grip, delta);
        const QRect after = m_window->geometry();
        QCOMPARE(after.left() - before.left(), expectedChange.x());
        QCOMPARE(after.top() - before.top(), expectedChange.y());
        QCOMPARE(after.right() - before.right(), expectedChange.width());
        QCOMPARE(after.bottom() - before.bottom(), expectedChange.height());
    }

    void fullScreenAndWindowedFrames()
    {
        m_window->resize(700, 600);
        m_window->center();
        m_window->applyFullScreenFrame();
        QCOMPARE(m_window->geometry(), QRect(QPoint(-2, -2), screenFrame().size() + QSize(4, 4)));
        QVERIFY(!m_window->isResizable());
        // No edge resizing in full screen.
        const QRect full = m_window->geometry();
        drag(QPointF(full.right() - 1, full.center().y()), QPointF(-100, 0));
        QCOMPARE(m_window->geometry(), full);

        m_window->applyWindowedFrame();
        QVERIFY(m_window->isResizable());
        QCOMPARE(m_window->geometry().size(), QSize(640, 580));
        QCOMPARE(QRectF(m_window->geometry()).center(), QRectF(screenFrame()).center());
    }

    void keyRouting_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QStringList>("posted");
        QTest::addColumn<bool>("reachesFocus"); // the key itself, down and up
        QTest::addColumn<bool>("visibleAfter");
        const QStringList released{"keyboardReleasedCommand", "keyboardReleasedOption",
                                   "keyboardReleasedShift"};
        QTest::newRow("Ctrl+3 posts down and up")
            << int(Qt::Key_3) << int(Qt::ControlModifier)
            << QStringList{"keyboardPressedCommand", "keyboardPressedCommandNumberSet:3",
                           "keyboardPressedCommandNumberSet:3"} + released
            << false << true;
        QTest::newRow("Alt+0")
            << int(Qt::Key_0) << int(Qt::AltModifier)
            << QStringList{"keyboardPressedOption", "keyboardPressedOptionNumberSet:0",
                           "keyboardPressedOptionNumberSet:0"} + released
            << false << true;
        QTest::newRow("Shift+3 passes") << int(Qt::Key_3) << int(Qt::ShiftModifier)
                                        << QStringList{"keyboardPressedShift"} + released << true << true;
        QTest::newRow("Meta+3 passes") << int(Qt::Key_3) << int(Qt::MetaModifier) << released + released
                                       << true << true;
        QTest::newRow("Ctrl+Alt+3 passes")
            << int(Qt::Key_3) << int(Qt::ControlModifier | Qt::AltModifier)
            << QStringList{"keyboardPressedCommand"} + released + QStringList{"keyboardPressedCommand"}
                   + released
            << true << true;
        QTest::newRow("keypad 3 with Ctrl passes")
            << int(Qt::Key_3) << int(Qt::ControlModifier | Qt::KeypadModifier)
            << QStringList{"keyboardPressedCommand"} + released << true << true;
        QTest::newRow("plain 3 passes") << int(Qt::Key_3) << 0 << QStringList{} << true << true;
        QTest::newRow("Up") << int(Qt::Key_Up) << 0 << QStringList{"keyboardPressedUp"} << false << true;
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << QStringList{"keyboardPressedDown"} << false << true;
        QTest::newRow("Left") << int(Qt::Key_Left) << 0 << QStringList{"keyboardPressedLeft"} << false << true;
        QTest::newRow("Right") << int(Qt::Key_Right) << 0 << QStringList{"keyboardPressedRight"} << false << true;
        QTest::newRow("Ctrl+Up passes") << int(Qt::Key_Up) << int(Qt::ControlModifier)
                                        << QStringList{"keyboardPressedCommand"} + released << true << true;
        QTest::newRow("Escape posts and hides")
            << int(Qt::Key_Escape) << 0 << QStringList{"keyboardPressedEscape"} << false << false;
        QTest::newRow("Shift+Escape passes") << int(Qt::Key_Escape) << int(Qt::ShiftModifier)
                                             << QStringList{"keyboardPressedShift"} + released << true << true;
    }
    void keyRouting()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QStringList, posted);
        QFETCH(bool, reachesFocus);
        QFETCH(bool, visibleAfter);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_posted.clear();
        // Up arrow and Escape are consumed on key down only; their key up passes.
        QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_posted, posted);
        QCOMPARE(m_spy->seen.contains(QStringLiteral("down %1").arg(key)), reachesFocus);
        QCOMPARE(m_window->isVisible(), visibleAfter);
    }

    void altAloneAnnouncesPressThenRelease()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // As X11 reports them: each event carries the modifiers from before it.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::sendEvent(m_window.get(), &press);
        QCoreApplication::sendEvent(m_window.get(), &release);
        QCOMPARE(m_posted, (QStringList{"keyboardPressedOption", "keyboardReleasedCommand",
                                        "keyboardReleasedOption", "keyboardReleasedShift"}));
        // Modifier changes are passed on too.
        QVERIFY(m_spy->seen.contains(QStringLiteral("down %1").arg(Qt::Key_Alt)));
    }

    void popoverSwallowsNothing()
    {
        QSignalSpy changed(m_window.get(), &VelmoraWindow::showingPopoverChanged);
        m_window->setShowingPopover(true);
        QCOMPARE(changed.count(), 1);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTest::keyClick(m_window.get(), Qt::Key_3, Qt::ControlModifier);
        QTest::keyClick(m_window.get(), Qt::Key_Down);
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QCOMPARE(m_posted, QStringList{});
        QVERIFY(m_spy->seen.contains(QStringLiteral("down %1").arg(Qt::Key_3)));
        QVERIFY(m_spy->seen.contains(QStringLiteral("down %1").arg(Qt::Key_Escape)));
        QVERIFY(m_window->isVisible());
    }

    void ctrlDigitIsNotTypedIntoTheSearchField()
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nTextInput { width: 200; height: 30; focus: true }", {});
        auto *field = qobject_cast<QQuickItem *>(component.create());
        QVERIFY2(field, qPrintable(component.errorString()));
        field->setParentItem(m_window->contentItem());
        field->forceActiveFocus();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(m_window.get(), Qt::Key_3, Qt::ControlModifier);
        QTest::keyClick(m_window.get(), Qt::Key_3, Qt::AltModifier);
        for (char c : QByteArray("vim3"))
            QTest::keyClick(m_window.get(), c);
        QCOMPARE(field->property("text").toString(), QStringLiteral("vim3"));
        QVERIFY(m_posted.contains(QStringLiteral("keyboardPressedCommandNumberSet:3")));
        delete field;
    }

    void hidesWhenAnotherWindowBecomesActive()
    {
        m_window->show();
        m_window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QWindow other;
        other.resize(100, 100);
        other.show();
        other.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_VERIFY(!m_window->isVisible());
    }

    void closingOnlyHides()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->close();
        QVERIFY(!m_window->isVisible());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
};

QTEST_MAIN(VelmoraWindowTest)
#include "VelmoraWindowTest.moc"
