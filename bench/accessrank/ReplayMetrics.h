#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Prediction quality and list stability over a replay.
class ReplayMetrics {
public:
    // Before a launch: where the item about to be launched stands (first occurrence).
    void recordPrediction(const QStringList &ranking, const QString &launched);
    // After a launch: the new ranking as the list orders it and as the launcher shows it.
    void recordRankings(const QStringList &listOrder, const QStringList &screenOrder);

    [[nodiscard]] long predictions() const { return m_predictions; }
    [[nodiscard]] double top1() const;
    [[nodiscard]] double top5() const;
    [[nodiscard]] double meanReciprocalRank() const;
    [[nodiscard]] double listMoves() const;
    [[nodiscard]] double screenMoves() const;

    // Items whose position among the items present in both lists differs.
    [[nodiscard]] static long movedBetween(const QStringList &before, const QStringList &after);

private:
    long m_predictions = 0;
    long m_top1 = 0;
    long m_top5 = 0;
    double m_reciprocal = 0.0;
    long m_comparisons = 0;
    long m_listMoved = 0;
    long m_screenMoved = 0;
    QStringList m_lastList;
    QStringList m_lastScreen;
    bool m_haveLast = false;
};
