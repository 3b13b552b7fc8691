#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The simple predictors AccessRank is measured against.
class BaselinePredictor {
public:
    enum class Kind { mostRecent, mostFrequent, markov };

    explicit BaselinePredictor(Kind kind)
        : m_kind(kind)
    {
    }

    [[nodiscard]] static QString name(Kind kind);
    // Every item seen so far, best guess first.
    [[nodiscard]] QStringList ranking() const;
    void observe(const QString &id);

private:
    struct Seen {
        long count = 0;
        long last = 0;
    };

    Kind m_kind;
    long m_clock = 0;
    QString m_previous;
    QHash<QString, Seen> m_seen;
    QHash<QString, QHash<QString, long>> m_transitions;
};
