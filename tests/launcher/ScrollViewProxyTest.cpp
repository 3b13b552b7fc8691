#include "velmora/launcher/ScrollViewProxy.h"

#include "velmora/launcher/ScrollTarget.h"

#include <QSignalSpy>
#include <QTest>

using velmora::Alignment;
using velmora::ScrollId;
using velmora::ScrollViewProxy;

Q_DECLARE_METATYPE(velmora::Alignment)

namespace {

// A scroll area of fixed geometry that records what it is asked to scroll to.
class FakeScrollTarget : public velmora::ScrollTarget {
public:
    QSizeF visible{400, 300};
    QMarginsF insets;
    QSizeF document{400, 2000};
    QPointF offsetNow;
    struct Request {
        QRectF rect;
        bool animated;
    };
    QList<Request> requests;

    QSizeF visibleSize() const override { return visible; }
    QMarginsF contentInsets() const override { return insets; }
    QSizeF documentSize() const override { return document; }
    QPointF contentOffset() const override { return offsetNow; }
    void scrollRectToVisible(const QRectF &rect, bool animated) override
    {
        requests.append({rect, animated});
    }
    void moveTo(QPointF offset)
    {
        offsetNow = offset;
        emit contentOffsetChanged(offset);
    }
};

} // namespace

class ScrollViewProxyTest : public QObject {
    Q_OBJECT

private slots:
    void targetRect_data();
    void targetRect();
    void targetIsFrameWithoutScrollView();
    void scrollToRegisteredId();
    void messages_data();
    void messages();
    void identifiersOfDifferentTypesNeverMatch();
    void laterRegistrationWins();
    void getPosition();
    void scrollToEdge_data();
    void scrollToEdge();
    void edgeWithoutScrollViewDoesNothing();
    void copiesShareRegistryAndView();
    void scrollViewIsHeldWeakly();
    void offsetFollowsAttachedView();
};

void ScrollViewProxyTest::targetRect_data()
{
    QTest::addColumn<QRectF>("frame");
    QTest::addColumn<Alignment>("alignment");
    QTest::addColumn<QSizeF>("document");
    QTest::addColumn<QMarginsF>("insets");
    QTest::addColumn<QPointF>("origin");

    // Viewport 400 x 300; a wide document so that x is not clamped away.
    const QSizeF wide(2000, 2000);
    const QRectF tile(800, 900, 100, 80); // centre (850, 940)
    QTest::newRow("center") << tile << Alignment::center << wide << QMarginsF() << QPointF(650, 790);
    QTest::newRow("leading") << tile << Alignment::leading << wide << QMarginsF() << QPointF(800, 790);
    QTest::newRow("trailing") << tile << Alignment::trailing << wide << QMarginsF() << QPointF(500, 790);
    QTest::newRow("top") << tile << Alignment::top << wide << QMarginsF() << QPointF(650, 900);
    QTest::newRow("bottom") << tile << Alignment::bottom << wide << QMarginsF() << QPointF(650, 680);
    QTest::newRow("topLeading") << tile << Alignment::topLeading << wide << QMarginsF() << QPointF(800, 900);
    QTest::newRow("topTrailing") << tile << Alignment::topTrailing << wide << QMarginsF() << QPointF(500, 900);
    QTest::newRow("bottomLeading") << tile << Alignment::bottomLeading << wide << QMarginsF() << QPointF(800, 680);
    QTest::newRow("bottomTrailing") << tile << Alignment::bottomTrailing << wide << QMarginsF() << QPointF(500, 680);

    // A tile above the view, centred, would need a negative origin: 0 instead.
    QTest::newRow("center clamps at 0") << QRectF(0, 20, 100, 80) << Alignment::center << wide << QMarginsF() << QPointF(0, 0);
    // A header near the end of a short document stops at document height - viewport height.
    QTest::newRow("top clamps at the end") << QRectF(0, 550, 400, 30) << Alignment::top << QSizeF(400, 600) << QMarginsF() << QPointF(0, 300);
    // A document shorter than the viewport keeps origin 0 whatever the alignment.
    QTest::newRow("short document, bottom") << QRectF(0, 150, 100, 50) << Alignment::bottomTrailing << QSizeF(200, 250) << QMarginsF() << QPointF(0, 0);
    QTest::newRow("short document, top") << QRectF(150, 150, 50, 50) << Alignment::top << QSizeF(200, 250) << QMarginsF() << QPointF(0, 0);
    // Insets shrink the viewport: 400-10-30 = 360 wide, 300-40-20 = 240 high.
    QTest::newRow("insets") << tile << Alignment::center << wide << QMarginsF(10, 40, 30, 20) << QPointF(670, 820);
}

