// Which renderer draws the windows: the GPU's when this process can open a render node,
// Qt Quick's software renderer otherwise, and always what the user set.

#include "velmora/app/GraphicsBackend.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::GraphicsBackend)

class GraphicsBackendTest : public QObject {
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QStringList>("nodes"); // files in the dri folder; "-" prefix: not openable
        QTest::addColumn<QString>("variable");  // set to "software" when not empty
        QTest::addColumn<GraphicsBackend>("expected");
        QTest::newRow("render node") << QStringList{"card0", "renderD128"} << "" << GraphicsBackend::gpu;
        QTest::newRow("no dri folder") << QStringList{"(none)"} << "" << GraphicsBackend::software;
        QTest::newRow("display node only") << QStringList{"card0"} << "" << GraphicsBackend::software;
        QTest::newRow("render node not ours") << QStringList{"-renderD128"} << "" << GraphicsBackend::software;
        QTest::newRow("user's backend") << QStringList{} << "QT_QUICK_BACKEND" << GraphicsBackend::userChoice;
        QTest::newRow("user's RHI backend") << QStringList{"renderD128"} << "QSG_RHI_BACKEND"
                                            << GraphicsBackend::userChoice;
    }
    void choice()
    {
        QFETCH(QStringList, nodes);
        QFETCH(QString, variable);
        QFETCH(GraphicsBackend, expected);
        QTemporaryDir root;
        QString dri = root.filePath(QStringLiteral("dri"));
        if (nodes == QStringList{QStringLiteral("(none)")})
            dri = root.filePath(QStringLiteral("missing"));
        else
            QVERIFY(QDir().mkpath(dri));
        for (QString node : nodes) {
            if (node == QLatin1String("(none)"))
                continue;
            const bool openable = !node.startsWith(u'-');
            node.remove(u'-');
            QFile file(QDir(dri).filePath(node));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            if (!openable) {
                // Root opens anything: make it a dangling link instead.
                QVERIFY(file.remove());
                QVERIFY(QFile::link(root.filePath(QStringLiteral("gone")), QDir(dri).filePath(node)));
            }
        }
        const auto environment = [&variable](const char *name) {
            return variable == QLatin1String(name) ? QStringLiteral("software") : QString();
        };
        QCOMPARE(chooseGraphicsBackend(dri, environment), expected);
    }
};

QTEST_GUILESS_MAIN(GraphicsBackendTest)
#include "GraphicsBackendTest.moc"
