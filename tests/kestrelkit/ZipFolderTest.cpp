#include "kestrelkit/ZipFolder.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>


using namespace kestrelkit;

namespace {

using test::zipEntries;

void write(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

class ZipFolderTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void notAFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain file") << "file.txt";
        QTest::newRow("missing") << "nothing-here";
    }
    void notAFolder()
    {
        QFETCH(QString, name);
        write(m_dir.filePath(QStringLiteral("file.txt")), "x");
        const ZipResult r = zipFolder(m_dir.filePath(name), m_dir.path());
        QVERIFY(!r.ok());
        QCOMPARE(r.error()->kind(), CreateZipError::Kind::urlNotDirectory);
        QCOMPARE(r.error()->payload(), m_dir.filePath(name));
    }

    void zipsTheWholeTreeAndReplacesAnOlderArchive()
    {
        const QString folder = m_dir.filePath(QStringLiteral("src/logs"));
        write(folder + QStringLiteral("/a.log"), "alpha\n");
        write(folder + QStringLiteral("/sub/b.txt"), QByteArray(100000, 'b'));
        write(folder + QStringLiteral("/.hidden"), "h");
        QVERIFY(QFile::link(m_dir.filePath(QStringLiteral("src")), folder + QStringLiteral("/loop")));
        const QString temp = m_dir.filePath(QStringLiteral("tmp"));
        write(temp + QStringLiteral("/logs.zip"), "an older archive");

        const ZipResult r = zipFolder(folder, temp);
        QVERIFY(r.ok());
        QCOMPARE(r.archivePath(), temp + QStringLiteral("/logs.zip"));
        const auto entries = zipEntries(r.archivePath());
        QCOMPARE(entries.keys(), (QStringList{QStringLiteral("logs/"), QStringLiteral("logs/.hidden"),
                                              QStringLiteral("logs/a.log"), QStringLiteral("logs/sub/"),
                                              QStringLiteral("logs/sub/b.txt")}));
        QCOMPARE(entries.value(QStringLiteral("logs/a.log")), QByteArray("alpha\n"));
        QCOMPARE(entries.value(QStringLiteral("logs/sub/b.txt")), QByteArray(100000, 'b'));
        // No staging files left behind.
        QCOMPARE(QDir(temp).entryList(QDir::Files), QStringList{QStringLiteral("logs.zip")});
    }

    void anEmptyFolderGivesAnArchiveWithItsFolder()
    {
        const QString folder = m_dir.filePath(QStringLiteral("empty"));
        QDir().mkpath(folder);
        const ZipResult r = zipFolder(folder, m_dir.path());
        QVERIFY(r.ok());
        QCOMPARE(zipEntries(r.archivePath()).keys(), QStringList{QStringLiteral("empty/")});
    }

    void anUnusableTemporaryFolderFailsToCreate()
    {
        const QString folder = m_dir.filePath(QStringLiteral("some"));
        write(folder + QStringLiteral("/x"), "x");
        const ZipResult r = zipFolder(folder, m_dir.filePath(QStringLiteral("no/such/tmp")));
        QVERIFY(!r.ok());
        QCOMPARE(r.error()->kind(), CreateZipError::Kind::failedToCreateZip);
    }
};

QTEST_GUILESS_MAIN(ZipFolderTest)
#include "ZipFolderTest.moc"
