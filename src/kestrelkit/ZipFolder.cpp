#include "kestrelkit/ZipFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <zip.h>

namespace kestrelkit {

namespace {

QString zipErrorText(zip_t *archive)
{
    return QString::fromUtf8(zip_strerror(archive));
}

// Adds the folder's tree under `prefix`; returns the first error, none on success.
std::optional<QString> addTree(zip_t *archive, const QString &folder, const QString &prefix)
{
    if (zip_dir_add(archive, prefix.toUtf8().constData(), ZIP_FL_ENC_UTF_8) < 0)
        return zipErrorText(archive);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink())
            continue;
        const QString name = prefix + QDir(folder).relativeFilePath(path);
        if (info.isDir()) {
            if (zip_dir_add(archive, (name + QLatin1Char('/')).toUtf8().constData(), ZIP_FL_ENC_UTF_8) < 0)
                return zipErrorText(archive);
            continue;
        }
        if (!info.isFile())
            continue;
        if (!info.isReadable())
            return QStringLiteral("%1 cannot be read").arg(path);
        zip_source_t *source = zip_source_file(archive, QFile::encodeName(path).constData(), 0, -1);
        if (!source)
            return zipErrorText(archive);
        if (zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            return zipErrorText(archive);
        }
    }
    return std::nullopt;
}

} // namespace

QString CreateZipError::description() const
{
    switch (m_kind) {
    case Kind::urlNotDirectory: return QStringLiteral("Not a folder: %1").arg(m_payload);
    case Kind::failedToCreateZip: return QStringLiteral("Could not create the archive: %1").arg(m_payload);
    case Kind::failedToMoveZip: return QStringLiteral("Could not move the archive: %1").arg(m_payload);
    }
    return m_payload;
}

ZipResult zipFolder(const QString &folderPath, const QString &tempFolder)
{
    const QFileInfo folder(folderPath);
    if (!folder.isDir())
        return CreateZipError(CreateZipError::Kind::urlNotDirectory, folderPath);

    const QString temp = tempFolder.isEmpty() ? QDir::tempPath() : tempFolder;
    const QString name = folder.absoluteDir().isRoot() && folder.fileName().isEmpty()
                             ? QStringLiteral("root")
                             : QFileInfo(QDir::cleanPath(folder.absoluteFilePath())).fileName();
    const QString destination = QDir(temp).filePath(name + QStringLiteral(".zip"));

    // Build beside the destination, then rename: a reader never sees half an archive.
    QTemporaryFile staging(QDir(temp).filePath(name + QStringLiteral(".zip.XXXXXX")));
    if (!staging.open())
        return CreateZipError(CreateZipError::Kind::failedToCreateZip, staging.errorString());
    staging.close();

    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(staging.fileName()).constData(), ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        const QString text = QString::fromUtf8(zip_error_strerror(&ze));
        zip_error_fini(&ze);
        return CreateZipError(CreateZipError::Kind::failedToCreateZip, text);
    }
    if (const auto failure = addTree(archive, folder.absoluteFilePath(), name + QLatin1Char('/'))) {
        zip_discard(archive);
        return CreateZipError(CreateZipError::Kind::failedToCreateZip, *failure);
    }
    if (zip_close(archive) < 0) {
        const QString text = zipErrorText(archive);
        zip_discard(archive);
        return CreateZipError(CreateZipError::Kind::failedToCreateZip, text);
    }

    // An older archive or anything else of that name goes first (a failure shows below).
    const QFileInfo existing(destination);
    if (existing.isDir() && !existing.isSymLink())
        QDir(destination).removeRecursively();
    else
        QFile::remove(destination);
    if (!QFile::rename(staging.fileName(), destination)) {
        return CreateZipError(CreateZipError::Kind::failedToMoveZip,
                              QStringLiteral("cannot move %1 to %2").arg(staging.fileName(), destination));
    }
    staging.setAutoRemove(false);
    return ZipResult(destination);
}

} // namespace kestrelkit
