#pragma once

#include "kestrelkit/ObservableUserDefault.h"

#include <QObject>

namespace kestrelkit {
class DefaultsStore;
}

namespace velmora {

// The user's settings and the launcher's window state, each read from the defaults on
// every use and written at once. Change signals arrive queued on the object's thread.
class PublicSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool showDockIcon READ showDockIcon WRITE setShowDockIcon NOTIFY showDockIconChanged)
    Q_PROPERTY(bool showMenubarIcon READ showMenubarIcon WRITE setShowMenubarIcon NOTIFY
                   showMenubarIconChanged)
    Q_PROPERTY(bool fullscreen READ fullscreen WRITE setFullscreen NOTIFY fullscreenChanged)
    Q_PROPERTY(double windowWidth READ windowWidth WRITE setWindowWidth NOTIFY windowWidthChanged)
    Q_PROPERTY(double windowHeight READ windowHeight WRITE setWindowHeight NOTIFY windowHeightChanged)
    Q_PROPERTY(bool isOnboardingFinished READ isOnboardingFinished WRITE setIsOnboardingFinished
                   NOTIFY isOnboardingFinishedChanged)
public:
    // `store` null means the user's standard defaults.
    explicit PublicSettings(kestrelkit::DefaultsStore *store = nullptr, QObject *parent = nullptr);

    // The process-wide instance over the standard defaults; created on first use (main thread).
    static PublicSettings &shared();

    [[nodiscard]] bool showDockIcon() const { return m_showDockIcon.get(); }
    [[nodiscard]] bool showMenubarIcon() const { return m_showMenubarIcon.get(); }
    [[nodiscard]] bool fullscreen() const { return m_fullscreen.get(); }
    [[nodiscard]] double windowWidth() const { return m_windowWidth.get(); }
    [[nodiscard]] double windowHeight() const { return m_windowHeight.get(); }
    [[nodiscard]] bool isOnboardingFinished() const { return m_isOnboardingFinished.get(); }

    void setShowDockIcon(bool on) { m_showDockIcon.set(on); }
    void setShowMenubarIcon(bool on) { m_showMenubarIcon.set(on); }
    void setFullscreen(bool on) { m_fullscreen.set(on); }
    void setWindowWidth(double width) { m_windowWidth.set(width); }
    void setWindowHeight(double height) { m_windowHeight.set(height); }
    void setIsOnboardingFinished(bool finished) { m_isOnboardingFinished.set(finished); }

signals:
    void showDockIconChanged();
    void showMenubarIconChanged();
    void fullscreenChanged();
    void windowWidthChanged();
    void windowHeightChanged();
    void isOnboardingFinishedChanged();

private:
    kestrelkit::ObservableUserDefault<bool> m_showDockIcon;
    kestrelkit::ObservableUserDefault<bool> m_showMenubarIcon;
    kestrelkit::ObservableUserDefault<bool> m_fullscreen;
    kestrelkit::ObservableUserDefault<double> m_windowWidth;
    kestrelkit::ObservableUserDefault<double> m_windowHeight;
    kestrelkit::ObservableUserDefault<bool> m_isOnboardingFinished;
};

} // namespace velmora
