#pragma once

#include "velmora/launcher/ScrollId.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace velmora {

class ScrollTarget;

// Where a registered view should end up in the visible area.
enum class Alignment {
    center,
    leading,
    trailing,
    top,
    bottom,
    topLeading,
    topTrailing,
    bottomLeading,
    bottomTrailing,
};

// Publishes the scroll offset: (0, 0) until a scroll view is attached, then the scroll
// view's current offset at once (on the next turn of the main loop) and every change after.
class ScrollOffsetPublisher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    [[nodiscard]] QPointF offset() const { return m_offset; }

signals:
    void offsetChanged(QPointF offset);

private:
    friend class ScrollViewProxy;
    void publish(QPointF offset);

    QPointF m_offset;
};

// Scroll requests for one scroll area: views register their frames (content coordinates)
// under an identifier, and the proxy scrolls a registered view into a given place. Copies
// share one registry and one scroll view. Main thread only.
class ScrollViewProxy {
public:
    // Receives the developer messages ("No scroll view", "ID (…) not found."); by default
    // they go to standard output.
    using MessageSink = std::function<void(const QString &)>;

    explicit ScrollViewProxy(MessageSink messages = {});

    // Names the coordinate space the registered frames are measured in.
    [[nodiscard]] QUuid space() const;

    // Stores frames in list order; a later entry with the same identifier wins. Entries are
    // never removed: a view that leaves the screen keeps its last frame.
    void updateFrames(const QList<std::pair<ScrollId, QRectF>> &frames);
    void setFrame(const ScrollId &id, const QRectF &frame);
    [[nodiscard]] std::optional<QRectF> frame(const ScrollId &id) const;

    // Attaches the hosting scroll view, held weakly; the same view again changes nothing.
    void attachScrollView(ScrollTarget *scrollView);
    [[nodiscard]] ScrollTarget *scrollView() const;

    // Scrolls the view registered under `id` to `alignment`.
    void scrollTo(const ScrollId &id, Alignment alignment, bool animated) const;
    // Scrolls to an edge (or the centre) of the content; nothing without a scroll view.
    void scrollTo(Alignment alignment, bool animated) const;

    // The y of the registered frame's origin, or 0 for an unknown identifier.
    [[nodiscard]] double getPosition(const ScrollId &id) const;

    // The viewport-sized rectangle that shows `frame` at `alignment`, clamped to the content;
    // `frame` itself while no scroll view is attached.
    [[nodiscard]] QRectF targetRect(const QRectF &frame, Alignment alignment) const;

    [[nodiscard]] ScrollOffsetPublisher *offset() const;

private:
    struct Coordinator;
    std::shared_ptr<Coordinator> m_coordinator;
    QUuid m_space;
};

} // namespace velmora
