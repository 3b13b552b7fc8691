#pragma once

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QQuickWindow>
#include <QRect>

#include <functional>
#include <optional>

class QKeyEvent;
class QMouseEvent;

namespace velmora {

// The launcher's frameless, translucent, stay-on-top window. It stays centred on
// `preciseCenter`, never shrinks below 640 x 580, hides when it stops being the active
// window, and turns arrow keys, Escape, Alt/Ctrl + digit and modifier changes into
// notifications ("keyboardPressedUp", "keyboardPressedCommandNumberSet", ...).
// Having no frame, it resizes itself from its edges, symmetrically about its centre.
class VelmoraWindow : public QQuickWindow {
    Q_OBJECT
    Q_PROPERTY(bool showingPopover READ showingPopover WRITE setShowingPopover NOTIFY
                   showingPopoverChanged)
    Q_PROPERTY(bool resizable READ isResizable NOTIFY resizableChanged)
public:
    static constexpr int kMinimumWidth = 640;
    static constexpr int kMinimumHeight = 580;
    // Width of the band along each edge that starts a resize.
    static constexpr int kResizeBand = 6;

    explicit VelmoraWindow(QWindow *parent = nullptr);

    [[nodiscard]] std::optional<QPointF> preciseCenter() const { return m_preciseCenter; }

    // Centre on the screen under the pointer; keeps the size and bypasses setFrame().
    void center();
    // Every size change: at least 640 x 580, centred on preciseCenter (the origin asked
    // for is ignored).
    void setFrame(const QRect &requested);
    // Covers the screen under the pointer: origin (-2, -2), that screen's size + 4.
    void applyFullScreenFrame();
    // 640 x 580 about preciseCenter, then centred on the pointer's screen.
    void applyWindowedFrame();

    [[nodiscard]] bool showingPopover() const { return m_showingPopover; }
    void setShowingPopover(bool showing);
    [[nodiscard]] bool isResizable() const { return m_resizable; }

    // Listed in the taskbar (a normal window) or not (a tool window).
    void setListedInTaskbar(bool listed);

    // Where the pointer is, in global coordinates; tests replace it.
    void setPointerSource(std::function<QPoint()> source) { m_pointer = std::move(source); }

    // The first frame containing the pointer, else the primary frame, else none.
    [[nodiscard]] static std::optional<QRect> screenFrameUnder(const QList<QRect> &frames,
                                                               const QPoint &pointer,
                                                               std::optional<QRect> primary);
    // The same over the screens this application sees.
    [[nodiscard]] static std::optional<QRect> screenFrameAt(const QPoint &pointer);

signals:
    void showingPopoverChanged();
    void resizableChanged();

protected:
    bool event(QEvent *event) override;

private:
    [[nodiscard]] std::optional<QRect> screenFrameUnderPointer() const;
    [[nodiscard]] QRect frameAbout(const QPointF &centre, const QSize &size) const;
    void setResizable(bool on);
    bool routeKey(QKeyEvent *event);
    void postModifierChange(Qt::KeyboardModifiers modifiers);
    bool handleResizeMouse(QMouseEvent *event);
    [[nodiscard]] Qt::Edges edgesAt(const QPointF &local) const;

    std::optional<QPointF> m_preciseCenter;
    bool m_showingPopover = false;
    bool m_resizable = true;
    bool m_activatedSinceShown = false;
    std::function<QPoint()> m_pointer;

    Qt::Edges m_resizeEdges;
    QPointF m_resizeStartPointer;
    QRect m_resizeStartFrame;
};

} // namespace velmora
