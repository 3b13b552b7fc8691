#include "BaselinePredictor.h"

#include <algorithm>
#include <vector>

QString BaselinePredictor::name(Kind kind)
{
    switch (kind) {
    case Kind::mostRecent:
        return QStringLiteral("most recently used");
    case Kind::mostFrequent:
        return QStringLiteral("most frequently used");
    case Kind::markov:
        return QStringLiteral("Markov from last item");
    }
    return {};
}

QStringList BaselinePredictor::ranking() const
{
    struct Candidate {
        QString id;
        long transitions;
        Seen seen;
    };
    static const QHash<QString, long> none;
    const auto from = m_transitions.constFind(m_previous);
    const QHash<QString, long> &next = from == m_transitions.cend() ? none : *from;
    std::vector<Candidate> candidates;
    candidates.reserve(std::size_t(m_seen.size()));
    for (auto it = m_seen.cbegin(); it != m_seen.cend(); ++it)
        candidates.push_back({it.key(), next.value(it.key()), it.value()});
    const Kind kind = m_kind;
    // Ties fall back to frequency, then recency, so every list is complete and total.
    std::sort(candidates.begin(), candidates.end(), [kind](const Candidate &a, const Candidate &b) {
        if (kind == Kind::markov && a.transitions != b.transitions)
            return a.transitions > b.transitions;
        if (kind != Kind::mostRecent && a.seen.count != b.seen.count)
            return a.seen.count > b.seen.count;
        return a.seen.last > b.seen.last;
    });
    QStringList out;
    out.reserve(qsizetype(candidates.size()));
    for (const Candidate &c : candidates)
        out << c.id;
    return out;
}

void BaselinePredictor::observe(const QString &id)
{
    Seen &seen = m_seen[id];
    ++seen.count;
    seen.last = ++m_clock;
    if (!m_previous.isEmpty())
        ++m_transitions[m_previous][id];
    m_previous = id;
}
