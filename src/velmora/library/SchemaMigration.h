#pragma once

#include <QString>

struct sqlite3;

namespace velmora {

// Schema versions of the store file and the steps between them. Library-internal.
namespace schema {

inline constexpr const char *kV1_0_0 = "1.0.0";
inline constexpr const char *kV1_0_1 = "1.0.1";
inline constexpr const char *kV1_1_0 = "1.1.0";

// Lays out an empty database at the current version.
bool create(sqlite3 *db, QString *error);
// The version recorded in the file; empty when the file holds no tables at all.
// Fails when the file has tables but no version (not a store of ours).
bool readVersion(sqlite3 *db, QString *version, QString *error);
// -1, 0 or 1 as `version` is older than, equal to or newer than the current one;
// 2 when it is no version at all.
int compareWithCurrent(const QString &version);
// Brings a 1.0.0 or 1.0.1 file to the current version, in one transaction.
bool migrate(sqlite3 *db, const QString &fromVersion, QString *error);

} // namespace schema
} // namespace velmora
