#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"

#include "StoreFixture.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

RankState richState() {
    RankState state;
    state.nextVisits[QStringLiteral("/a.desktop")] = {{QStringLiteral("/a.desktop"), 9, 2},
                                                      {QStringLiteral("/a.desktop"), 23, 7}};
    state.nextVisits[QStringLiteral("/b.desktop")] = {{QStringLiteral("/b.desktop"), 0, 1}};
    state.visitNumber = 41;
    state.numberOfVisits = 7;
    state.timeOfLastVisit = 1765443210.987654321;
    state.crfWeight = 1.0 / 3.0;
    state.rank = 3;
    return state;
}

} // namespace

class ModelContextTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<DataModel> m_model;

    ModelContext &context() { return m_model->mainContext(); }

    Category *addCategory(const QString &title, std::int64_t sortOrder = 0,
                          std::optional<ReservedType> reserved = std::nullopt) {
        return context().insertCategory({title, QStringLiteral("folder"), sortOrder, reserved, {}});
    }

    AppRecord *addApp(const QString &name, Category *category, const RankState &state = {}) {
        return context().insertAppRecord(
            {name, QStringLiteral("org.example.") + name,
             QStringLiteral("/apps/") + name + QStringLiteral(".desktop"), category, state});
    }

    void reopen() {
        m_model.reset();
        DataModel::OpenError error;
        m_model = DataModel::open(m_path, &error);
        QVERIFY2(m_model, qPrintable(error.message));
    }