void ScrollViewProxyTest::targetRect()
{
    QFETCH(QRectF, frame);
    QFETCH(Alignment, alignment);
    QFETCH(QSizeF, document);
    QFETCH(QMarginsF, insets);
    QFETCH(QPointF, origin);
    FakeScrollTarget view;
    view.document = document;
    view.insets = insets;
    ScrollViewProxy proxy;
    proxy.attachScrollView(&view);
    const QSizeF viewport(view.visible.width() - insets.left() - insets.right(),
                          view.visible.height() - insets.top() - insets.bottom());
    QCOMPARE(proxy.targetRect(frame, alignment), QRectF(origin, viewport));
}

void ScrollViewProxyTest::targetIsFrameWithoutScrollView()
{
    const ScrollViewProxy proxy;
    const QRectF frame(800, 900, 100, 80);
    QCOMPARE(proxy.targetRect(frame, Alignment::center), frame);
}

void ScrollViewProxyTest::scrollToRegisteredId()
{
    FakeScrollTarget view;
    QStringList messages;
    ScrollViewProxy proxy([&messages](const QString &m) { messages.append(m); });
    proxy.attachScrollView(&view);
    proxy.setFrame(QStringLiteral("/usr/share/applications/firefox.desktop"),
                   QRectF(0, 1000, 100, 80));
    proxy.scrollTo(QStringLiteral("/usr/share/applications/firefox.desktop"), Alignment::top, true);
    proxy.scrollTo(QStringLiteral("/usr/share/applications/firefox.desktop"), Alignment::center, false);
    QCOMPARE(view.requests.size(), 2);
    QCOMPARE(view.requests[0].rect, QRectF(0, 1000, 400, 300));
    QCOMPARE(view.requests[0].animated, true);
    QCOMPARE(view.requests[1].rect, QRectF(0, 890, 400, 300));
    QCOMPARE(view.requests[1].animated, false);
    QCOMPARE(messages, QStringList());
}

void ScrollViewProxyTest::messages_data()
{
    QTest::addColumn<bool>("attached");
    QTest::addColumn<QString>("message");

    QTest::newRow("no scroll view") << false << "No scroll view";
    QTest::newRow("unknown id") << true << "ID (Missing.app) not found.";
}

void ScrollViewProxyTest::messages()
{
    QFETCH(bool, attached);
    QFETCH(QString, message);
    FakeScrollTarget view;
    QStringList messages;
    ScrollViewProxy proxy([&messages](const QString &m) { messages.append(m); });
    if (attached)
        proxy.attachScrollView(&view);
    proxy.scrollTo(QStringLiteral("Missing.app"), Alignment::center, false);
    QCOMPARE(messages, QStringList{message});
    QVERIFY(view.requests.isEmpty());
}

void ScrollViewProxyTest::identifiersOfDifferentTypesNeverMatch()
{
    FakeScrollTarget view;
    QStringList messages;
    ScrollViewProxy proxy([&messages](const QString &m) { messages.append(m); });
    proxy.attachScrollView(&view);
    const QUuid uuid = QUuid::createUuid();
    proxy.updateFrames({{3, QRectF(0, 300, 10, 10)},
                        {QStringLiteral("4"), QRectF(0, 400, 10, 10)},
                        {uuid, QRectF(0, 500, 10, 10)}});
    QCOMPARE(proxy.getPosition(3), 300.0);
    QCOMPARE(proxy.getPosition(qint64(3)), 300.0);
    QCOMPARE(proxy.getPosition(QStringLiteral("3")), 0.0);
    QCOMPARE(proxy.getPosition(4), 0.0);
    QCOMPARE(proxy.getPosition(QStringLiteral("4")), 400.0);
    QCOMPARE(proxy.getPosition(uuid), 500.0);
    QCOMPARE(proxy.getPosition(uuid.toString(QUuid::WithoutBraces)), 0.0);

    proxy.scrollTo(QStringLiteral("3"), Alignment::top, false);
    QCOMPARE(messages, QStringList{QStringLiteral("ID (3) not found.")});
    QVERIFY(view.requests.isEmpty());
}

void ScrollViewProxyTest::laterRegistrationWins()
{
    ScrollViewProxy proxy;
    proxy.updateFrames({{QStringLiteral("a"), QRectF(0, 10, 5, 5)},
                        {QStringLiteral("b"), QRectF(0, 20, 5, 5)},
                        {QStringLiteral("a"), QRectF(0, 30, 5, 5)}});
    QCOMPARE(proxy.frame(QStringLiteral("a")), QRectF(0, 30, 5, 5));
    // A later list without "b" leaves its last frame in place.
    proxy.updateFrames({{QStringLiteral("a"), QRectF(0, 40, 5, 5)}});
    QCOMPARE(proxy.frame(QStringLiteral("b")), QRectF(0, 20, 5, 5));
}

