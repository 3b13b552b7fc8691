#pragma once

#include <QString>
#include <QVariantMap>

#include <memory>

class QQmlEngine;
class QQuickItem;
class QQuickWindow;

namespace velmora {

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

    [[nodiscard]] QQmlEngine &engine() const { return *m_engine; }

    // Loads `file` (relative to qrc:/qt/qml/Velmora/) into `window`; null on failure (logged).
    QQuickItem *load(QQuickWindow &window, const QString &file, const QVariantMap &properties);

private:

    std::unique_ptr<QQmlEngine> m_engine;
};

} // namespace velmora
