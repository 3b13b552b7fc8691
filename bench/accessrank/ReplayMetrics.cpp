#include "ReplayMetrics.h"

#include <QSet>

void ReplayMetrics::recordPrediction(const QStringList &ranking, const QString &launched)
{
    ++m_predictions;
    const qsizetype position = ranking.indexOf(launched);
    if (position < 0)
        return;
    m_top1 += position == 0 ? 1 : 0;
    m_top5 += position < 5 ? 1 : 0;
    m_reciprocal += 1.0 / double(position + 1);
}

void ReplayMetrics::recordRankings(const QStringList &listOrder, const QStringList &screenOrder)
{
    if (m_haveLast) {
        ++m_comparisons;
        m_listMoved += movedBetween(m_lastList, listOrder);
        m_screenMoved += movedBetween(m_lastScreen, screenOrder);
    }
    m_lastList = listOrder;
    m_lastScreen = screenOrder;
    m_haveLast = true;
}

long ReplayMetrics::movedBetween(const QStringList &before, const QStringList &after)
{
    const QSet<QString> inAfter(after.cbegin(), after.cend());
    QSet<QString> seen;
    QHash<QString, long> positionBefore;
    for (const QString &id : before) {
        if (inAfter.contains(id) && !seen.contains(id)) {
            positionBefore.insert(id, long(seen.size()));
            seen.insert(id);
        }
    }
    long moved = 0;
    long position = 0;
    QSet<QString> counted;
    for (const QString &id : after) {
        if (!positionBefore.contains(id) || counted.contains(id))
            continue;
        counted.insert(id);
        moved += positionBefore.value(id) != position ? 1 : 0;
        ++position;
    }
    return moved;
}

static double ratio(double part, double whole) { return whole > 0 ? part / whole : 0.0; }

double ReplayMetrics::top1() const { return ratio(double(m_top1), double(m_predictions)); }
double ReplayMetrics::top5() const { return ratio(double(m_top5), double(m_predictions)); }
double ReplayMetrics::meanReciprocalRank() const { return ratio(m_reciprocal, double(m_predictions)); }
double ReplayMetrics::listMoves() const { return ratio(double(m_listMoved), double(m_comparisons)); }
double ReplayMetrics::screenMoves() const { return ratio(double(m_screenMoved), double(m_comparisons)); }