private slots:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("store/Velmora.sqlite"));
        QFile::remove(m_path);
        m_model = DataModel::open(m_path);
        QVERIFY(m_model);
    }

    void cleanup() { m_model.reset(); }

    void firstOpenCreatesFolderAndEmptyStore() {
        QVERIFY(QFile::exists(m_path));
        QVERIFY(m_model->allCategories().isEmpty());
        QVERIFY(m_model->allAppRecords().isEmpty());
        QVERIFY(!context().hasChanges());
        SqlFile sql(m_path);
        QCOMPARE(sql.value("SELECT value FROM StoreMetadata WHERE key = 'schemaVersion'"),
                 QStringLiteral("1.1.0"));
        QCOMPARE(sql.value("PRAGMA journal_mode"), QStringLiteral("wal"));
    }

    void recordsRoundTrip() {
        Category *pinned = context().insertCategory(
            {QStringLiteral("Pinned"), QStringLiteral("pin.fill"), -1, ReservedType::pinned, {}});
        Category *hidden = context().insertCategory(
            {QStringLiteral("Hidden"), QStringLiteral("eye.slash.fill"),
             std::numeric_limits<std::int64_t>::max(), ReservedType::hidden,
             QStringLiteral("11111111-2222-3333-4444-555555555555")});
        addApp(QStringLiteral("Rich"), pinned, richState());
        addApp(QStringLiteral("Fresh"), hidden);
        const std::int64_t pinnedId = pinned->id();
        const QString pinnedUUID = pinned->categoryUUID();
        QVERIFY(context().save());
        reopen();

        const QList<Category *> categories = m_model->allCategories();
        QCOMPARE(categories.size(), 2);
        QCOMPARE(categories[0]->id(), pinnedId);
        QCOMPARE(categories[0]->categoryUUID(), pinnedUUID);
        QCOMPARE(categories[0]->sortOrder(), -1);
        QCOMPARE(categories[0]->reservedType(), ReservedType::pinned);
        QCOMPARE(categories[1]->categoryUUID(),
                 QStringLiteral("11111111-2222-3333-4444-555555555555"));
        QCOMPARE(categories[1]->sortOrder(), std::numeric_limits<std::int64_t>::max());
        QCOMPARE(categories[1]->systemIconName(), QStringLiteral("eye.slash.fill"));

        const AppRecord *rich = m_model->appRecord(QStringLiteral("/apps/Rich.desktop"));
        QVERIFY(rich);
        QCOMPARE(rich->category(), categories[0]);
        QVERIFY(rich->rankState() == richState());
        QCOMPARE(rich->rankState().crfWeight, 1.0 / 3.0);
        const AppRecord *fresh = m_model->appRecord(QStringLiteral("/apps/Fresh.desktop"));
        QVERIFY(fresh);
        QVERIFY(fresh->rankState().isEmpty());
        QCOMPARE(fresh->bundleID(), QStringLiteral("org.example.Fresh"));
    }

    void movingKeepsBothAppsListsRight() {
        Category *from = addCategory(QStringLiteral("From"));
        Category *to = addCategory(QStringLiteral("To"));
        AppRecord *stays = addApp(QStringLiteral("Stays"), from);
        AppRecord *moves = addApp(QStringLiteral("Moves"), from);
        QCOMPARE(from->apps(), (QList<AppRecord *>{stays, moves}));

        moves->setCategory(to);
        QCOMPARE(from->apps(), QList<AppRecord *>{stays});
        QCOMPARE(to->apps(), QList<AppRecord *>{moves});
        QCOMPARE(moves->category(), to);
        QVERIFY(context().save());

        reopen();
        QCOMPARE(m_model->categoryWithTitle(QStringLiteral("From"))->apps().size(), 1);
        QCOMPARE(m_model->categoryWithTitle(QStringLiteral("To"))->apps().first()->displayName(),
                 QStringLiteral("Moves"));
    }

    // Only records whose values changed are written: a row changed behind the model's
    // back keeps that change when another record is saved.
    void saveWritesOnlyChangedRecords() {
        Category *category = addCategory(QStringLiteral("Tools"));
        AppRecord *one = addApp(QStringLiteral("One"), category);
        addApp(QStringLiteral("Two"), category);
        QVERIFY(context().save());
        {
            SqlFile sql(m_path);
            QVERIFY(sql.exec("UPDATE AppRecord SET displayName = 'Two (outside)' WHERE path = "
                             "'/apps/Two.desktop'"));
            QVERIFY(sql.exec("UPDATE Category SET systemIconName = 'hammer'"));
        }
        one->setDisplayName(QStringLiteral("One renamed"));
        QVERIFY(context().save());

        SqlFile sql(m_path);
        QCOMPARE(sql.rows("SELECT displayName FROM AppRecord ORDER BY id"),
                 (QStringList{QStringLiteral("One renamed"), QStringLiteral("Two (outside)")}));
        QCOMPARE(sql.value("SELECT systemIconName FROM Category"), QStringLiteral("hammer"));
    }

    void didSaveOnlyWhenSomethingWasWritten() {
        QSignalSpy saved(m_model.get(), &DataModel::didSave);
        QVERIFY(context().save());
        QCOMPARE(saved.count(), 0);

        Category *category = addCategory(QStringLiteral("Tools"), 4);
        QVERIFY(context().hasChanges());
        QVERIFY(context().save());
        QCOMPARE(saved.count(), 1);
        QVERIFY(!context().hasChanges());

        // Setting the values a record already has is no change.
        category->setTitle(QStringLiteral("Tools"));
        category->setSortOrder(4);
        QVERIFY(!context().hasChanges());
        QVERIFY(context().save());
        QCOMPARE(saved.count(), 1);

        category->setSortOrder(5);
        QVERIFY(context().hasChanges());
    }

    void changesInOneTurnAreSavedTogetherOnTheNext() {
        QSignalSpy saved(m_model.get(), &DataModel::didSave);
        Category *category = addCategory(QStringLiteral("Games"));
        AppRecord *app = addApp(QStringLiteral("Mines"), category);
        app->setRankState(richState());
        category->setTitle(QStringLiteral("Puzzles"));
        QCOMPARE(saved.count(), 0);

        QVERIFY(saved.wait(1000));
        QCOMPARE(saved.count(), 1);
        QVERIFY(!context().hasChanges());
        QTest::qWait(20);
        QCOMPARE(saved.count(), 1);

        SqlFile sql(m_path);
        QCOMPARE(sql.value("SELECT title FROM Category"), QStringLiteral("Puzzles"));
        QCOMPARE(sql.value("SELECT count(*) FROM AppRecord"), QStringLiteral("1"));
    }

    void closingSavesWhatIsPending()
    {
        addCategory(QStringLiteral("Late"));
        reopen();
        QCOMPARE(m_model->allCategories().size(), 1);
        QCOMPARE(m_model->allCategories().first()->title(), QStringLiteral("Late"));
    }

    void deletingCategoryKeepsItsApplications() {
        Category *doomed = addCategory(QStringLiteral("Doomed"));
        Category *other = addCategory(QStringLiteral("Other"));
        AppRecord *app = addApp(QStringLiteral("Survivor"), doomed);
        QVERIFY(context().save());

        context().deleteCategory(doomed);
        QVERIFY(doomed->isDeleted());
        QCOMPARE(app->category(), nullptr);
        QVERIFY(!app->isDeleted());
        // The category is required: the save fails until the app has a new one.
        const OperationResult refused = context().save();
        QVERIFY(!refused);
        QVERIFY(refused.error().contains(QStringLiteral("/apps/Survivor.desktop")));

        app->setCategory(other);
        QVERIFY(context().save());
        reopen();
        QCOMPARE(m_model->allCategories().size(), 1);
        QCOMPARE(m_model->allAppRecords().size(), 1);
        QCOMPARE(m_model->allAppRecords().first()->category()->title(), QStringLiteral("Other"));
    }

    void deletingApplicationLeavesItsCategory() {
        Category *category = addCategory(QStringLiteral("Tools"));
        AppRecord *gone = addApp(QStringLiteral("Gone"), category);
        AppRecord *kept = addApp(QStringLiteral("Kept"), category);
        QVERIFY(context().save());
        context().deleteAppRecord(gone);
        QCOMPARE(category->apps(), QList<AppRecord *>{kept});
        QCOMPARE(m_model->appRecord(QStringLiteral("/apps/Gone.desktop")), nullptr);
        QVERIFY(context().save());
        reopen();
        QCOMPARE(m_model->allAppRecords().size(), 1);
        QCOMPARE(m_model->allCategories().size(), 1);
    }

    void insertedThenDeletedBeforeSaveWritesNothing() {
        QSignalSpy saved(m_model.get(), &DataModel::didSave);
        Category *category = addCategory(QStringLiteral("Brief"));
        context().deleteCategory(category);
        QVERIFY(!context().hasChanges());
        QVERIFY(context().save());
        QCOMPARE(saved.count(), 0);
    }

    void identityIsStableAcrossSaves() {
        Category *category = addCategory(QStringLiteral("Tools"));
        AppRecord *a = addApp(QStringLiteral("A"), category);
        AppRecord *b = addApp(QStringLiteral("B"), category);
        QVERIFY(a->id() != b->id());
        const std::int64_t idA = a->id();
        QVERIFY(context().save());
        QCOMPARE(a->id(), idA);
        reopen();
        QCOMPARE(m_model->appRecord(QStringLiteral("/apps/A.desktop"))->id(), idA);
        // New records never reuse an identifier still in the file.
        AppRecord *c = addApp(QStringLiteral("C"), m_model->allCategories().first());
        QVERIFY(c->id() > idA);
    }

    void lookups() {
        addCategory(QStringLiteral("Tools"), 1);
        Category *pinnedA = addCategory(QStringLiteral("Pinned"), -1, ReservedType::pinned);
        addCategory(QStringLiteral("Pinned"), -2, ReservedType::pinned);
        Category *tools2 = addCategory(QStringLiteral("Tools 2"), 2);
        AppRecord *first = addApp(QStringLiteral("Mixer"), tools2);
        AppRecord *duplicate = addApp(QStringLiteral("Mixer"), pinnedA);

        QCOMPARE(m_model->reservedCategory(ReservedType::pinned), pinnedA);
        QCOMPARE(m_model->reservedCategory(ReservedType::hidden), nullptr);
        QCOMPARE(m_model->categoryWithTitle(QStringLiteral("Pinned")), pinnedA);
        QCOMPARE(m_model->categoryWithTitle(QStringLiteral("Tools 2")), tools2);
        QCOMPARE(m_model->categoryWithTitle(QStringLiteral("tools 2")), nullptr);
        QCOMPARE(m_model->allCategories().size(), 4);
        QCOMPARE(m_model->allAppRecords().size(), 2);

        QCOMPARE(m_model->appRecord(QStringLiteral("/apps/Mixer.desktop")), first);
        QCOMPARE(m_model->appRecord(QStringLiteral("/apps/mixer.desktop")), nullptr);
        QCOMPARE(m_model->appRecord(QStringLiteral("/apps/Mixer.desktop/")), nullptr);
        // The path index follows a change of path.
        first->setPath(QStringLiteral("/apps/Moved.desktop"));
        QCOMPARE(m_model->appRecord(QStringLiteral("/apps/Mixer.desktop")), duplicate);
        QCOMPARE(m_model->appRecord(QStringLiteral("/apps/Moved.desktop")), first);
    }

    void cleanUnusedCategoriesKeepsReservedAndUsed() {
        Category *pinned = addCategory(QStringLiteral("Pinned"), -1, ReservedType::pinned);
        addCategory(QStringLiteral("Untitled"), 5);
        Category *used = addCategory(QStringLiteral("Used"), 6);
        addApp(QStringLiteral("App"), used);
        QVERIFY(context().save());

        QSignalSpy saved(m_model.get(), &DataModel::didSave);
        m_model->cleanUnusedCategories();
        QCOMPARE(saved.count(), 1);
        QCOMPARE(m_model->allCategories(), (QList<Category *>{pinned, used}));
        reopen();
        QStringList titles;
        for (const Category *category : m_model->allCategories())
            titles << category->title();
        QCOMPARE(titles, (QStringList{QStringLiteral("Pinned"), QStringLiteral("Used")}));
    }
};

QTEST_GUILESS_MAIN(ModelContextTest)
#include "ModelContextTest.moc"
