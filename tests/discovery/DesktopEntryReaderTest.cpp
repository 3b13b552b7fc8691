#include "velmora/discovery/DesktopEntryReader.h"

#include "DiscoveryFixture.h"

#include <QTemporaryDir>
#include <QtTest>

using velmora::DesktopEntryReader;

namespace {
QByteArray entry(const QByteArray &extra)
{
    return "[Desktop Entry]\nType=Application\nName=Editor\nName[de]=Bearbeiter\nExec=sh %U\n" + extra;
}
} // namespace

class DesktopEntryReaderTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Read by GLib once, on first use.
        qputenv("LANGUAGE", "de");
        DiscoveryFixture::putStubProgramsOnPath();
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("category");

        QTest::newRow("plain, localized name") << entry("Categories=Utility;TextEditor;\n") << "GNOME" << true
                                               << true << "Bearbeiter" << "public.app-category.utilities";
        QTest::newRow("no translation for the language")
            << QByteArray("[Desktop Entry]\nType=Application\nName=Solo\nName[fr]=Seul\nExec=sh\n") << "GNOME"
            << true << true << "Solo" << "";
        QTest::newRow("NoDisplay") << entry("NoDisplay=true\n") << "GNOME" << true << false << "Bearbeiter" << "";
        QTest::newRow("Hidden, even without Type")
            << QByteArray("[Desktop Entry]\nHidden=true\n") << "GNOME" << true << false << "" << "";
        QTest::newRow("OnlyShowIn another desktop") << entry("OnlyShowIn=KDE;\n") << "GNOME" << true << false
                                                    << "Bearbeiter" << "";
        QTest::newRow("OnlyShowIn this desktop") << entry("OnlyShowIn=KDE;\n") << "KDE" << true << true
                                                 << "Bearbeiter" << "";
        QTest::newRow("OnlyShowIn, second of the current desktops")
            << entry("OnlyShowIn=GNOME;\n") << "ubuntu:GNOME" << true << true << "Bearbeiter" << "";
        QTest::newRow("NotShowIn this desktop") << entry("NotShowIn=GNOME;\n") << "GNOME" << true << false
                                                << "Bearbeiter" << "";
        QTest::newRow("first current desktop decides")
            << entry("NotShowIn=GNOME;\nOnlyShowIn=Unity;\n") << "Unity:GNOME" << true << true << "Bearbeiter" << "";
        QTest::newRow("OnlyShowIn with no current desktop") << entry("OnlyShowIn=KDE;\n") << "" << true << false
                                                            << "Bearbeiter" << "";
        QTest::newRow("TryExec not found") << entry("TryExec=velmora-no-such-program-xyz\n") << "GNOME" << true
                                           << false << "Bearbeiter" << "";
        QTest::newRow("Exec program not found")
            << QByteArray("[Desktop Entry]\nType=Application\nName=Gone\nExec=velmora-no-such-program-xyz\n")
            << "GNOME" << true << false << "Gone" << "";
        QTest::newRow("non-UTF-8 name is read leniently")
            << QByteArray("[Desktop Entry]\nType=Application\nName=Caf\xe9 Tool\nExec=sh\n") << "GNOME" << true
            << true << QString::fromUtf8("Caf\xef\xbf\xbd Tool") << "";
        QTest::newRow("Type=Link") << QByteArray("[Desktop Entry]\nType=Link\nName=Site\nURL=https://x/\n")
                                   << "GNOME" << false << false << "" << "";
        QTest::newRow("no Type") << QByteArray("[Desktop Entry]\nName=X\nExec=sh\n") << "GNOME" << false << false
                                 << "" << "";
        QTest::newRow("no Desktop Entry group") << QByteArray("[Something]\nType=Application\nName=X\n") << "GNOME"
                                                << false << false << "" << "";
        QTest::newRow("binary garbage") << QByteArray("\x7f" "ELF\x02\x01\x01\x00\x00\xff\xfe[", 13) << "GNOME"
                                        << false << false << "" << "";
        QTest::newRow("empty") << QByteArray() << "GNOME" << false << false << "" << "";
        QTest::newRow("line without equals sign")
            << QByteArray("[Desktop Entry]\nType=Application\nthis is not a key\nName=X\n") << "GNOME" << false
            << false << "" << "";
    }
    void parse()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, desktop);
        QFETCH(bool, valid);
        const auto parsed = DesktopEntryReader::parse(contents, "/apps/x.desktop", "x.desktop", desktop);
        QCOMPARE(parsed.has_value(), valid);
        if (!parsed)
            return;
        QFETCH(bool, shown);
        QFETCH(QString, name);
        QFETCH(QString, category);
        QCOMPARE(parsed->shown, shown);
        QCOMPARE(parsed->item.bundleID, QStringLiteral("x.desktop"));
        QCOMPARE(parsed->item.path, QStringLiteral("/apps/x.desktop"));
        if (shown || !name.isEmpty())
            QCOMPARE(parsed->item.displayName, name);
        QCOMPARE(parsed->item.categoryRawValue, category);
    }

    void readRefusesFilesOverOneMebibyte()
    {
        QTemporaryDir dir;
        QFile file(dir.path() + "/big.desktop");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(entry("Comment="));
        file.write(QByteArray(DesktopEntryReader::kMaxFileSize, 'x'));
        file.write("\n");
        file.close();
        QVERIFY(!DesktopEntryReader::read(file.fileName(), "big.desktop", "GNOME").has_value());
        QVERIFY(!DesktopEntryReader::read(dir.path() + "/missing.desktop", "m.desktop", "GNOME").has_value());
        QVERIFY(!DesktopEntryReader::read(dir.path(), "dir.desktop", "GNOME").has_value());
    }
};

QTEST_GUILESS_MAIN(DesktopEntryReaderTest)
#include "DesktopEntryReaderTest.moc"
