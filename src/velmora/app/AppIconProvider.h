#pragma once

#include <QQuickAsyncImageProvider>
#include <QThreadPool>

namespace velmora {

// Serves "image://appicon/<path>" to the tiles: the workspace's 128-pixel icon, loaded on
// a worker thread so the main thread never waits for a disk read or an SVG render. One
// worker: the icon theme's lookup caches are not made for concurrent use.
class AppIconProvider final : public QQuickAsyncImageProvider {
public:
    AppIconProvider();
    ~AppIconProvider() override;

    QQuickImageResponse *requestImageResponse(const QString &id, const QSize &requestedSize) override;

private:
    QThreadPool m_pool;
};

} // namespace velmora
