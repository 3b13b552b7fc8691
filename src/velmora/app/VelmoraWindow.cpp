#include "velmora/app/VelmoraWindow.h"

#include "kestrelkit/NotificationCenter.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QSurfaceFormat>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr Qt::KeyboardModifiers kRoutedModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

void post(const char *name, const QVariantMap &userInfo = {})
{
    kestrelkit::NotificationCenter::defaultCenter().post(QString::fromLatin1(name), userInfo);
}

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return true;
    default:
        return false;
    }
}

// Modifiers after the event. QKeyEvent already folds in Shift/Control/Alt/Meta keys
// themselves; the Super keys carry Meta but are not folded in.
Qt::KeyboardModifiers modifiersAfter(const QKeyEvent *event)
{
    Qt::KeyboardModifiers mods = event->modifiers();
    if (event->key() == Qt::Key_Super_L || event->key() == Qt::Key_Super_R)
        mods.setFlag(Qt::MetaModifier, event->type() == QEvent::KeyPress);
    return mods & kRoutedModifiers;
}

// The top-row digit of the event, if any. On X11 the hardware key decides (evdev codes
// 10..19 are 1..9, 0 whatever the layout prints on them); elsewhere the Qt key does,
// keypad digits excluded.
std::optional<QChar> topRowDigit(const QKeyEvent *event)
{
    static const bool onXcb = QGuiApplication::platformName() == QLatin1String("xcb");
    const quint32 scan = event->nativeScanCode();
    if (onXcb && scan >= 10 && scan <= 19)
        return scan == 19 ? QChar(u'0') : QChar(char16_t(u'1' + (scan - 10)));
    if (event->modifiers().testFlag(Qt::KeypadModifier))
        return std::nullopt;
    if (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9)
        return QChar(char16_t(u'0' + (event->key() - Qt::Key_0)));
    return std::nullopt;
}

const char *arrowOrEscape(int key)
{
    switch (key) {
    case Qt::Key_Up:
        return "keyboardPressedUp";
    case Qt::Key_Down:
        return "keyboardPressedDown";
    case Qt::Key_Left:
        return "keyboardPressedLeft";
    case Qt::Key_Right:
        return "keyboardPressedRight";
    case Qt::Key_Escape:
        return "keyboardPressedEscape";
    default:
        return nullptr;
    }
}

} // namespace

VelmoraWindow::VelmoraWindow(QWindow *parent)
    : QQuickWindow(parent)
    , m_pointer([] { return QCursor::pos(); })
{
    QSurfaceFormat format = this->format();
    format.setAlphaBufferSize(8);
    setFormat(format);
    setColor(Qt::transparent);
    setMinimumSize(QSize(kMinimumWidth, kMinimumHeight));
    setListedInTaskbar(false);

    // Clicking elsewhere or starting an application hides the launcher. Only a window
    // that became active since it was shown counts: X11 delivers the deactivation of an
    // earlier showing up to 400 ms late (Qt waits that long for a focus-in), and it
    // would hide the launcher again right after a quick re-show. A tile dragged out of
    // the grid takes the focus away too (the drag grabs the pointer) while our own button
    // is still held: the launcher must stay for its drop targets.
    connect(this, &QWindow::visibleChanged, this, [this](bool visible) {
        if (visible)
            m_activatedSinceShown = false;
    });
    connect(this, &QWindow::activeChanged, this, [this] {
        if (!isVisible())
            return;
        if (isActive())
            m_activatedSinceShown = true;
        else if (m_activatedSinceShown && QGuiApplication::mouseButtons() == Qt::NoButton)
            hide();
    });
}

void VelmoraWindow::setListedInTaskbar(bool listed)
{
    Qt::WindowFlags f = Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    f |= listed ? Qt::Window : Qt::Tool;
    if (flags() != f)
        setFlags(f);
}

void VelmoraWindow::setShowingPopover(bool showing)
{
    if (m_showingPopover == showing)
        return;
    m_showingPopover = showing;
    emit showingPopoverChanged();
}

void VelmoraWindow::setResizable(bool on)
{
    if (m_resizable == on)
        return;
    m_resizable = on;
    if (!on)
        m_resizeEdges = {};
    emit resizableChanged();
}

std::optional<QRect> VelmoraWindow::screenFrameUnder(const QList<QRect> &frames,
                                                     const QPoint &pointer,
                                                     std::optional<QRect> primary)
{
    for (const QRect &frame : frames) {
        if (frame.contains(pointer))
            return frame;
    }
    return primary;
}

std::optional<QRect> VelmoraWindow::screenFrameAt(const QPoint &pointer)
{
    QList<QRect> frames;
    for (const QScreen *screen : QGuiApplication::screens())
        frames.append(screen->geometry());
    std::optional<QRect> primary;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        primary = screen->geometry();
    return screenFrameUnder(frames, pointer, primary);
}

std::optional<QRect> VelmoraWindow::screenFrameUnderPointer() const
{
    return screenFrameAt(m_pointer());
}

QRect VelmoraWindow::frameAbout(const QPointF &centre, const QSize &size) const
{
    const QPoint origin(int(std::lround(centre.x() - size.width() / 2.0)),
                        int(std::lround(centre.y() - size.height() / 2.0)));
    return QRect(origin, size);
}

void VelmoraWindow::center()
{
    const auto frame = screenFrameUnderPointer();
    if (!frame) {
        // No screen at all: nothing to centre on; leave the window where the platform put it.
        return;
    }
    m_preciseCenter = QRectF(*frame).center();
    setGeometry(frameAbout(*m_preciseCenter, size()));
}

