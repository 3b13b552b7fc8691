#pragma once

#include <QString>
#include <QVariantMap>

#include <memory>

class QQmlEngine;
class QQuickItem;
class QQuickWindow;

namespace velmora {

class AppDelegate;
class PublicSettings;
class VelmoraWindow;

// Fills the windows with their QML screens, from one engine. Must outlive the windows.
class WindowContent {
public:
    WindowContent();
    ~WindowContent();
    WindowContent(const WindowContent &) = delete;
    WindowContent &operator=(const WindowContent &) = delete;

    bool loadLauncher(VelmoraWindow &window, PublicSettings &settings, QObject *launcherModel);
    bool loadOnboarding(QQuickWindow &window, AppDelegate &delegate);
    bool loadSettings(QQuickWindow &window, PublicSettings &settings, AppDelegate &delegate);

    [[nodiscard]] QQmlEngine &engine() const { return *m_engine; }

private:
    QQuickItem *load(QQuickWindow &window, const QString &file, const QVariantMap &properties);

    std::unique_ptr<QQmlEngine> m_engine;
};

} // namespace velmora
