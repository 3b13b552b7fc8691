#include "velmora/library/DataModel.h"

#include "velmora/library/AppRecord.h"
#include "velmora/library/Category.h"
#include "velmora/library/ModelContext.h"
#include "velmora/library/StoreFile.h"

#include "kestrelkit/Logger.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace velmora {

namespace {

const kestrelkit::Logger &logger() {
    static const kestrelkit::Logger instance(QStringLiteral("DataModel"));
    return instance;
}

std::unique_ptr<DataModel> &sharedSlot() {
    static std::unique_ptr<DataModel> instance;
    return instance;
}

// Messages meant for the developer go to standard output, as the rest of the app does.
void printLine(const QString &text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

} // namespace

DataModel::DataModel(QString path, std::unique_ptr<ModelContext> context)
    : m_path(std::move(path))
    , m_context(std::move(context)) {
    connect(m_context.get(), &ModelContext::didSave, this, &DataModel::didSave);
}

DataModel::~DataModel() {
    // Changes made in the event-loop turn that ends the process would otherwise be lost.
    if (m_context->hasChanges()) {
        const OperationResult saved = m_context->save();
        if (!saved)
            logger().error(QStringLiteral("Pending changes were not saved: %1").arg(saved.error()));
    }
}

std::unique_ptr<DataModel> DataModel::open(const QString &path, OpenError *error) {
    OpenError ignored;
    if (!error) error = &ignored;
    std::unique_ptr<StoreFile> file = StoreFile::open(path, error);
    if (!file) return nullptr;
    auto context = std::unique_ptr<ModelContext>(new ModelContext(std::move(file)));
    const OperationResult loaded = context->load();
    if (!loaded) {
        *error = {OpenError::Kind::Unreadable, loaded.error()};
        return nullptr;
    }
    logger().info(QStringLiteral("Opened the store at %1").arg(path));
    return std::unique_ptr<DataModel>(new DataModel(path, std::move(context)));
}

QString DataModel::defaultStorePath() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty()) return {};
    return QDir(dataHome).filePath(QStringLiteral("Velmora/Velmora.sqlite"));
}

DataModel &DataModel::shared() {
    std::unique_ptr<DataModel> &slot = sharedSlot();
    if (!slot) {
        const QString path = defaultStorePath();
        if (path.isEmpty()) {
            printLine(QStringLiteral("Could not find application support directory."));
            exitAfterOpenFailure();
        }
        OpenError error;
        slot = open(path, &error);
        if (!slot) {
            handleOpenFailure(path, error);
            exitAfterOpenFailure();
        }
    }
    return *slot;
}

void DataModel::setShared(std::unique_ptr<DataModel> model) {
    sharedSlot() = std::move(model);
}

QString DataModel::handleOpenFailure(const QString &path, const OpenError &error) {
    printLine(QStringLiteral("Failed to create model container: ") + error.message);
    logger().fault(QStringLiteral("Failed to create model container: %1").arg(error.message));
    if (error.kind == OpenError::Kind::NewerVersion || !QFile::exists(path)) return {};

    const QString aside =
        path + QStringLiteral(".corrupt-") +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmsszzz"));
    if (!QFile::rename(path, aside)) {
        printLine(QStringLiteral("Could not move the store %1 aside.").arg(path));
        return {};
    }
    // SQLite finds a journal by the database's name, so the companions move along.
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString companion = path + QLatin1String(suffix);
        if (QFile::exists(companion) && !QFile::rename(companion, aside + QLatin1String(suffix)))
            printLine(QStringLiteral("Could not move %1 aside.").arg(companion));
    }
    printLine(
        QStringLiteral("The store was moved to %1; the next start begins with an empty store.")
            .arg(aside));
    return aside;
}

void DataModel::exitAfterOpenFailure() {
    std::exit(EXIT_FAILURE);
}

Category *DataModel::reservedCategory(ReservedType type) const {
    for (Category *category : m_context->fetchCategories()) {
        if (category->reservedType() == type) return category;
    }
    return nullptr;
}

QList<Category *> DataModel::allCategories() const {
    return m_context->fetchCategories();
}

QList<AppRecord *> DataModel::allAppRecords() const {
    return m_context->fetchAppRecords();
}

AppRecord *DataModel::appRecord(const QString &path) const {
    const QList<AppRecord *> found = m_context->fetchAppRecords(path);
    return found.isEmpty() ? nullptr : found.first();
}

Category *DataModel::categoryWithTitle(const QString &title) const {
    for (Category *category : m_context->fetchCategories()) {
        if (category->title() == title) return category;
    }
    return nullptr;
}

void DataModel::cleanUnusedCategories() {
    for (Category *category : m_context->fetchCategories()) {
        if (category->apps().isEmpty() && !category->reservedType())
            m_context->deleteCategory(category);
    }
    const OperationResult saved = m_context->save();
    if (!saved) printLine(QStringLiteral("Failed to clean unused categories: ") + saved.error());
}

} // namespace velmora
