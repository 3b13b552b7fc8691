#include "velmora/ranking/AccessRank.h"

#include <QCoreApplication>
#include <QPromise>
#include <QThread>

namespace velmora {

// The serial executor: one thread with an event loop; tasks are queued calls on an
// object living there, so they run one at a time in the order they were submitted.
class AccessRank::Executor final : public AccessRankReporter {
public:
    Executor(AccessRank *owner, std::unique_ptr<AccessRankModel> model)
        : m_owner(owner)
        , m_model(std::move(model))
    {
        m_thread.setObjectName(QStringLiteral("AccessRank"));
        m_context.moveToThread(&m_thread);
        m_model->setReporter(this);
        m_thread.start();
    }

    ~Executor() override
    {
        m_thread.quit();
        m_thread.wait();
    }

    template <typename T, typename Task>
    QFuture<T> submit(Task task)
    {
        auto promise = std::make_shared<QPromise<T>>();
        QFuture<T> future = promise->future();
        promise->start();
        QMetaObject::invokeMethod(
            &m_context,
            [this, promise, task = std::move(task)]() mutable {
                if constexpr (std::is_void_v<T>)
                    task(*m_model);
                else
                    promise->addResult(task(*m_model));
                promise->finish();
            },
            Qt::QueuedConnection);
        return future;
    }

    // Each report is its own queued call on the owner's thread, carrying its own copy
    // (states are immutable once stored, so sharing one is a copy in all but cost).
    void rankStateChanged(const QString &id, const SharedRankState &state) override
    {
        QMetaObject::invokeMethod(
            m_owner,
            [owner = m_owner, id, state] {
                if (AccessRankDelegate *delegate = owner->delegate())
                    delegate->sharedRankStateDidChange(id, state);
            },
            Qt::QueuedConnection);
    }

    void predictionListChanged(const PredictionList &list) override
    {
        QMetaObject::invokeMethod(
            m_owner,
            [owner = m_owner, list] {
                if (AccessRankDelegate *delegate = owner->delegate())
                    delegate->predictionListDidChange(list);
            },
            Qt::QueuedConnection);
    }

private:
    AccessRank *m_owner;
    std::unique_ptr<AccessRankModel> m_model;
    QThread m_thread;
    QObject m_context;
};

AccessRank &AccessRank::shared()
{
    // Owned by the application object, so it stops its thread before the process ends.
    static QPointer<AccessRank> instance;
    if (!instance)
        instance = new AccessRank(ListStability::medium, 1000, {}, QCoreApplication::instance());
    return *instance;
}

AccessRank::AccessRank(ListStability listStability, int maxVisits,
                       AccessRankModel::Environment environment, QObject *parent)
    : AccessRank(std::make_unique<AccessRankModel>(listStability, maxVisits, environment), parent)
{
}

AccessRank::AccessRank(std::unique_ptr<AccessRankModel> model, QObject *parent)
    : QObject(parent)
    , m_listStability(model->listStability())
    , m_maxVisits(model->maxVisits())
    , m_executor(std::make_unique<Executor>(this, std::move(model)))
{
}

AccessRank::~AccessRank()
{
    // Stop the executor first: reports it queues need this object alive.
    m_executor.reset();
}

void AccessRank::setDelegate(QObject *object, AccessRankDelegate *delegate)
{
    m_delegateObject = object;
    m_delegate = object ? delegate : nullptr;
}

AccessRankDelegate *AccessRank::delegate() const
{
    return m_delegateObject ? m_delegate : nullptr;
}

QFuture<void> AccessRank::recordVisit(const std::optional<QString> &id)
{
    return m_executor->submit<void>([id](AccessRankModel &model) { model.recordVisit(id); });
}

QFuture<void> AccessRank::replaceItems(std::map<QString, RankState> items)
{
    return m_executor->submit<void>([items = std::move(items)](AccessRankModel &model) {
        model.setItems(items);
        model.updatePredictionList();
    });
}

QFuture<void> AccessRank::updatePredictionList()
{
    return m_executor->submit<void>([](AccessRankModel &model) { model.updatePredictionList(); });
}

QFuture<void> AccessRank::updateRanks()
{
    return m_executor->submit<void>([](AccessRankModel &model) { model.updateRanks(); });
}

QFuture<void> AccessRank::setUseTimeWeighting(bool on)
{
    return m_executor->submit<void>([on](AccessRankModel &model) { model.setUseTimeWeighting(on); });
}

QFuture<RankState> AccessRank::stateForItem(const QString &id)
{
    return m_executor->submit<RankState>(
        [id](AccessRankModel &model) { return model.stateForItem(id); });
}

QFuture<PredictionList> AccessRank::predictionList()
{
    return m_executor->submit<PredictionList>(
        [](AccessRankModel &model) { return model.predictionList(); });
}

QFuture<std::map<QString, RankState>> AccessRank::items()
{
    return m_executor->submit<std::map<QString, RankState>>(
        [](AccessRankModel &model) { return model.items(); });
}

QFuture<void> AccessRank::whenIdle()
{
    return m_executor->submit<void>([](AccessRankModel &) {});
}

} // namespace velmora
