#pragma once

#include <QMarginsF>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace velmora {

// The scroll area a ScrollViewProxy acts on; the view layer adapts its scrolling view
// (a QML Flickable) to this. All sizes and rectangles are in content coordinates.
// Main thread only.
class ScrollTarget : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ScrollTarget() override = default;

    // How long an animated scroll takes.
    static constexpr int kAnimationMilliseconds = 300;

    // The visible part of the content, insets included.
    [[nodiscard]] virtual QSizeF visibleSize() const = 0;
    [[nodiscard]] virtual QMarginsF contentInsets() const = 0;
    // The size of the whole content (the document).
    [[nodiscard]] virtual QSizeF documentSize() const = 0;
    // The current scroll position: the content point at the viewport's top-left corner.
    [[nodiscard]] virtual QPointF contentOffset() const = 0;
    // Scrolls the least distance that brings `rect` into view; the proxy always passes a
    // viewport-sized rectangle that lies within the scrollable range.
    virtual void scrollRectToVisible(const QRectF &rect, bool animated) = 0;

signals:
    void contentOffsetChanged(QPointF offset);
};

} // namespace velmora
