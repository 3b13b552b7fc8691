#pragma once

#include "velmora/launcher/ScrollTarget.h"

#include <QPointer>

class QPropertyAnimation;

namespace velmora {

// Adapts a QML Flickable (read through its properties: contentX/Y, contentWidth/Height,
// width, height) to the ScrollTarget a ScrollViewProxy acts on. Animated scrolls run
// a 0.3 s animation of contentY. Main thread only.
class FlickableScrollTarget final : public ScrollTarget {
    Q_OBJECT
public:
    explicit FlickableScrollTarget(QObject *flickable, QObject *parent = nullptr);

    [[nodiscard]] QSizeF visibleSize() const override;
    [[nodiscard]] QMarginsF contentInsets() const override;
    [[nodiscard]] QSizeF documentSize() const override;
    [[nodiscard]] QPointF contentOffset() const override;
    void scrollRectToVisible(const QRectF &rect, bool animated) override;

    [[nodiscard]] QObject *flickable() const { return m_flickable; }

private slots:
    void flickableMoved();

private:
    [[nodiscard]] double number(const char *property) const;

    QPointer<QObject> m_flickable;
    QPropertyAnimation *m_animation;
};

} // namespace velmora
