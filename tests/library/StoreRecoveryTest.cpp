#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"

#include "kestrelkit/Logger.h"

#include "StoreFixture.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void buildNewerStore(const QString &path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(buildStoreFromFixture(QStringLiteral("store-1.0.1.sql"), path));
    SqlFile sql(path);
    QVERIFY(sql.exec("UPDATE StoreMetadata SET value = '1.2.0' WHERE key = 'schemaVersion'"));
}

struct ProbeRun {
    int exitCode = -1;
    QString output;
};

ProbeRun runProbe(const QString &dataHome) {
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(VELMORA_STORE_OPEN_PROBE), {});
    probe.waitForFinished(30000);
    return {probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1,
            QString::fromUtf8(probe.readAllStandardOutput())};
}

} // namespace

class StoreRecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void unreadableFilesAreRefused_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("These are my notes, not a database.\n");
        QTest::newRow("garbage") << QByteArray(8192, '\xA5');
        QTest::newRow("truncated header")
            << QByteArray("SQLite format 3\0", 16) + QByteArray(84, '\0');
    }

    void unreadableFilesAreRefused() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.sqlite"));
        writeFile(path, content);
        DataModel::OpenError error;
        QVERIFY(!DataModel::open(path, &error));
        QCOMPARE(error.kind, DataModel::OpenError::Kind::Unreadable);
        QVERIFY(!error.message.isEmpty());
        // Opening alone moves nothing.
        QCOMPARE(readAll(path), content);
    }

    void foreignDatabaseIsRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.sqlite"));
        SqlFile(path).exec("CREATE TABLE notes(text TEXT); INSERT INTO notes VALUES('keep me');");
        DataModel::OpenError error;
        QVERIFY(!DataModel::open(path, &error));
        QCOMPARE(error.kind, DataModel::OpenError::Kind::Unreadable);
        QVERIFY2(error.message.contains(QStringLiteral("not a Velmora store")),
                 qPrintable(error.message));
    }

    void unreadableStoreIsMovedAsideWithCompanions() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.sqlite"));
        writeFile(path, "garbage");
        writeFile(path + QStringLiteral("-wal"), "wal");
        writeFile(path + QStringLiteral("-shm"), "shm");

        DataModel::OpenError error;
        QVERIFY(!DataModel::open(path, &error));
        const QString aside = DataModel::handleOpenFailure(path, error);
        QVERIFY(aside.startsWith(path + QStringLiteral(".corrupt-")));
        QCOMPARE(readAll(aside), QByteArray("garbage"));
        QCOMPARE(readAll(aside + QStringLiteral("-wal")), QByteArray("wal"));
        QVERIFY(QFile::exists(aside + QStringLiteral("-shm")));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));

        // The next start begins with an empty store.
        auto model = DataModel::open(path);
        QVERIFY(model);
        QVERIFY(model->allCategories().isEmpty());
    }

    void newerStoreIsLeftExactlyWhereItIs() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.sqlite"));
        buildNewerStore(path);
        const QByteArray before = readAll(path);
        const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);

        DataModel::OpenError error;
        QVERIFY(!DataModel::open(path, &error));
        QCOMPARE(error.kind, DataModel::OpenError::Kind::NewerVersion);
        QVERIFY2(error.message.contains(QStringLiteral("1.2.0")), qPrintable(error.message));
        QCOMPARE(DataModel::handleOpenFailure(path, error), QString());
        QCOMPARE(readAll(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), filesBefore);
    }

    void undecodableRankStateLoadsAfreshAndKeepsItsText() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.sqlite"));
        {
            auto model = DataModel::open(path);
            QVERIFY(model);
            Category *category = model->mainContext().insertCategory(
                {QStringLiteral("Tools"), QStringLiteral("folder"), 0, {}, {}});
            model->mainContext().insertAppRecord({QStringLiteral("Broken"),
                                                  QStringLiteral("org.b"),
                                                  QStringLiteral("/b.desktop"),
                                                  category,
                                                  {}});
            QVERIFY(model->mainContext().save());
        }
        const QString broken = QStringLiteral("{\"nextVisits\":{},\"visitNumber\":\"many\"}");
        QVERIFY(SqlFile(path).exec("UPDATE AppRecord SET rankState = '" + broken.toUtf8() + "'"));

        const auto logged = [] {
            int count = 0;
            for (const kestrelkit::LogEntry &entry : kestrelkit::LogStore::shared().allEntries())
                count += entry.category == QLatin1String("DataModel") &&
                         entry.level == kestrelkit::LogLevel::Error &&
                         entry.message.contains(QStringLiteral("/b.desktop"));
            return count;
        };
        const int loggedBefore = logged();
        auto model = DataModel::open(path);
        QVERIFY(model);
        AppRecord *record = model->appRecord(QStringLiteral("/b.desktop"));
        QVERIFY(record);
        QVERIFY(record->rankState().isEmpty());
        QVERIFY(record->rankState().isEmpty());
        QCOMPARE(logged(), loggedBefore + 1);

        // Writing another field keeps the stored text.
        record->setDisplayName(QStringLiteral("Renamed"));
        QVERIFY(model->mainContext().save());
        QCOMPARE(SqlFile(path).value("SELECT rankState FROM AppRecord"), broken);

        // Setting a state replaces it, even the initial one.
        record->setRankState(RankState{});
        QVERIFY(model->mainContext().hasChanges());
        QVERIFY(model->mainContext().save());
        QCOMPARE(SqlFile(path).value("SELECT rankState FROM AppRecord"),
                 QString::fromUtf8(RankState{}.toJson()));
    }

    void unknownReservedTypeIsKept() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.sqlite"));
        {
            auto model = DataModel::open(path);
            QVERIFY(model);
            model->mainContext().insertCategory(
                {QStringLiteral("Faves"), QStringLiteral("star"), 0, {}, {}});
            QVERIFY(model->mainContext().save());
        }
        QVERIFY(SqlFile(path).exec("UPDATE Category SET reservedType = 'favourites'"));
        auto model = DataModel::open(path);
        QVERIFY(model);
        Category *category = model->allCategories().first();
        QCOMPARE(category->reservedType(), std::nullopt);
        category->setTitle(QStringLiteral("Favourites"));
        QVERIFY(model->mainContext().save());
        QCOMPARE(SqlFile(path).value("SELECT title || '|' || reservedType FROM Category"),
                 QStringLiteral("Favourites|favourites"));
    }

    void defaultPathFollowsXdgDataHome() {
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", "/tmp/velmora-xdg-data");
        QCOMPARE(DataModel::defaultStorePath(),
                 QStringLiteral("/tmp/velmora-xdg-data/Velmora/Velmora.sqlite"));
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(DataModel::defaultStorePath(),
                 QDir::homePath() + QStringLiteral("/.local/share/Velmora/Velmora.sqlite"));
        qputenv("XDG_DATA_HOME", saved);
    }

    void sharedOpensOnceAndCanBeReplaced() {
        DataModel &first = DataModel::shared();
        QCOMPARE(first.path(), DataModel::defaultStorePath());
        QCOMPARE(&DataModel::shared(), &first);
        QTemporaryDir dir;
        auto replacement = DataModel::open(dir.filePath(QStringLiteral("Other.sqlite")));
        DataModel *raw = replacement.get();
        DataModel::setShared(std::move(replacement));
        QCOMPARE(&DataModel::shared(), raw);
        DataModel::setShared(nullptr);
    }

    void processExitsWhenTheStoreCannotBeOpened() {
        QTemporaryDir dataHome;
        const QString path = dataHome.filePath(QStringLiteral("Velmora/Velmora.sqlite"));
        writeFile(path, "not a store");

        const ProbeRun failed = runProbe(dataHome.path());
        QVERIFY(failed.exitCode != 0);
        QVERIFY2(failed.output.startsWith(QStringLiteral("Failed to create model container: ")),
                 qPrintable(failed.output));
        QVERIFY(!failed.output.contains(QStringLiteral("opened")));
        QCOMPARE(QDir(dataHome.filePath(QStringLiteral("Velmora")))
                     .entryList({QStringLiteral("Velmora.sqlite.corrupt-*")}, QDir::Files)
                     .size(),
                 1);

        const ProbeRun next = runProbe(dataHome.path());
        QCOMPARE(next.exitCode, 0);
        QCOMPARE(next.output, QStringLiteral("opened\n"));
    }

    void processExitsAndKeepsANewerStore() {
        QTemporaryDir dataHome;
        const QString path = dataHome.filePath(QStringLiteral("Velmora/Velmora.sqlite"));
        buildNewerStore(path);
        const QByteArray before = readAll(path);

        for (int run = 0; run < 2; ++run) {
            const ProbeRun refused = runProbe(dataHome.path());
            QVERIFY(refused.exitCode != 0);
            QVERIFY2(refused.output.contains(QStringLiteral("newer version")),
                     qPrintable(refused.output));
            QCOMPARE(readAll(path), before);
        }
        QCOMPARE(QDir(dataHome.filePath(QStringLiteral("Velmora"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("Velmora.sqlite")});
    }
};

QTEST_GUILESS_MAIN(StoreRecoveryTest)
#include "StoreRecoveryTest.moc"
