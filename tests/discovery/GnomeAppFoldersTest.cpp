#include "velmora/discovery/GnomeAppFolders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using velmora::GnomeAppFolder;
using velmora::GnomeAppFolders;

class GnomeAppFoldersTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_schemas;

    QString writeKeyfile(const QByteArray &contents)
    {
        const QString path = m_dir.path() + "/keyfile";
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        f.write(contents);
        return path;
    }

private slots:
    void initTestCase()
    {
        m_schemas = m_dir.path() + "/schemas";
        QDir().mkpath(m_schemas);
        QVERIFY(QFile::copy(VELMORA_FIXTURES "/discovery/gschemas/org.gnome.desktop.app-folders.gschema.xml",
                            m_schemas + "/org.gnome.desktop.app-folders.gschema.xml"));
        QCOMPARE(QProcess::execute("glib-compile-schemas", {m_schemas}), 0);
    }

    void readsFoldersFromTheSettings()
    {
        const QString keyfile = writeKeyfile(
            "[org/gnome/desktop/app-folders]\n"
            "folder-children=['Utilities', 'YaST', 'bad/child', '', 'Office']\n"
            "[org/gnome/desktop/app-folders/folders/Utilities]\n"
            "name='X-GNOME-Utilities.directory'\ntranslate=true\n"
            "apps=['org.gnome.Calculator.desktop']\n"
            "categories=['X-GNOME-Utilities']\nexcluded-apps=['org.gnome.Logs.desktop']\n"
            "[org/gnome/desktop/app-folders/folders/YaST]\n"
            "name='YaST'\ncategories=['X-SuSE-YaST']\n"
            "[org/gnome/desktop/app-folders/folders/Office]\n"
            "name='Office'\napps='not a list'\ntranslate='yes'\n");
        const QByteArray before = [&] { QFile f(keyfile); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        const auto folders = GnomeAppFolders::read({m_schemas, keyfile});
        QVERIFY(folders);
        QCOMPARE(folders->size(), 3); // "bad/child" and "" would be malformed settings paths
        const GnomeAppFolder &utilities = folders->at(0);
        QCOMPARE(utilities.id, QStringLiteral("Utilities"));
        QCOMPARE(utilities.name, QStringLiteral("X-GNOME-Utilities.directory"));
        QVERIFY(utilities.translate);
        QCOMPARE(utilities.apps, QStringList{"org.gnome.Calculator.desktop"});
        QCOMPARE(utilities.categories, QStringList{"X-GNOME-Utilities"});
        QCOMPARE(utilities.excludedApps, QStringList{"org.gnome.Logs.desktop"});
        QCOMPARE(folders->at(1).name, QStringLiteral("YaST"));
        QVERIFY(!folders->at(1).translate);
        // Values of the wrong type read as the defaults.
        QCOMPARE(folders->at(2).name, QStringLiteral("Office"));
        QVERIFY(!folders->at(2).translate);
        QCOMPARE(folders->at(2).apps, QStringList{});
        const QByteArray after = [&] { QFile f(keyfile); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        QCOMPARE(after, before); // only read
    }

    void missingSchemaIsNone()
    {
        QTemporaryDir empty;
        QCOMPARE(QProcess::execute("glib-compile-schemas", {empty.path()}), 0);
        QCOMPARE(GnomeAppFolders::read({empty.path(), writeKeyfile("")}), std::nullopt);
        QCOMPARE(GnomeAppFolders::read({empty.path() + "/nothing-here", {}}), std::nullopt);
    }

    void noFolders()
    {
        const auto folders = GnomeAppFolders::read({m_schemas, writeKeyfile("")});
        QVERIFY(folders);
        QVERIFY(folders->isEmpty());
    }

    void displayName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("translate");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain name") << "Office" << false << "Office";
        QTest::newRow("translated directory file") << "X-GNOME-Utilities.directory" << true << "Utilities";
        QTest::newRow("not translated keeps the file name")
            << "X-GNOME-Utilities.directory" << false << "X-GNOME-Utilities.directory";
        QTest::newRow("missing directory file") << "Nope.directory" << true << "Nope.directory";
    }
    void displayName()
    {
        QFETCH(QString, name);
        QFETCH(bool, translate);
        QFETCH(QString, expected);
        const QString data = m_dir.path() + "/data";
        QDir().mkpath(data + "/desktop-directories");
        QFile f(data + "/desktop-directories/X-GNOME-Utilities.directory");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Desktop Entry]\nName=Utilities\nType=Directory\n");
        f.close();
        GnomeAppFolder folder;
        folder.name = name;
        folder.translate = translate;
        QCOMPARE(GnomeAppFolders::displayName(folder, {m_dir.path() + "/nowhere", data}), expected);
    }
};

QTEST_GUILESS_MAIN(GnomeAppFoldersTest)
#include "GnomeAppFoldersTest.moc"
