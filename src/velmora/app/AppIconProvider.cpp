#include "velmora/app/AppIconProvider.h"

#include "velmora/library/AppRecord.h"
#include "velmora/library/AppWorkspace.h"

#include <QRunnable>
#include <QUrl>

namespace velmora {

namespace {

class IconResponse final : public QQuickImageResponse, public QRunnable {
public:
    IconResponse(QString path, QSize requested)
        : m_path(std::move(path)), m_requested(requested)
    {
        setAutoDelete(false);
    }

    void run() override
    {
        AppWorkspace *workspace = AppWorkspace::current();
        QImage image = workspace ? workspace->loadIcon(m_path, AppRecord::kIconSize) : QImage();
        if (!image.isNull() && m_requested.isValid() && !m_requested.isEmpty())
            image = image.scaled(m_requested, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_image = std::move(image);
        emit finished();
    }

    QQuickTextureFactory *textureFactory() const override
    {
        return QQuickTextureFactory::textureFactoryForImage(m_image);
    }

private:
    QString m_path;
    QSize m_requested;
    QImage m_image;
};

} // namespace

AppIconProvider::AppIconProvider()
{
    m_pool.setMaxThreadCount(1);
}

AppIconProvider::~AppIconProvider()
{
    m_pool.clear();
    m_pool.waitForDone();
}

QQuickImageResponse *AppIconProvider::requestImageResponse(const QString &id, const QSize &requestedSize)
{
    auto *response = new IconResponse(QUrl::fromPercentEncoding(id.toUtf8()), requestedSize);
    m_pool.start(response);
    return response;
}

} // namespace velmora
