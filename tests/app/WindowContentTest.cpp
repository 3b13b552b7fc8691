#include "velmora/app/WindowContent.h"

#include "velmora/app/PlaceholderLauncherModel.h"
#include "velmora/app/PublicSettings.h"
#include "velmora/app/VelmoraWindow.h"

#include "kestrelkit/DefaultsStore.h"

#include <QQuickItem>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class WindowContentTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    static QQuickItem *findWithProperty(QQuickItem *item, const char *name)
    {
        if (item->property(name).isValid())
            return item;
        for (QQuickItem *child : item->childItems()) {
            if (QQuickItem *found = findWithProperty(child, name))
                return found;
        }
        return nullptr;
    }

private slots:
    void launcherPageTakesTypingAndFollowsFullScreen()
    {
        kestrelkit::DefaultsStore store(m_dir.filePath(QStringLiteral("d.json")));
        PublicSettings settings(&store);
        PlaceholderLauncherModel model;
        model.setItems({QStringLiteral("Vim"), QStringLiteral("Velmora Fixture"), QStringLiteral("Files")});
        WindowContent content;
        VelmoraWindow window;
        window.resize(640, 580);
        QVERIFY(content.loadLauncher(window, settings, &model));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        for (char c : QByteArray("vim"))
            QTest::keyClick(&window, c);
        QTest::keyClick(&window, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(model.searchText(), QStringLiteral("vim"));
        QCOMPARE(model.rowCount(), 1);

        QQuickItem *background = findWithProperty(window.contentItem(), "radius");
        QVERIFY(background);
        QCOMPARE(background->property("radius").toDouble(), 28.0);
        settings.setFullscreen(true);
        QTRY_COMPARE(background->property("radius").toDouble(), 0.0);
    }
};

QTEST_MAIN(WindowContentTest)
#include "WindowContentTest.moc"
