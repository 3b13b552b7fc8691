#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace velmora {

// A global shortcut, registered by name, that fires when it is released. Backends:
// X11 key grabs, the XDG GlobalShortcuts portal; where neither can bind,
// `velmora --toggle` remains the way in.
class HotKey : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Binds `combination` under `name`, replacing an earlier binding of that name.
    // False (and `lastError()` says why) when the desktop refuses it; a backend that
    // answers later (the portal) reports through `registrationFailed`.
    virtual bool registerShortcut(const QString &name, QKeyCombination combination) = 0;
    virtual void unregisterShortcut(const QString &name) = 0;
    [[nodiscard]] virtual QString backendName() const = 0;
    [[nodiscard]] QString lastError() const { return m_lastError; }

    // The backend that fits this session: the portal in a Wayland session when it offers
    // global shortcuts, X11 grabs on an X display; none when neither is there.
    [[nodiscard]] static std::unique_ptr<HotKey> createForSession();

    // "Alt+Space" and back; none for text that names no single key with modifiers.
    [[nodiscard]] static std::optional<QKeyCombination> parse(const QString &text);
    [[nodiscard]] static QString toText(QKeyCombination combination);

signals:
    // The shortcut's keys went down (repeats excluded); the action waits for `activated`.
    void pressed(const QString &name);
    // After the key of the shortcut went up.
    void activated(const QString &name);
    void registrationFailed(const QString &name, const QString &reason);

protected:
    void setLastError(const QString &error) { m_lastError = error; }

private:
    QString m_lastError;
};

// Defined in HotKeyX11.cpp and HotKeyPortal.cpp; none when the facility is absent.
[[nodiscard]] std::unique_ptr<HotKey> createX11HotKey();
[[nodiscard]] std::unique_ptr<HotKey> createPortalHotKey();

} // namespace velmora
