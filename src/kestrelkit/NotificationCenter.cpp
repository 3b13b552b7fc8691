#include "kestrelkit/NotificationCenter.h"

#include <QCoreApplication>
#include <QThread>

namespace kestrelkit {

NotificationCenter::NotificationCenter(QObject *parent)
    : QObject(parent)
{
}

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter *center = [] {
        auto *c = new NotificationCenter;
        if (auto *app = QCoreApplication::instance())
            c->moveToThread(app->thread());
        return c;
    }();
    return *center;
}

int NotificationCenter::addObserver(const QString &name, QObject *context, Handler handler)
{
    Q_ASSERT(QThread::currentThread() == thread());
    const int token = m_nextToken++;
    m_observers.push_back({token, name, context, std::move(handler)});
    return token;
}

void NotificationCenter::removeObserver(int token)
{
    std::erase_if(m_observers, [token](const Observer &o) { return o.token == token; });
}

void NotificationCenter::post(const QString &name, const QVariantMap &userInfo)
{
    if (QThread::currentThread() == thread()) {
        deliver(name, userInfo);
        return;
    }
    QMetaObject::invokeMethod(this, [this, name, userInfo] { deliver(name, userInfo); },
                              Qt::QueuedConnection);
}

void NotificationCenter::deliver(const QString &name, const QVariantMap &userInfo)
{
    std::erase_if(m_observers, [](const Observer &o) { return o.context.isNull(); });
    // Copy: a handler may add or remove observers.
    const auto observers = m_observers;
    for (const Observer &o : observers) {
        if (o.name == name && o.context)
            o.handler(userInfo);
    }
    emit posted(name, userInfo);
}

} // namespace kestrelkit
