#include "velmora/launcher/FlickableScrollTarget.h"

#include <QPropertyAnimation>

namespace velmora {

FlickableScrollTarget::FlickableScrollTarget(QObject *flickable, QObject *parent)
    : ScrollTarget(parent)
    , m_flickable(flickable)
    , m_animation(new QPropertyAnimation(this))
{
    m_animation->setTargetObject(flickable);
    m_animation->setPropertyName("contentY");
    m_animation->setDuration(kAnimationMilliseconds);
    m_animation->setEasingCurve(QEasingCurve::InOutQuad);
    // Flickable's notifiers are found by name: the type is private to Qt Quick.
    connect(flickable, SIGNAL(contentYChanged()), this, SLOT(flickableMoved()));
    connect(flickable, SIGNAL(contentXChanged()), this, SLOT(flickableMoved()));
    // Gone with its view: the proxy holds us weakly and sees the scroll view disappear.
    connect(flickable, &QObject::destroyed, this, &QObject::deleteLater);
}

double FlickableScrollTarget::number(const char *property) const
{
    return m_flickable ? m_flickable->property(property).toDouble() : 0.0;
}

QSizeF FlickableScrollTarget::visibleSize() const
{
    return {number("width"), number("height")};
}

QMarginsF FlickableScrollTarget::contentInsets() const
{
    return {};
}

QSizeF FlickableScrollTarget::documentSize() const
{
    return {number("contentWidth"), number("contentHeight")};
}

QPointF FlickableScrollTarget::contentOffset() const
{
    return {number("contentX"), number("contentY")};
}

void FlickableScrollTarget::scrollRectToVisible(const QRectF &rect, bool animated)
{
    if (!m_flickable)
        return;
    const double top = number("contentY");
    const double height = number("height");
    double target = top;
    if (rect.top() < top)
        target = rect.top();
    else if (rect.bottom() > top + height)
        target = rect.bottom() - height;
    const double limit = std::max(0.0, number("contentHeight") - height);
    target = std::clamp(target, 0.0, limit);
    m_animation->stop();
    if (animated && target != top) {
        m_animation->setStartValue(top);
        m_animation->setEndValue(target);
        m_animation->start();
    } else {
        m_flickable->setProperty("contentY", target);
    }
}

void FlickableScrollTarget::flickableMoved()
{
    emit contentOffsetChanged(contentOffset());
}

} // namespace velmora
