#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace velmora {

// One launcher per user session. The first process listens on a local socket in
// $XDG_RUNTIME_DIR; later ones hand it a one-line message ("reopen", "toggle", "show",
// "hide") and leave. A socket left behind by a dead process is replaced.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `socketPath` empty means the user's: $XDG_RUNTIME_DIR/org.velmora.Launcher.socket.
    explicit SingleInstance(QString socketPath = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    [[nodiscard]] static QString defaultSocketPath();

    // Becomes the running instance. False when another live instance already listens
    // (or the socket cannot be created; `errorString()` says which).
    bool listen();
    [[nodiscard]] bool isListening() const;
    [[nodiscard]] QString errorString() const { return m_error; }
    [[nodiscard]] const QString &socketPath() const { return m_path; }

    // Delivers `message` to the running instance and waits for its acknowledgement.
    // False when nobody listens or the instance did not answer within `timeoutMs`.
    static bool sendMessage(const QString &socketPath, const QString &message,
                            int timeoutMs = 2000);

signals:
    void messageReceived(const QString &message);

private:
    void acceptConnections();

    QString m_path;
    QString m_error;
    QLocalServer *m_server = nullptr;
};

} // namespace velmora
