#pragma once

#include <QString>

#include <optional>

namespace kestrelkit {

// Why zipFolder() failed.
class CreateZipError {
public:
    enum class Kind {
        urlNotDirectory,   // the path is not a folder, or this cannot be read
        failedToCreateZip, // the archive could not be made
        failedToMoveZip,   // the archive could not be put in its final place
    };

    CreateZipError(Kind kind, QString payload) : m_kind(kind), m_payload(std::move(payload)) {}

    [[nodiscard]] Kind kind() const { return m_kind; }
    // The path for urlNotDirectory, the underlying error's text otherwise.
    [[nodiscard]] const QString &payload() const { return m_payload; }
    [[nodiscard]] QString description() const;

private:
    Kind m_kind;
    QString m_payload;
};

// The archive's path, or why there is none.
class ZipResult {
public:
    // A result that holds nothing yet reads as a failure to create.
    ZipResult() : m_error(CreateZipError(CreateZipError::Kind::failedToCreateZip, QStringLiteral("not made"))) {}
    ZipResult(QString archivePath) : m_path(std::move(archivePath)) {}
    ZipResult(CreateZipError error) : m_error(std::move(error)) {}

    [[nodiscard]] bool ok() const { return !m_error.has_value(); }
    [[nodiscard]] const QString &archivePath() const { return m_path; }
    [[nodiscard]] const std::optional<CreateZipError> &error() const { return m_error; }

private:
    QString m_path;
    std::optional<CreateZipError> m_error;
};

// Zips the folder at `folderPath` (its own name as the archive's top folder) into
// `<tempFolder>/<folder name>.zip`, replacing an archive of that name. Symbolic links
// inside are not followed. `tempFolder` empty: the process's temporary folder.
[[nodiscard]] ZipResult zipFolder(const QString &folderPath, const QString &tempFolder = {});

} // namespace kestrelkit