void ScrollViewProxyTest::getPosition()
{
    ScrollViewProxy proxy; // no scroll view: still answers from the registry
    proxy.setFrame(7, QRectF(12, 345.5, 10, 10));
    QCOMPARE(proxy.getPosition(7), 345.5);
    QCOMPARE(proxy.getPosition(8), 0.0);
}

void ScrollViewProxyTest::scrollToEdge_data()
{
    QTest::addColumn<Alignment>("alignment");
    QTest::addColumn<QPointF>("origin");

    QTest::newRow("top") << Alignment::top << QPointF(0, 0);
    QTest::newRow("bottom") << Alignment::bottom << QPointF(0, 1700);
    QTest::newRow("center") << Alignment::center << QPointF(0, 850);
    QTest::newRow("bottomTrailing") << Alignment::bottomTrailing << QPointF(0, 1700);
}

void ScrollViewProxyTest::scrollToEdge()
{
    QFETCH(Alignment, alignment);
    QFETCH(QPointF, origin);
    FakeScrollTarget view; // 400 x 300 over 400 x 2000
    ScrollViewProxy proxy;
    proxy.attachScrollView(&view);
    proxy.scrollTo(alignment, true);
    QCOMPARE(view.requests.size(), 1);
    QCOMPARE(view.requests[0].rect, QRectF(origin, QSizeF(400, 300)));
    QCOMPARE(view.requests[0].animated, true);
}

void ScrollViewProxyTest::edgeWithoutScrollViewDoesNothing()
{
    QStringList messages;
    ScrollViewProxy proxy([&messages](const QString &m) { messages.append(m); });
    proxy.scrollTo(Alignment::top, false);
    QCOMPARE(messages, QStringList());
}

void ScrollViewProxyTest::copiesShareRegistryAndView()
{
    FakeScrollTarget view;
    ScrollViewProxy proxy;
    const ScrollViewProxy copy = proxy;
    proxy.attachScrollView(&view);
    proxy.setFrame(QStringLiteral("x"), QRectF(0, 600, 10, 10));
    QCOMPARE(copy.space(), proxy.space());
    QCOMPARE(copy.scrollView(), &view);
    QCOMPARE(copy.getPosition(QStringLiteral("x")), 600.0);
    QVERIFY(ScrollViewProxy().space() != proxy.space());
}

void ScrollViewProxyTest::scrollViewIsHeldWeakly()
{
    QStringList messages;
    ScrollViewProxy proxy([&messages](const QString &m) { messages.append(m); });
    proxy.setFrame(1, QRectF(0, 600, 10, 10));
    {
        FakeScrollTarget view;
        proxy.attachScrollView(&view);
        QCOMPARE(proxy.scrollView(), &view);
    }
    QCOMPARE(proxy.scrollView(), nullptr);
    proxy.scrollTo(1, Alignment::top, false);
    QCOMPARE(messages, QStringList{QStringLiteral("No scroll view")});
}

void ScrollViewProxyTest::offsetFollowsAttachedView()
{
    FakeScrollTarget first;
    first.offsetNow = QPointF(0, 120);
    FakeScrollTarget second;
    second.offsetNow = QPointF(0, 40);
    ScrollViewProxy proxy;
    QSignalSpy spy(proxy.offset(), &velmora::ScrollOffsetPublisher::offsetChanged);
    QCOMPARE(proxy.offset()->offset(), QPointF(0, 0));

    proxy.attachScrollView(&first);
    QCOMPARE(spy.count(), 0); // replaced on the next turn of the main loop
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toPointF(), QPointF(0, 120));
    first.moveTo(QPointF(0, 200));
    QCOMPARE(proxy.offset()->offset(), QPointF(0, 200));

    proxy.attachScrollView(&first); // the same view: nothing new
    QTest::qWait(10);
    QCOMPARE(spy.count(), 2);

    proxy.attachScrollView(&second);
    QTRY_COMPARE(spy.count(), 3);
    QCOMPARE(proxy.offset()->offset(), QPointF(0, 40));
    first.moveTo(QPointF(0, 999)); // the old view no longer reports
    QCOMPARE(spy.count(), 3);
    second.moveTo(QPointF(0, 60));
    QCOMPARE(spy.count(), 4);
    QCOMPARE(proxy.offset()->offset(), QPointF(0, 60));
}

QTEST_GUILESS_MAIN(ScrollViewProxyTest)
#include "ScrollViewProxyTest.moc"
