// The launch sequence and its three triggers, against a fake workspace.

#include "LauncherFixture.h"

#include "velmora/library/AppWorkspace.h"

using namespace velmora;
using namespace velmora::test;

namespace {

class FakeWorkspace final : public AppWorkspace {
public:
    QImage loadIcon(const QString &, int) override { return {}; }
    OperationResult open(const QString &path) override
    {
        opened.append(path);
        if (path.contains(QLatin1String("Broken")))
            return OperationResult::failure(QStringLiteral("Cannot open ") + path);
        return OperationResult::success();
    }
    QStringList opened;
};

struct Launcher {
    Launcher()
    {
        AppWorkspace::setCurrent(&workspace);
        Category *first = f.category(QStringLiteral("First"), 1);
        Category *second = f.category(QStringLiteral("Second"), 2);
        LauncherContent content{{first, {}}, {second, {}}};
        for (const char *name : {"Mail", "Maps", "Music", "Broken"})
            content[0].apps.append(f.app(QString::fromUtf8(name), first));
        content[1].apps.append(f.app(QStringLiteral("Notes"), second));
        f.model->setLauncherContent(content);
        f.model->setTotalWidth(400); // 3 columns: [First] / Mail Maps Music / Broken _ _ / [Second] / Notes _ _
        QCoreApplication::processEvents();
        f.model->setAnalyticsSignal([this](const QString &name, const QVariantMap &parameters) {
            signals_.append(name + QLatin1Char(':') + parameters.value(QStringLiteral("by")).toString());
            QCOMPARE(parameters.size(), 1);
        });
    }
    ~Launcher() { AppWorkspace::setCurrent(nullptr); }

    // The dismissal must come before the application is opened.
    LauncherViewObject::DismissWindow dismiss()
    {
        return [this] {
            ++dismissals;
            QVERIFY(workspace.opened.isEmpty());
        };
    }

    void waitForLaunch()
    {
        QSignalSpy finished(f.model.get(), &LauncherViewObject::launchFinished);
        QVERIFY(finished.wait(5000));
    }

    int visitsOf(const QString &name)
    {
        auto future = f.rank->stateForItem(QStringLiteral("/apps/") + name + QStringLiteral(".desktop"));
        await(future);
        return int(future.result().numberOfVisits);
    }

    LauncherFixture f;
    FakeWorkspace workspace;
    QStringList signals_;
    int dismissals = 0;
};

QString pathOf(const char *name)
{
    return QStringLiteral("/apps/") + QString::fromUtf8(name) + QStringLiteral(".desktop");
}

} // namespace

class LaunchSequenceTest : public QObject {
    Q_OBJECT

private slots:
    void returnOpensTheHighlightedApplication();
    void returnWithoutAnApplicationDoesNothing_data();
    void returnWithoutAnApplicationDoesNothing();
    void doubleClick();
    void commandNumber_data();
    void commandNumber();
    void failedOpeningStillCountsAndDismisses();
};

void LaunchSequenceTest::returnOpensTheHighlightedApplication()
{
    Launcher l;
    l.f.model->setHighlightItemY(1);
    l.f.model->setHighlightItemX(1);
    QVERIFY(l.f.model->launchHighlighted(l.dismiss()));
    QCOMPARE(l.dismissals, 1);
    l.waitForLaunch();
    QCOMPARE(l.workspace.opened, QStringList{pathOf("Maps")});
    QCOMPARE(l.signals_, QStringList{QStringLiteral("Launcher.launchApp:Enter")});
    QCOMPARE(l.visitsOf(QStringLiteral("Maps")), 1);
    QVERIFY(l.f.output.isEmpty());
}

void LaunchSequenceTest::returnWithoutAnApplicationDoesNothing_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("x");
    QTest::newRow("header") << 0 << 0;
    QTest::newRow("spacer") << 2 << 2;
    QTest::newRow("outside the grid") << 9 << 0;
}

void LaunchSequenceTest::returnWithoutAnApplicationDoesNothing()
{
    QFETCH(int, y);
    QFETCH(int, x);
    Launcher l;
    l.f.model->setHighlightItemY(y);
    l.f.model->setHighlightItemX(x);
    QVERIFY(!l.f.model->launchHighlighted(l.dismiss()));
    QCoreApplication::processEvents();
    QCOMPARE(l.dismissals, 0);
    QVERIFY(l.workspace.opened.isEmpty());
}

void LaunchSequenceTest::doubleClick()
{
    Launcher l;
    QSignalSpy dismissed(l.f.model.get(), &LauncherViewObject::dismissWindow);
    QVERIFY(l.f.model->launchTile(4, 0)); // the screen's form dismisses by signal
    QCOMPARE(dismissed.count(), 1);
    l.waitForLaunch();
    QCOMPARE(l.workspace.opened, QStringList{pathOf("Notes")});
    QCOMPARE(l.signals_, QStringList{QStringLiteral("Launcher.launchApp:DoubleClick")});
}

void LaunchSequenceTest::commandNumber_data()
{
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<bool>("numbersShown");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // empty: nothing opens

    QTest::newRow("third tile of the first category") << "" << true << "3" << pathOf("Music");
    QTest::newRow("fourth") << "" << true << "4" << pathOf("Broken");
    QTest::newRow("no tile has 5") << "" << true << "5" << "";
    QTest::newRow("not a digit") << "" << true << "x" << "";
    QTest::newRow("numbers hidden") << "" << false << "1" << "";
    QTest::newRow("search grid") << "m" << true << "2" << pathOf("Maps");
}

void LaunchSequenceTest::commandNumber()
{
    QFETCH(QString, searchText);
    QFETCH(bool, numbersShown);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    Launcher l;
    l.f.model->setSearchText(searchText);
    const bool launched = l.f.model->launchCommandNumber(key, numbersShown, l.dismiss());
    QCOMPARE(launched, !expected.isEmpty());
    QCOMPARE(l.dismissals, launched ? 1 : 0);
    if (!launched) {
        QCoreApplication::processEvents();
        QVERIFY(l.workspace.opened.isEmpty());
        return;
    }
    l.waitForLaunch();
    QCOMPARE(l.workspace.opened, QStringList{expected});
    if (!expected.contains(QLatin1String("Broken")))
        QCOMPARE(l.signals_, QStringList{QStringLiteral("Launcher.launchApp:Command-Shortcut")});
}

void LaunchSequenceTest::failedOpeningStillCountsAndDismisses()
{
    Launcher l;
    QVERIFY(l.f.model->launchTile(2, 0, l.dismiss()));
    QCOMPARE(l.dismissals, 1);
    l.waitForLaunch();
    QCOMPARE(l.workspace.opened, QStringList{pathOf("Broken")});
    QVERIFY(l.signals_.isEmpty());
    QCOMPARE(l.f.output, QStringList{QStringLiteral("Cannot open ") + pathOf("Broken")});
    QCOMPARE(l.visitsOf(QStringLiteral("Broken")), 1);
}

QTEST_GUILESS_MAIN(LaunchSequenceTest)
#include "LaunchSequenceTest.moc"
