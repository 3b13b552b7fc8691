#include "velmora/launcher/ScrollViewProxy.h"

#include "velmora/launcher/ScrollTarget.h"

#include <QHash>
#include <QPointer>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace velmora {

void ScrollOffsetPublisher::publish(QPointF offset)
{
    m_offset = offset;
    emit offsetChanged(offset);
}

struct ScrollViewProxy::Coordinator {
    QHash<ScrollId, QRectF> frames;
    QPointer<ScrollTarget> scrollView;
    ScrollOffsetPublisher publisher;
    QMetaObject::Connection offsetConnection;
    MessageSink messages;

    void say(const QString &message) const
    {
        if (messages) {
            messages(message);
            return;
        }
        QTextStream out(stdout);
        out << message << Qt::endl;
    }

    void scroll(const QRectF &rect, bool animated) const
    {
        scrollView->scrollRectToVisible(rect, animated);
    }
};

ScrollViewProxy::ScrollViewProxy(MessageSink messages)
    : m_coordinator(std::make_shared<Coordinator>())
    , m_space(QUuid::createUuid())
{
    m_coordinator->messages = std::move(messages);
}

QUuid ScrollViewProxy::space() const
{
    return m_space;
}

void ScrollViewProxy::updateFrames(const QList<std::pair<ScrollId, QRectF>> &frames)
{
    for (const auto &[id, rect] : frames)
        m_coordinator->frames.insert(id, rect);
}

void ScrollViewProxy::setFrame(const ScrollId &id, const QRectF &frame)
{
    m_coordinator->frames.insert(id, frame);
}

std::optional<QRectF> ScrollViewProxy::frame(const ScrollId &id) const
{
    const auto it = m_coordinator->frames.constFind(id);
    if (it == m_coordinator->frames.cend())
        return std::nullopt;
    return *it;
}

void ScrollViewProxy::attachScrollView(ScrollTarget *scrollView)
{
    Coordinator &c = *m_coordinator;
    if (c.scrollView == scrollView)
        return;
    c.scrollView = scrollView;
    QObject::disconnect(c.offsetConnection);
    if (!scrollView)
        return;
    // The offset follows the new view from the next turn of the main loop, as the view may
    // still be laying itself out while it is handed over.
    std::weak_ptr<Coordinator> weak = m_coordinator;
    QTimer::singleShot(0, &c.publisher, [weak, target = QPointer<ScrollTarget>(scrollView)] {
        const std::shared_ptr<Coordinator> coordinator = weak.lock();
        if (!coordinator || !target || coordinator->scrollView != target)
            return;
        ScrollOffsetPublisher *publisher = &coordinator->publisher;
        coordinator->offsetConnection =
            QObject::connect(target, &ScrollTarget::contentOffsetChanged, publisher,
                             [publisher](QPointF offset) { publisher->publish(offset); });
        publisher->publish(target->contentOffset());
    });
}

ScrollTarget *ScrollViewProxy::scrollView() const
{
    return m_coordinator->scrollView.data();
}

void ScrollViewProxy::scrollTo(const ScrollId &id, Alignment alignment, bool animated) const
{
    const Coordinator &c = *m_coordinator;
    if (!c.scrollView) {
        c.say(QStringLiteral("No scroll view"));
        return;
    }
    const std::optional<QRectF> registered = frame(id);
    if (!registered) {
        c.say(QStringLiteral("ID (") + id.description() + QStringLiteral(") not found."));
        return;
    }
    c.scroll(targetRect(*registered, alignment), animated);
}

void ScrollViewProxy::scrollTo(Alignment alignment, bool animated) const
{
    const Coordinator &c = *m_coordinator;
    if (!c.scrollView)
        return;
    // The whole document, so that every edge is reachable (the bottom included).
    const QRectF document(QPointF(0, 0), c.scrollView->documentSize());
    c.scroll(targetRect(document, alignment), animated);
}

double ScrollViewProxy::getPosition(const ScrollId &id) const
{
    const std::optional<QRectF> registered = frame(id);
    return registered ? registered->y() : 0.0;
}

QRectF ScrollViewProxy::targetRect(const QRectF &f, Alignment alignment) const
{
    const ScrollTarget *view = m_coordinator->scrollView.data();
    if (!view)
        return f;
    const QSizeF visible = view->visibleSize();
    const QMarginsF insets = view->contentInsets();
    const double w = visible.width() - insets.left() - insets.right();
    const double h = visible.height() - insets.top() - insets.bottom();

    const double centreX = f.center().x() - w / 2;
    const double centreY = f.center().y() - h / 2;
    const double leadingX = f.left();
    const double trailingX = f.right() - w;
    const double topY = f.top();
    const double bottomY = f.bottom() - h;

    double x = 0;
    double y = 0;
    switch (alignment) {
    case Alignment::center:
        x = centreX, y = centreY;
        break;
    case Alignment::leading:
        x = leadingX, y = centreY;
        break;
    case Alignment::trailing:
        x = trailingX, y = centreY;
        break;
    case Alignment::top:
        x = centreX, y = topY;
        break;
    case Alignment::bottom:
        x = centreX, y = bottomY;
        break;
    case Alignment::topLeading:
        x = leadingX, y = topY;
        break;
    case Alignment::topTrailing:
        x = trailingX, y = topY;
        break;
    case Alignment::bottomLeading:
        x = leadingX, y = bottomY;
        break;
    case Alignment::bottomTrailing:
        x = trailingX, y = bottomY;
        break;
    }

    const QSizeF document = view->documentSize();
    x = std::max(0.0, std::min(x, document.width() - w));
    y = std::max(0.0, std::min(y, document.height() - h));
    return {x, y, w, h};
}

ScrollOffsetPublisher *ScrollViewProxy::offset() const
{
    return &m_coordinator->publisher;
}

} // namespace velmora
