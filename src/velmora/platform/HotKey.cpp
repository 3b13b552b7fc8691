#include "velmora/platform/HotKey.h"

#include <QGuiApplication>
#include <QKeySequence>

namespace velmora {

std::unique_ptr<HotKey> HotKey::createForSession()
{
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
                         || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    if (wayland) {
        if (auto portal = createPortalHotKey())
            return portal;
    }
    // Under XWayland the grab works while one of the session's X clients has focus,
    // which is better than nothing.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto x11 = createX11HotKey())
            return x11;
    }
    return nullptr;
}

std::optional<QKeyCombination> HotKey::parse(const QString &text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1)
        return std::nullopt;
    const QKeyCombination combination = sequence[0];
    if (combination.key() == Qt::Key_unknown || combination.key() == 0)
        return std::nullopt;
    return combination;
}

QString HotKey::toText(QKeyCombination combination)
{
    return QKeySequence(combination).toString(QKeySequence::PortableText);
}

} // namespace velmora
