#include "velmora/platform/HotKey.h"

#include "kestrelkit/Logger.h"

#include <QHash>
#include <QSet>
#include <QSocketNotifier>

// X11 headers last: their macros (None, Bool, KeyPress, ...) clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace velmora {

namespace {

// Xlib reports errors through one process-wide handler; it is swapped in only around
// our own synchronous grab requests, on the main thread.
int g_lastXError = 0;
int recordXError(Display *, XErrorEvent *event)
{
    g_lastXError = event->error_code;
    return 0;
}

KeySym keySymFor(Qt::Key key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return XK_a + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return XK_F1 + (key - Qt::Key_F1);
    if (key >= 0x20 && key <= 0x7e)
        return KeySym(key); // printable Latin-1: the keysym is the character
    switch (key) {
    case Qt::Key_Escape: return XK_Escape;
    case Qt::Key_Tab: return XK_Tab;
    case Qt::Key_Return: return XK_Return;
    case Qt::Key_Enter: return XK_KP_Enter;
    case Qt::Key_Backspace: return XK_BackSpace;
    case Qt::Key_Insert: return XK_Insert;
    case Qt::Key_Delete: return XK_Delete;
    case Qt::Key_Home: return XK_Home;
    case Qt::Key_End: return XK_End;
    case Qt::Key_PageUp: return XK_Prior;
    case Qt::Key_PageDown: return XK_Next;
    case Qt::Key_Left: return XK_Left;
    case Qt::Key_Up: return XK_Up;
    case Qt::Key_Right: return XK_Right;
    case Qt::Key_Down: return XK_Down;
    case Qt::Key_Print: return XK_Print;
    case Qt::Key_Pause: return XK_Pause;
    default: return NoSymbol;
    }
}

class HotKeyX11 final : public HotKey {
public:
    explicit HotKeyX11(Display *display)
        : HotKey(nullptr)
        , m_display(display)
        , m_root(DefaultRootWindow(display))
    {
        // Without this, holding the keys sends a release before every repeated press.
        Bool supported = False;
        XkbSetDetectableAutoRepeat(m_display, True, &supported);
        if (!supported)
            m_log.notice(QStringLiteral("Detectable auto-repeat is not supported; a held "
                                        "shortcut may fire more than once"));
        m_altMask = maskOf(XK_Alt_L, Mod1Mask);
        m_metaMask = maskOf(XK_Super_L, Mod4Mask);
        const unsigned numLock = maskOf(XK_Num_Lock, 0);
        const unsigned scrollLock = maskOf(XK_Scroll_Lock, 0);
        QSet<unsigned> variants;
        for (unsigned caps : {0u, unsigned(LockMask)})
            for (unsigned num : {0u, numLock})
                for (unsigned scroll : {0u, scrollLock})
                    variants.insert(caps | num | scroll);
        m_lockVariants = variants.values();
        m_lockMask = LockMask | numLock | scrollLock;

        m_notifier = new QSocketNotifier(ConnectionNumber(m_display), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readEvents(); });
    }

    ~HotKeyX11() override
    {
        const auto names = m_bindings.keys();
        for (const QString &name : names)
            unregisterShortcut(name);
        XCloseDisplay(m_display);
    }

    bool registerShortcut(const QString &name, QKeyCombination combination) override
    {
        unregisterShortcut(name);
        const KeySym sym = keySymFor(combination.key());
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(m_display, sym);
        if (code == 0) {
            setLastError(QStringLiteral("%1 has no key on this keyboard").arg(toText(combination)));
            m_log.error(lastError());
            return false;
        }
        const unsigned mods = maskFor(combination.keyboardModifiers());
        if (!grab(code, mods, true)) {
            grab(code, mods, false);
            setLastError(
                QStringLiteral("%1 is already taken by another program").arg(toText(combination)));
            m_log.error(lastError());
            return false;
        }
        m_bindings.insert(name, Binding{code, mods, false});
        m_log.info(QStringLiteral("Registered %1 as %2").arg(name, toText(combination)));
        readEvents(); // XSync may have queued events that the socket will not announce again
        return true;
    }

    void unregisterShortcut(const QString &name) override
    {
        const auto it = m_bindings.constFind(name);
        if (it == m_bindings.cend())
            return;
        grab(it->code, it->mods, false);
        m_bindings.erase(it);
    }

    [[nodiscard]] QString backendName() const override { return QStringLiteral("X11"); }

private:
    struct Binding {
        KeyCode code;
        unsigned mods;
        bool pressed;
    };

    // Grab (or release) the key with every combination of Caps, Num and Scroll Lock, or
    // the shortcut is dead while a lock is on. owner_events is False so that releases
    // come here even when our own window has the focus. True when the server accepted all.
    bool grab(KeyCode code, unsigned mods, bool on)
    {
        g_lastXError = 0;
        XErrorHandler previous = XSetErrorHandler(recordXError);
        for (unsigned variant : m_lockVariants) {
            if (on)
                XGrabKey(m_display, code, mods | variant, m_root, False, GrabModeAsync,
                         GrabModeAsync);
            else
                XUngrabKey(m_display, code, mods | variant, m_root);
        }
        XSync(m_display, False);
        XSetErrorHandler(previous);
        return g_lastXError == 0;
    }

    unsigned maskFor(Qt::KeyboardModifiers modifiers) const
    {
        unsigned mask = 0;
        if (modifiers & Qt::ShiftModifier)
            mask |= ShiftMask;
        if (modifiers & Qt::ControlModifier)
            mask |= ControlMask;
        if (modifiers & Qt::AltModifier)
            mask |= m_altMask;
        if (modifiers & Qt::MetaModifier)
            mask |= m_metaMask;
        return mask;
    }

    // The modifier bit the keyboard's modifier map gives `sym`, else `fallback`.
    unsigned maskOf(KeySym sym, unsigned fallback) const
    {
        const KeyCode code = XKeysymToKeycode(m_display, sym);
        XModifierKeymap *map = XGetModifierMapping(m_display);
        unsigned mask = fallback;
        if (map && code != 0) {
            for (int modifier = 0; modifier < 8 && mask == fallback; ++modifier) {
                for (int i = 0; i < map->max_keypermod; ++i) {
                    if (map->modifiermap[modifier * map->max_keypermod + i] == code) {
                        mask = 1u << modifier;
                        break;
                    }
                }
            }
        }
        if (map)
            XFreeModifiermap(map);
        return mask;
    }

    void readEvents()
    {
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type != KeyPress && event.type != KeyRelease)
                continue;
            const auto code = KeyCode(event.xkey.keycode);
            // Low byte only: the rest are pointer buttons.
            const unsigned mods = event.xkey.state & 0xffu & ~m_lockMask;
            for (auto it = m_bindings.begin(); it != m_bindings.end(); ++it) {
                if (it->code != code)
                    continue;
                if (event.type == KeyPress) {
                    if (mods == it->mods && !it->pressed) {
                        it->pressed = true;
                        emit pressed(it.key());
                    }
                } else if (it->pressed) {
                    // Matched by key only: the modifier may already be up.
                    it->pressed = false;
                    emit activated(it.key());
                }
            }
        }
    }

    kestrelkit::Logger m_log{QStringLiteral("HotKey")};
    Display *m_display;
    Window m_root;
    unsigned m_altMask = Mod1Mask;
    unsigned m_metaMask = Mod4Mask;
    unsigned m_lockMask = LockMask;
    QList<unsigned> m_lockVariants;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QString, Binding> m_bindings;
};

} // namespace

std::unique_ptr<HotKey> createX11HotKey()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    return std::make_unique<HotKeyX11>(display);
}

} // namespace velmora
