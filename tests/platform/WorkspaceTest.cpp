#include "velmora/platform/Workspace.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

void writeText(const QString &path, const QByteArray &text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QImage solid(int size, QColor color) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QByteArray desktopEntry(const QByteArray &exec, const QByteArray &icon = {}) {
    QByteArray text = "[Desktop Entry]\nType=Application\nName=Probe\nExec=" + exec + "\n";
    if (!icon.isEmpty()) text += "Icon=" + icon + "\n";
    return text;
}

// Swaps PATH for the length of a test.
class ScopedPath {
public:
    explicit ScopedPath(const QByteArray &path)
        : m_saved(qgetenv("PATH")) {
        qputenv("PATH", path);
    }
    ~ScopedPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
};

} // namespace

class WorkspaceTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Workspace m_workspace;

    QString file(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void openStartsADesktopEntry() {
        const QString marker = file(QStringLiteral("launched"));
        const QString entry = file(QStringLiteral("probe.desktop"));
        writeText(entry, desktopEntry("touch " + marker.toUtf8()));
        const OperationResult result = m_workspace.open(entry);
        QVERIFY2(result, qPrintable(result.error()));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    }

    void openReportsThePlatformsError_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("missing program")
            << desktopEntry("/nonexistent/velmora-no-such-program") << "cannot be started";
        QTest::newRow("not an entry") << QByteArray("just text") << "cannot be started";
        // No terminal to run it in (PATH holds none): the message is GIO's own.
        QTest::newRow("no terminal") << desktopEntry("/bin/true") + "Terminal=true\n"
                                     << "terminal";
    }

    void openReportsThePlatformsError() {
        QFETCH(QByteArray, content);
        QFETCH(QString, errorPart);
        const QString emptyBin = file(QStringLiteral("empty-bin"));
        QDir().mkpath(emptyBin);
        ScopedPath path(emptyBin.toUtf8());
        const QString entry = file(QStringLiteral("broken.desktop"));
        writeText(entry, content);
        const OperationResult result = m_workspace.open(entry);
        QVERIFY(!result);
        QVERIFY2(result.error().contains(errorPart), qPrintable(result.error()));
    }

    void openBundleWithoutAnOpenProgramIsAnError() {
        const QString bundle = file(QStringLiteral("Mixer.app"));
        QDir().mkpath(bundle + QStringLiteral("/Contents"));
        const QString emptyBin = file(QStringLiteral("empty-bin"));
        QDir().mkpath(emptyBin);
        ScopedPath path(emptyBin.toUtf8());
        const OperationResult result = m_workspace.open(bundle);
        QVERIFY(!result);
        QVERIFY2(result.error().contains(QStringLiteral("No program")), qPrintable(result.error()));
    }

    void openBundleUsesTheOpenProgram() {
        const QString bundle = file(QStringLiteral("Mixer.app"));
        QDir().mkpath(bundle + QStringLiteral("/Contents"));
        const QString bin = file(QStringLiteral("bin"));
        const QString marker = file(QStringLiteral("open-args"));
        writeText(bin + QStringLiteral("/open"),
                  "#!/bin/sh\necho \"$@\" > " + marker.toUtf8() + "\n");
        QFile::setPermissions(bin + QStringLiteral("/open"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ScopedPath path(bin.toUtf8() + ":/usr/bin:/bin");
        QVERIFY(m_workspace.open(bundle));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker) && QFileInfo(marker).size() > 0, 10000);
        QFile args(marker);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll().trimmed(), "-a " + bundle.toUtf8());
    }

    void desktopIconFromAbsolutePath() {
        const QString png = file(QStringLiteral("icons/probe.png"));
        QDir().mkpath(QFileInfo(png).absolutePath());
        QVERIFY(solid(256, Qt::red).save(png));
        const QString entry = file(QStringLiteral("icon.desktop"));
        writeText(entry, desktopEntry("true", png.toUtf8()));
        const QImage icon = m_workspace.loadIcon(entry, 128);
        QCOMPARE(icon.size(), QSize(128, 128));
        QCOMPARE(icon.pixelColor(64, 64), QColor(Qt::red));
    }

    void desktopIconFromTheTheme() {
        const QString theme = file(QStringLiteral("theme/hicolor"));
        writeText(theme + QStringLiteral("/index.theme"),
                  "[Icon "
                  "Theme]\nName=Hicolor\nDirectories=128x128/apps\n\n[128x128/"
                  "apps]\nSize=128\nType=Fixed\n");
        QVERIFY(QDir().mkpath(theme + QStringLiteral("/128x128/apps")));
        QVERIFY(
            solid(128, Qt::blue).save(theme + QStringLiteral("/128x128/apps/velmora-probe.png")));
        QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << file(QStringLiteral("theme")));
        const QString entry = file(QStringLiteral("themed.desktop"));
        // TryExec names a missing program: the icon is still found.
        writeText(entry, desktopEntry("true", "velmora-probe") + "TryExec=/nonexistent/program\n");
        const QImage icon = m_workspace.loadIcon(entry, 128);
        QCOMPARE(icon.size(), QSize(128, 128));
        QCOMPARE(icon.pixelColor(64, 64), QColor(Qt::blue));
    }

    void bundleIconFromInfoPlist_data() {
        QTest::addColumn<QString>("iconFile");
        QTest::addColumn<QString>("stored");
        QTest::newRow("without extension") << "AppIcon"
                                           << "AppIcon.icns";
        QTest::newRow("with extension") << "Other.icns"
                                        << "Other.icns";
    }

    void bundleIconFromInfoPlist() {
        QFETCH(QString, iconFile);
        QFETCH(QString, stored);
        if (!QImageWriter::supportedImageFormats().contains("icns"))
            QSKIP("Qt's ICNS plugin is not installed");
        const QString bundle = file(QStringLiteral("Painter-%1.app")
                                        .arg(QTest::currentDataTag())
                                        .replace(QLatin1Char(' '), QLatin1Char('-')));
        writeText(bundle + QStringLiteral("/Contents/Info.plist"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                  "<key>CFBundleIconFile</key><string>" +
                      iconFile.toUtf8() + "</string></dict></plist>\n");
        QDir().mkpath(bundle + QStringLiteral("/Contents/Resources"));
        QImageWriter writer(bundle + QStringLiteral("/Contents/Resources/") + stored, "icns");
        QVERIFY2(writer.write(solid(256, Qt::green)), qPrintable(writer.errorString()));

        const QImage icon = m_workspace.loadIcon(bundle, 128);
        QCOMPARE(icon.size(), QSize(128, 128));
        QCOMPARE(icon.pixelColor(64, 64), QColor(Qt::green));
    }

    void aliasesResolveToTheirTarget() {
        const QString png = file(QStringLiteral("alias/target.png"));
        QDir().mkpath(QFileInfo(png).absolutePath());
        QVERIFY(solid(64, Qt::yellow).save(png));
        const QString target = file(QStringLiteral("alias/target.desktop"));
        writeText(target, desktopEntry("true", png.toUtf8()));
        const QString link = file(QStringLiteral("alias/link.desktop"));
        const QString chain = file(QStringLiteral("alias/chain"));
        QVERIFY(QFile::link(target, link));
        QVERIFY(QFile::link(link, chain));

        QCOMPARE(Workspace::resolveAlias(target), target);
        QCOMPARE(Workspace::resolveAlias(link), target);
        // A link without the .desktop name still shows its target's icon.
        QCOMPARE(Workspace::resolveAlias(chain), target);
        QCOMPARE(m_workspace.loadIcon(chain, 128).pixelColor(10, 10), QColor(Qt::yellow));

        const QString dangling = file(QStringLiteral("alias/dangling.desktop"));
        QVERIFY(QFile::link(file(QStringLiteral("alias/gone.desktop")), dangling));
        QString error;
        QCOMPARE(Workspace::resolveAlias(dangling, &error), std::nullopt);
        QVERIFY2(error.contains(QStringLiteral("gone.desktop")), qPrintable(error));
    }

    void multiSizeFilesGiveOneFittingImage() {
        if (!QImageWriter::supportedImageFormats().contains("icns"))
            QSKIP("Qt's ICNS plugin is not installed");
        const QString small = file(QStringLiteral("small.icns"));
        QImageWriter writer(small, "icns");
        QVERIFY(writer.write(solid(32, Qt::cyan)));
        const QImage icon = Workspace::imageFromFile(small, 128);
        QCOMPARE(icon.size(), QSize(32, 32));
        QVERIFY(Workspace::imageFromFile(file(QStringLiteral("missing.png")), 128).isNull());
    }
};

QTEST_MAIN(WorkspaceTest)
#include "WorkspaceTest.moc"
