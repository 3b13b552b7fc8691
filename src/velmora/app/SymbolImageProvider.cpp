#include "velmora/app/SymbolImageProvider.h"

#include "kestrelkit/SFSymbols.h"

#include <QFont>
#include <QPainter>
#include <QUrl>

#include <algorithm>

namespace velmora {

SymbolImageProvider::SymbolImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{
}

QImage SymbolImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const int side = std::max(requestedSize.width(), requestedSize.height()) > 0
        ? std::max(requestedSize.width(), requestedSize.height())
        : kDefaultSize;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Material Icons"));
    font.setPixelSize(side);
    painter.setFont(font);
    painter.setPen(Qt::black);
    // No name: an empty image of the same size, which keeps menu texts aligned.
    const QString name = QUrl::fromPercentEncoding(id.toUtf8());
    if (!name.isEmpty())
        painter.drawText(image.rect(), Qt::AlignCenter, kestrelkit::SFSymbols::shared().glyph(name));
    painter.end();
    if (size)
        *size = image.size();
    return image;
}

} // namespace velmora
