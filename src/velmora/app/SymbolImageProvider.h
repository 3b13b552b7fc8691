#pragma once

#include <QQuickImageProvider>

namespace velmora {

// "image://symbol/NAME": a symbol of the catalogue as an image, for the places that take
// an icon image rather than text (menu entries). Drawn opaque on transparent, so a
// control can tint it with its own text colour; no NAME gives an empty image.
class SymbolImageProvider final : public QQuickImageProvider {
public:
    SymbolImageProvider();
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    static constexpr int kDefaultSize = 32;
};

} // namespace velmora