void VelmoraWindow::setFrame(const QRect &requested)
{
    const QSize size(std::max(requested.width(), kMinimumWidth),
                     std::max(requested.height(), kMinimumHeight));
    // A frame change before the first centring keeps the current centre rather than
    // jumping to an undefined one.
    if (!m_preciseCenter)
        m_preciseCenter = QRectF(geometry()).center();
    setGeometry(frameAbout(*m_preciseCenter, size));
}

void VelmoraWindow::applyFullScreenFrame()
{
    setResizable(false);
    const auto frame = screenFrameUnderPointer();
    if (!frame)
        return;
    // The origin is this fixed point whichever screen was chosen.
    setGeometry(QRect(QPoint(-2, -2), frame->size() + QSize(4, 4)));
}

void VelmoraWindow::applyWindowedFrame()
{
    setResizable(true);
    if (m_preciseCenter)
        setGeometry(frameAbout(*m_preciseCenter, QSize(kMinimumWidth, kMinimumHeight)));
    else
        resize(kMinimumWidth, kMinimumHeight);
    center();
}

bool VelmoraWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (!m_showingPopover && routeKey(static_cast<QKeyEvent *>(event)))
            return true;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (handleResizeMouse(static_cast<QMouseEvent *>(event)))
            return true;
        break;
    case QEvent::Close:
        // The window lives for the whole process; closing only hides it.
        event->ignore();
        hide();
        return true;
    default:
        break;
    }
    return QQuickWindow::event(event);
}

bool VelmoraWindow::routeKey(QKeyEvent *event)
{
    if (isModifierKey(event->key())) {
        postModifierChange(modifiersAfter(event));
        return false;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & kRoutedModifiers;
    if (mods == Qt::NoModifier && event->type() == QEvent::KeyPress) {
        if (const char *name = arrowOrEscape(event->key())) {
            post(name);
            if (event->key() == Qt::Key_Escape)
                hide();
            return true;
        }
    }
    if (mods == Qt::AltModifier || mods == Qt::ControlModifier) {
        if (const auto digit = topRowDigit(event)) {
            post(mods == Qt::AltModifier ? "keyboardPressedOptionNumberSet"
                                         : "keyboardPressedCommandNumberSet",
                 {{QStringLiteral("key"), QString(*digit)}});
            return true;
        }
    }
    return false;
}

void VelmoraWindow::postModifierChange(Qt::KeyboardModifiers modifiers)
{
    if (modifiers == Qt::ShiftModifier) {
        post("keyboardPressedShift");
    } else if (modifiers == Qt::AltModifier) {
        post("keyboardPressedOption");
    } else if (modifiers == Qt::ControlModifier) {
        post("keyboardPressedCommand");
    } else {
        post("keyboardReleasedCommand");
        post("keyboardReleasedOption");
        post("keyboardReleasedShift");
    }
}

Qt::Edges VelmoraWindow::edgesAt(const QPointF &local) const
{
    Qt::Edges edges;
    if (local.x() < kResizeBand)
        edges |= Qt::LeftEdge;
    if (local.x() >= width() - kResizeBand)
        edges |= Qt::RightEdge;
    if (local.y() < kResizeBand)
        edges |= Qt::TopEdge;
    if (local.y() >= height() - kResizeBand)
        edges |= Qt::BottomEdge;
    return edges;
}

bool VelmoraWindow::handleResizeMouse(QMouseEvent *event)
{
    if (!m_resizable)
        return false;
    const QPointF global = event->globalPosition();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const Qt::Edges edges = edgesAt(event->position());
        if (event->button() != Qt::LeftButton || !edges)
            return false;
        m_resizeEdges = edges;
        m_resizeStartPointer = global;
        m_resizeStartFrame = geometry();
        // Live resize starts: stay centred where the window is now.
        m_preciseCenter = QRectF(m_resizeStartFrame).center();
        return true;
    }
    case QEvent::MouseMove: {
        if (!m_resizeEdges) {
            const Qt::Edges edges = edgesAt(event->position());
            if ((edges & (Qt::LeftEdge | Qt::RightEdge)) && (edges & (Qt::TopEdge | Qt::BottomEdge)))
                setCursor((edges == (Qt::LeftEdge | Qt::TopEdge)
                           || edges == (Qt::RightEdge | Qt::BottomEdge))
                              ? Qt::SizeFDiagCursor
                              : Qt::SizeBDiagCursor);
            else if (edges & (Qt::LeftEdge | Qt::RightEdge))
                setCursor(Qt::SizeHorCursor);
            else if (edges)
                setCursor(Qt::SizeVerCursor);
            else
                unsetCursor();
            return false;
        }
        const QPoint delta = (global - m_resizeStartPointer).toPoint();
        QRect requested = m_resizeStartFrame;
        if (m_resizeEdges & Qt::LeftEdge)
            requested.setLeft(requested.left() + delta.x());
        if (m_resizeEdges & Qt::RightEdge)
            requested.setRight(requested.right() + delta.x());
        if (m_resizeEdges & Qt::TopEdge)
            requested.setTop(requested.top() + delta.y());
        if (m_resizeEdges & Qt::BottomEdge)
            requested.setBottom(requested.bottom() + delta.y());
        setFrame(requested);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_resizeEdges || event->button() != Qt::LeftButton)
            return false;
        m_resizeEdges = {};
        return true;
    default:
        return false;
    }
}

} // namespace velmora
