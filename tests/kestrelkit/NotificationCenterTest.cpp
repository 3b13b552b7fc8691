#include "kestrelkit/NotificationCenter.h"

#include <QSignalSpy>
#include <QTest>

#include <thread>

using kestrelkit::NotificationCenter;

class NotificationCenterTest : public QObject {
    Q_OBJECT
private slots:
    void deliversByExactNameWithUserInfo()
    {
        QObject context;
        QStringList seen;
        auto &center = NotificationCenter::defaultCenter();
        center.addObserver("keyboardPressedCommandNumberSet", &context,
                           [&](const QVariantMap &info) { seen << info.value("key").toString(); });
        center.post("keyboardPressedCommandNumberSet", {{"key", "3"}});
        center.post("keyboardPressedOptionNumberSet", {{"key", "4"}});
        QCOMPARE(seen, QStringList{"3"});
    }

    void observerDiesWithItsContext()
    {
        int calls = 0;
        auto &center = NotificationCenter::defaultCenter();
        {
            QObject context;
            center.addObserver("showMainWindow", &context, [&](const QVariantMap &) { ++calls; });
            center.post("showMainWindow");
        }
        center.post("showMainWindow");
        QCOMPARE(calls, 1);
    }

    void removedObserverIsNotCalled()
    {
        QObject context;
        int calls = 0;
        auto &center = NotificationCenter::defaultCenter();
        const int token = center.addObserver("checkUpdate", &context, [&](const QVariantMap &) { ++calls; });
        center.removeObserver(token);
        center.post("checkUpdate");
        QCOMPARE(calls, 0);
    }

    void postFromAnotherThreadArrivesOnTheMainThread()
    {
        QObject context;
        QThread *deliveredOn = nullptr;
        auto &center = NotificationCenter::defaultCenter();
        center.addObserver("updateFullScreen", &context,
                           [&](const QVariantMap &) { deliveredOn = QThread::currentThread(); });
        QSignalSpy spy(&center, &NotificationCenter::posted);
        std::thread([&] { center.post("updateFullScreen"); }).join();
        QVERIFY(spy.wait(1000));
        QCOMPARE(deliveredOn, QThread::currentThread());
    }
};

QTEST_GUILESS_MAIN(NotificationCenterTest)
#include "NotificationCenterTest.moc"
