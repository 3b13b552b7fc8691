#include "velmora/library/AppRecord.h"
#include "velmora/library/AppWorkspace.h"
#include "velmora/library/Category.h"
#include "velmora/library/DataModel.h"
#include "velmora/library/ModelContext.h"

#include <unordered_map>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

class FakeWorkspace : public AppWorkspace {
public:
    QStringList calls;
    QString failure;

    QImage loadIcon(const QString &path, int size) override {
        calls << QStringLiteral("icon %1 %2").arg(path).arg(size);
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::red);
        return image;
    }

    OperationResult open(const QString &path) override {
        calls << QStringLiteral("open %1").arg(path);
        return failure.isEmpty() ? OperationResult::success() : OperationResult::failure(failure);
    }
};

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<DataModel> m_model;
    Category *m_category = nullptr;

    ModelContext &context() { return m_model->mainContext(); }

    AppRecord *app(const QString &displayName, const QString &bundleID,
                   const QString &path = QStringLiteral("/a")) {
        return context().insertAppRecord({displayName, bundleID, path, m_category, {}});
    }

private slots:
    void initTestCase() {
        m_model = DataModel::open(m_dir.filePath(QStringLiteral("Velmora.sqlite")));
        QVERIFY(m_model);
        m_category = context().insertCategory(
            {QStringLiteral("Tools"), QStringLiteral("folder"), 0, {}, {}});
    }

    void reservedTypeRawValues_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("type"); // -1: does not decode
        QTest::newRow("pinned") << "pinned" << int(ReservedType::pinned);
        QTest::newRow("hidden") << "hidden" << int(ReservedType::hidden);
        QTest::newRow("notCategorized") << "notCategorized" << int(ReservedType::notCategorized);
        QTest::newRow("other case") << "Pinned" << -1;
        QTest::newRow("title text") << "Not Categorized" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void reservedTypeRawValues() {
        QFETCH(QString, raw);
        QFETCH(int, type);
        const std::optional<ReservedType> decoded = reservedTypeFromRawValue(raw);
        QCOMPARE(decoded ? int(*decoded) : -1, type);
        if (decoded) QCOMPARE(rawValue(*decoded), raw);
    }

    void categoryEquality_data() {
        QTest::addColumn<QString>("uuidA");
        QTest::addColumn<qint64>("orderA");
        QTest::addColumn<QString>("uuidB");
        QTest::addColumn<qint64>("orderB");
        QTest::addColumn<bool>("equal");
        const QString u1 = QStringLiteral("AAAAAAAA-0000-0000-0000-000000000001");
        const QString u2 = QStringLiteral("AAAAAAAA-0000-0000-0000-000000000002");
        QTest::newRow("same uuid and order") << u1 << qint64(3) << u1 << qint64(3) << true;
        QTest::newRow("same uuid, other order") << u1 << qint64(3) << u1 << qint64(4) << false;
        QTest::newRow("other uuid, same order") << u1 << qint64(3) << u2 << qint64(3) << false;
        QTest::newRow("uuid differs in case")
            << u1 << qint64(3) << u1.toLower() << qint64(3) << false;
    }

    void categoryEquality() {
        QFETCH(QString, uuidA);
        QFETCH(qint64, orderA);
        QFETCH(QString, uuidB);
        QFETCH(qint64, orderB);
        QFETCH(bool, equal);
        // Titles, icons and reserved types play no part.
        Category *a = context().insertCategory(
            {QStringLiteral("A"), QStringLiteral("folder"), orderA, {}, uuidA});
        Category *b = context().insertCategory(
            {QStringLiteral("B"), QStringLiteral("hammer"), orderB, ReservedType::hidden, uuidB});
        QCOMPARE(*a == *b, equal);
        if (equal) QCOMPARE(qHash(*a), qHash(*b));
        context().deleteCategory(a);
        context().deleteCategory(b);
    }

    void appRecordEquality_data() {
        QTest::addColumn<QString>("bundleA");
        QTest::addColumn<QString>("pathA");
        QTest::addColumn<QString>("bundleB");
        QTest::addColumn<QString>("pathB");
        QTest::addColumn<bool>("equal");
        QTest::newRow("same") << "org.a"
                              << "/x/a.desktop"
                              << "org.a"
                              << "/x/a.desktop" << true;
        QTest::newRow("other path") << "org.a"
                                    << "/x/a.desktop"
                                    << "org.a"
                                    << "/y/a.desktop" << false;
        QTest::newRow("other bundle") << "org.a"
                                      << "/x/a.desktop"
                                      << "org.b"
                                      << "/x/a.desktop" << false;
        QTest::newRow("path case") << "org.a"
                                   << "/x/a.desktop"
                                   << "org.a"
                                   << "/x/A.desktop" << false;
    }

    void appRecordEquality() {
        QFETCH(QString, bundleA);
        QFETCH(QString, pathA);
        QFETCH(QString, bundleB);
        QFETCH(QString, pathB);
        QFETCH(bool, equal);
        // Display names and categories play no part.
        AppRecord *a = app(QStringLiteral("A"), bundleA, pathA);
        AppRecord *b = app(QStringLiteral("B"), bundleB, pathB);
        QCOMPARE(*a == *b, equal);
        if (equal) QCOMPARE(qHash(*a), qHash(*b));
        context().deleteAppRecord(a);
        context().deleteAppRecord(b);
    }

    void categoriesKeyAMapByValue() {
        // The launcher keys its content by category value.
        Category *a =
            context().insertCategory({QStringLiteral("A"), QStringLiteral("folder"), 1, {}, {}});
        Category *b =
            context().insertCategory({QStringLiteral("B"), QStringLiteral("folder"), 1, {}, {}});
        std::unordered_map<Category *, int, CategoryHash, CategoryEqual> content;
        content[a] = 1;
        content[b] = 2;
        QCOMPARE(content.size(), 2u);
        QCOMPARE(content.at(a), 1);
        // A different object with the same value finds the same entry.
        Category *twin = context().insertCategory(
            {QStringLiteral("Twin"), QStringLiteral("folder"), 1, {}, a->categoryUUID()});
        QCOMPARE(content.at(twin), 1);
        context().deleteCategory(twin);
        context().deleteCategory(a);
        context().deleteCategory(b);
    }

    void newUUIDsAreWellFormedAndDistinct() {
        const QString a = Category::makeUUID();
        QCOMPARE(a.size(), 36);
        QCOMPARE(a, a.toUpper());
        QCOMPARE(a.count(QLatin1Char('-')), 4);
        QVERIFY(a != Category::makeUUID());
    }

    void searchKey_data() {
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<QString>("bundleID");
        QTest::addColumn<QString>("key");
        QTest::newRow("separators") << "Sound_Mixer-Pro"
                                    << "com.example.Mixer"
                                    << "sound mixer pro mixer";
        QTest::newRow("plain") << "Notes"
                               << "com.apple.Notes"
                               << "notes notes";
        QTest::newRow("no dot") << "Calc"
                                << "Calculator"
                                << "calc calculator";
        QTest::newRow("trailing dot") << "Calc"
                                      << "org.example."
                                      << "calc ";
        QTest::newRow("doubled separators") << "a__b"
                                            << "x.Y"
                                            << "a  b y";
        QTest::newRow("non-ASCII") << "Éditeur"
                                   << "org.Ö"
                                   << "éditeur ö";
    }

    void searchKey() {
        QFETCH(QString, displayName);
        QFETCH(QString, bundleID);
        QFETCH(QString, key);
        AppRecord *record = app(displayName, bundleID);
        QCOMPARE(record->searchKey(), key);
        context().deleteAppRecord(record);
    }

    void displayTitle_data() {
        QTest::addColumn<int>("type"); // -1: none
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shown");
        QTest::newRow("pinned") << int(ReservedType::pinned) << "Stored"
                                << "Pinned";
        QTest::newRow("hidden") << int(ReservedType::hidden) << "Stored"
                                << "Hidden";
        QTest::newRow("not categorized") << int(ReservedType::notCategorized) << "Stored"
                                         << "Not Categorized";
        QTest::newRow("ordinary") << -1 << "Stored"
                                  << "Stored";
    }

    void displayTitle() {
        QFETCH(int, type);
        QFETCH(QString, title);
        QFETCH(QString, shown);
        const std::optional<ReservedType> reserved =
            type < 0 ? std::nullopt : std::optional<ReservedType>(ReservedType(type));
        Category *category =
            context().insertCategory({title, QStringLiteral("folder"), 0, reserved, {}});
        QCOMPARE(category->displayTitle(), shown);
        context().deleteCategory(category);
    }

    void iconAndOpenGoThroughTheWorkspace() {
        AppRecord *record = app(QStringLiteral("Mines"), QStringLiteral("org.gnome.Mines"),
                                QStringLiteral("/m.desktop"));
        AppWorkspace::setCurrent(nullptr);
        QVERIFY(record->loadIcon().isNull());
        QVERIFY(!record->open());

        FakeWorkspace workspace;
        AppWorkspace::setCurrent(&workspace);
        QCOMPARE(record->loadIcon().size(), QSize(128, 128));
        QVERIFY(record->open());
        workspace.failure = QStringLiteral("Failed to execute child process");
        const OperationResult failed = record->open();
        QVERIFY(!failed);
        QCOMPARE(failed.error(), workspace.failure);
        QCOMPARE(workspace.calls, (QStringList{QStringLiteral("icon /m.desktop 128"),
                                               QStringLiteral("open /m.desktop"),
                                               QStringLiteral("open /m.desktop")}));
        AppWorkspace::setCurrent(nullptr);
    }
};

QTEST_GUILESS_MAIN(RecordsTest)
#include "RecordsTest.moc"
