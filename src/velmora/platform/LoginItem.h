#pragma once

#include <QString>

namespace velmora {

// What a login-item change came to: success, or the reason it failed, for a person.
class [[nodiscard]] LoginItemResult {
public:
    static LoginItemResult success() { return LoginItemResult(QString()); }
    static LoginItemResult failure(QString reason) { return LoginItemResult(std::move(reason)); }

    [[nodiscard]] bool succeeded() const { return m_error.isNull(); }
    [[nodiscard]] const QString &errorString() const { return m_error; }

private:
    explicit LoginItemResult(QString error)
        : m_error(std::move(error))
    {
    }
    QString m_error;
};

// The application's login item: an XDG autostart entry, `velmora.desktop` in
// $XDG_CONFIG_HOME/autostart, that starts the launcher hidden with --login-item.
class LoginItem {
public:
    // `autostartFolder` empty means $XDG_CONFIG_HOME/autostart; `executable` empty means
    // the running binary when it is an installed `velmora`, else `velmora` from PATH.
    explicit LoginItem(QString autostartFolder = {}, QString executable = {});

    [[nodiscard]] QString entryPath() const;
    [[nodiscard]] QString executable() const { return m_executable; }

    // The entry exists and the desktop has not switched it off (Hidden=true, or
    // X-GNOME-Autostart-enabled=false as GNOME's tools write it).
    [[nodiscard]] bool isEnabled() const;

    // Writes the entry atomically; an existing entry is replaced.
    LoginItemResult enable() const;
    // Removes the entry; removing one that is not there succeeds.
    LoginItemResult disable() const;

    // The entry's text for `executable` (quoted as the desktop-entry format asks).
    [[nodiscard]] static QByteArray entryContents(const QString &executable);
    [[nodiscard]] static QString defaultAutostartFolder();
    [[nodiscard]] static QString defaultExecutable();
    // The `velmora` command for the running program `self`: itself, or, for the full
    // program the command started, the command beside it or at its installed place;
    // "velmora" (found through PATH) for anything else.
    [[nodiscard]] static QString commandFor(const QString &self);

private:
    QString m_folder;
    QString m_executable;
};

} // namespace velmora
