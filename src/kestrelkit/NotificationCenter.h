#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <functional>

namespace kestrelkit {

// Notifications between parts, by exact name ("keyboardPressedUp", "showMainWindow", ...).
// Observers are called on the main thread; a post from another thread is queued there.
class NotificationCenter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QVariantMap &userInfo)>;

    static NotificationCenter &defaultCenter();

    // The observer lives as long as `context`; returns a token for removeObserver().
    int addObserver(const QString &name, QObject *context, Handler handler);
    void removeObserver(int token);
    void post(const QString &name, const QVariantMap &userInfo = {});

signals:
    // Every notification, after the observers ran (for tests and tracing).
    void posted(const QString &name, const QVariantMap &userInfo);

private:
    explicit NotificationCenter(QObject *parent = nullptr);
    void deliver(const QString &name, const QVariantMap &userInfo);

    struct Observer {
        int token;
        QString name;
        QPointer<QObject> context;
        Handler handler;
    };
    std::vector<Observer> m_observers;
    int m_nextToken = 1;
};

} // namespace kestrelkit
