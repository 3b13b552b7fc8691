#include "velmora/discovery/AppBundleReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using velmora::AppBundleReader;

namespace {

QByteArray fixturePlist(const char *bundle)
{
    QFile f(QStringLiteral(VELMORA_FIXTURES "/discovery/tree/Applications/%1/Contents/Info.plist")
                .arg(QLatin1String(bundle)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray xmlPlist(const QByteArray &dictBody)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
           "1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">"
           "<dict>"
           + dictBody + "</dict></plist>\n";
}

} // namespace

class AppBundleReaderTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("plist");
        QTest::addColumn<QString>("bundlePath");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("bundleID");
        QTest::addColumn<QString>("category");

        QTest::newRow("xml, display name wins over name")
            << fixturePlist("Safari.app") << "/A/Safari.app" << true << "Safari" << "com.apple.Safari"
            << "public.app-category.productivity";
        QTest::newRow("binary plist") << fixturePlist("Xcode.app") << "/A/Xcode.app" << true << "Xcode"
                                      << "com.apple.dt.Xcode" << "public.app-category.developer-tools";
        QTest::newRow("no names: folder name without .app")
            << xmlPlist("<key>CFBundleIdentifier</key><string>org.x</string>") << "/A/My Tool.app"
            << true << "My Tool" << "org.x" << "";
        QTest::newRow("empty display name falls back to name")
            << xmlPlist("<key>CFBundleIdentifier</key><string>org.x</string><key>CFBundleDisplayName</key>"
                        "<string></string><key>CFBundleName</key><string>Named</string>")
            << "/A/X.app" << true << "Named" << "org.x" << "";
        QTest::newRow("category kept verbatim")
            << xmlPlist("<key>CFBundleIdentifier</key><string>org.x</string>"
                        "<key>LSApplicationCategoryType</key><string>Public.App-Category.Games</string>")
            << "/A/X.app" << true << "X" << "org.x" << "Public.App-Category.Games";
        QTest::newRow("category not a string")
            << xmlPlist("<key>CFBundleIdentifier</key><string>org.x</string>"
                        "<key>LSApplicationCategoryType</key><integer>3</integer>")
            << "/A/X.app" << true << "X" << "org.x" << "";
        QTest::newRow("no identifier") << fixturePlist("Nameless.app") << "/A/Nameless.app" << false << "" << "" << "";
        QTest::newRow("identifier not a string")
            << xmlPlist("<key>CFBundleIdentifier</key><array/>") << "/A/X.app" << false << "" << "" << "";
        QTest::newRow("root is an array")
            << QByteArray("<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>a</string></array></plist>")
            << "/A/X.app" << false << "" << "" << "";
        QTest::newRow("empty") << QByteArray() << "/A/X.app" << false << "" << "" << "";
        QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe\x13garbage\x00\x01", 14) << "/A/X.app"
                                        << false << "" << "" << "";
        QTest::newRow("truncated binary plist")
            << fixturePlist("Xcode.app").left(40) << "/A/X.app" << false << "" << "" << "";
        QTest::newRow("unterminated xml")
            << xmlPlist("<key>CFBundleIdentifier</key><string>org.x").left(150) << "/A/X.app" << false << ""
            << "" << "";
    }
    void parse()
    {
        QFETCH(QByteArray, plist);
        QFETCH(QString, bundlePath);
        QFETCH(bool, valid);
        const auto item = AppBundleReader::parse(plist, bundlePath);
        QCOMPARE(item.has_value(), valid);
        if (!item)
            return;
        QFETCH(QString, name);
        QFETCH(QString, bundleID);
        QFETCH(QString, category);
        QCOMPARE(item->displayName, name);
        QCOMPARE(item->bundleID, bundleID);
        QCOMPARE(item->categoryRawValue, category);
        QCOMPARE(item->path, bundlePath);
        QCOMPARE(item->kind, velmora::MetadataItem::Kind::AppBundle);
    }

    void readRejectsOddFiles()
    {
        QTemporaryDir dir;
        const QString bundle = dir.path() + "/Odd.app";
        QVERIFY(!AppBundleReader::read(bundle).has_value()); // no bundle at all
        QDir().mkpath(bundle + "/Contents/Info.plist");     // Info.plist is a folder
        QVERIFY(!AppBundleReader::read(bundle).has_value());
        QDir(bundle + "/Contents/Info.plist").removeRecursively();
        QFile big(bundle + "/Contents/Info.plist");
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(xmlPlist("<key>CFBundleIdentifier</key><string>org.big</string>"));
        big.write(QByteArray(AppBundleReader::kMaxPlistSize, ' '));
        big.close();
        QVERIFY(!AppBundleReader::read(bundle).has_value());
    }
};

QTEST_GUILESS_MAIN(AppBundleReaderTest)
#include "AppBundleReaderTest.moc"
