#pragma once

#include "velmora/library/OperationResult.h"
#include "velmora/ranking/RankState.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

namespace velmora {

class Category;
class ModelContext;

// One installed application. Owned by its ModelContext; pointers stay valid for the
// context's life (a deleted record stays allocated, with isDeleted() set). Main thread only.
class AppRecord {
public:
    AppRecord(const AppRecord &) = delete;
    AppRecord &operator=(const AppRecord &) = delete;

    // Stable identity assigned by the store at insertion.
    [[nodiscard]] std::int64_t id() const { return m_id; }

    [[nodiscard]] const QString &displayName() const { return m_displayName; }
    [[nodiscard]] const QString &bundleID() const { return m_bundleID; }
    [[nodiscard]] const QString &path() const { return m_path; }
    // Never null for a record that was inserted with a category and not moved out of a
    // deleted one.
    [[nodiscard]] Category *category() const { return m_category; }
    // Decoded from its stored text on first use; a text that does not decode is logged
    // and reads as the initial state.
    [[nodiscard]] const RankState &rankState() const;

    void setDisplayName(const QString &name);
    void setBundleID(const QString &bundleID);
    void setPath(const QString &path);
    // Moves the application: both categories' apps() follow.
    void setCategory(Category *category);
    void setRankState(const RankState &state);

    // The lower-case text launcher search matches: the display name with "_" and "-"
    // as spaces, then the last dot-separated piece of the bundle identifier.
    [[nodiscard]] QString searchKey() const;
    // One 128-pixel image through AppWorkspace::current(); null when there is none.
    [[nodiscard]] QImage loadIcon() const;
    // Starts the application through AppWorkspace::current().
    OperationResult open() const;

    [[nodiscard]] bool isDeleted() const { return m_deleted; }
    [[nodiscard]] ModelContext *context() const { return m_context; }

    static constexpr int kIconSize = 128;

private:
    friend class ModelContext;
    friend class Category;
    AppRecord(ModelContext *context, std::int64_t id);
    // Which values changed since the last save; a rank state alone is written by itself.
    enum ChangedValue : unsigned { OtherValue = 1, RankStateValue = 2 };
    void markChanged(ChangedValue value = OtherValue);
    void attachTo(Category *category);

    ModelContext *m_context;
    std::int64_t m_id;
    QString m_displayName;
    QString m_bundleID;
    QString m_path;
    Category *m_category = nullptr;
    void decodeRankState() const;

    mutable RankState m_rankState;
    // The text written for the rank state: the stored text as read (kept even when it
    // does not decode) until setRankState() replaces it.
    QByteArray m_rankStateJson;
    mutable bool m_rankStateDecoded = true;
    mutable bool m_rankStateUndecodable = false;
    unsigned m_changedValues = 0;
    bool m_deleted = false;
};

// Records are equal when their bundleID and path are.
[[nodiscard]] bool operator==(const AppRecord &a, const AppRecord &b);
[[nodiscard]] size_t qHash(const AppRecord &record, size_t seed = 0);

// Value hashing for pointer keys, e.g. std::unordered_set<AppRecord *, AppRecordHash,
// AppRecordEqual>.
struct AppRecordHash {
    size_t operator()(const AppRecord *record) const { return qHash(*record); }
};
struct AppRecordEqual {
    bool operator()(const AppRecord *a, const AppRecord *b) const { return *a == *b; }
};

} // namespace velmora
