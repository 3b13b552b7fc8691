#pragma once

#include "velmora/settings/ShortcutRecorder.h"
#include "velmora/settings/StartAtLoginSwitch.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace kestrelkit {
class DefaultsStore;
}

namespace velmora {

// The General tab: start at login, tray and taskbar presence, the toggle shortcut.
// The shell connects showMenubarIconChanged to the tray icon's visibility and
// showDockIconChanged to the launcher window's taskbar policy; both fire only on a
// change made here, never for the value read at creation.
class GeneralSettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(bool isStartAtLoginEnable READ isStartAtLoginEnable WRITE setStartAtLoginEnable NOTIFY isStartAtLoginEnableChanged)
    Q_PROPERTY(QString startAtLoginError READ startAtLoginError NOTIFY isStartAtLoginEnableChanged)
    Q_PROPERTY(bool showMenubarIcon READ showMenubarIcon WRITE setShowMenubarIcon NOTIFY showMenubarIconChanged)
    Q_PROPERTY(bool showDockIcon READ showDockIcon WRITE setShowDockIcon NOTIFY showDockIconChanged)
    Q_PROPERTY(velmora::ShortcutRecorder *shortcutRecorder READ shortcutRecorder CONSTANT)
public:
    static constexpr const char *kShowMenubarIconKey = "settings.showMenubarIcon";
    static constexpr const char *kShowDockIconKey = "settings.showDockIcon";

    // `store` null means the standard defaults store.
    explicit GeneralSettingsModel(LoginItem loginItem, kestrelkit::DefaultsStore *store = nullptr,
                                  QObject *parent = nullptr);

    [[nodiscard]] bool isStartAtLoginEnable() const { return m_startAtLogin.isOn(); }
    void setStartAtLoginEnable(bool on);
    [[nodiscard]] QString startAtLoginError() const { return m_startAtLogin.errorString(); }

    [[nodiscard]] bool showMenubarIcon() const;
    void setShowMenubarIcon(bool show);
    [[nodiscard]] bool showDockIcon() const;
    void setShowDockIcon(bool show);

    [[nodiscard]] ShortcutRecorder *shortcutRecorder() const { return m_recorder; }

signals:
    void isStartAtLoginEnableChanged();
    void showMenubarIconChanged(bool show);
    // Shown: a normal taskbar window. Hidden: a tool window, and the settings window is
    // raised again so that it stays in front.
    void showDockIconChanged(bool show);

private:
    StartAtLoginSwitch m_startAtLogin;
    kestrelkit::DefaultsStore *m_store;
    ShortcutRecorder *m_recorder;
};

} // namespace velmora
