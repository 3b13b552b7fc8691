#pragma once

#include "velmora/ranking/AccessRankDelegate.h"
#include "velmora/ranking/AccessRankModel.h"

#include <QFuture>
#include <QObject>
#include <QPointer>

#include <concepts>
#include <map>
#include <memory>
#include <optional>

namespace velmora {

// The usage-ranking model as an actor: the algorithm runs on one serial executor (a
// thread of its own); every call here is made from the thread the object lives on (the
// main thread), returns at once, and completes its future when the executor is done.
// Reports reach the delegate as separate queued calls on this object's thread, each
// with its own complete copy, in the order the model made them; a future's
// continuation (`.then(context, ...)`) runs after the reports of its call.
class AccessRank final : public QObject {
    Q_OBJECT
public:
    // The process's instance: medium stability, 1000 visits, standard defaults, wall clock.
    static AccessRank &shared();

    AccessRank(ListStability listStability, int maxVisits,
               AccessRankModel::Environment environment = {}, QObject *parent = nullptr);
    // Runs a model built elsewhere (replays use models with experimental behaviour).
    explicit AccessRank(std::unique_ptr<AccessRankModel> model, QObject *parent = nullptr);
    ~AccessRank() override;

    [[nodiscard]] ListStability listStability() const { return m_listStability; }
    [[nodiscard]] int maxVisits() const { return m_maxVisits; }

    // Replaces any earlier delegate; `object` is the QObject that implements it and
    // bounds its lifetime. A report runs only if the delegate is still set when it runs.
    void setDelegate(QObject *object, AccessRankDelegate *delegate);
    template <typename T>
        requires std::derived_from<T, QObject> && std::derived_from<T, AccessRankDelegate>
    void setDelegate(T *delegate)
    {
        setDelegate(static_cast<QObject *>(delegate), static_cast<AccessRankDelegate *>(delegate));
    }
    [[nodiscard]] AccessRankDelegate *delegate() const;

    // Records a launch; none means "no previous item".
    QFuture<void> recordVisit(const std::optional<QString> &id);
    // The hand-over after category synchronisation: replaces every state with `items`
    // (path -> stored rank state), then recomputes the prediction list.
    QFuture<void> replaceItems(std::map<QString, RankState> items);
    QFuture<void> updatePredictionList();
    // Writes the positions of the current prediction list into the ranks, reports them.
    QFuture<void> updateRanks();
    QFuture<void> setUseTimeWeighting(bool on);

    [[nodiscard]] QFuture<RankState> stateForItem(const QString &id);
    [[nodiscard]] QFuture<PredictionList> predictionList();
    [[nodiscard]] QFuture<std::map<QString, RankState>> items();
    // Completes once everything submitted before it has run (its reports are queued).
    [[nodiscard]] QFuture<void> whenIdle();

private:
    class Executor;

    ListStability m_listStability;
    int m_maxVisits;
    QPointer<QObject> m_delegateObject;
    AccessRankDelegate *m_delegate = nullptr;
    std::unique_ptr<Executor> m_executor;
};

} // namespace velmora
