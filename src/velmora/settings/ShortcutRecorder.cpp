#include "velmora/settings/ShortcutRecorder.h"

#include "kestrelkit/Logger.h"
#include "kestrelkit/ObservableUserDefault.h"

#include <QClipboard>
#include <QGuiApplication>

namespace velmora {

namespace {

kestrelkit::ObservableUserDefault<QString> storedShortcut(kestrelkit::DefaultsStore *store)
{
    return {QString::fromLatin1(ShortcutRecorder::kDefaultsKey),
            QString::fromLatin1(ShortcutRecorder::kDefaultShortcut), store};
}

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

bool isFunctionKey(int key)
{
    return key >= Qt::Key_F1 && key <= Qt::Key_F35;
}

const kestrelkit::Logger &logger()
{
    static const kestrelkit::Logger log(QStringLiteral("ShortcutRecorder"));
    return log;
}

} // namespace

ShortcutRecorder::ShortcutRecorder(kestrelkit::DefaultsStore *store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
}

void ShortcutRecorder::setBinder(Binder binder)
{
    m_binder = std::move(binder);
}

void ShortcutRecorder::setBindingError(const QString &reason)
{
    setError(tr("%1 could not be set as the shortcut: %2").arg(shortcutText(), reason));
}

QKeySequence ShortcutRecorder::keySequence() const
{
    return QKeySequence::fromString(shortcut(), QKeySequence::PortableText);
}

QString ShortcutRecorder::shortcut() const
{
    return storedShortcut(m_store).get();
}

QString ShortcutRecorder::shortcutText() const
{
    return keySequence().toString(QKeySequence::NativeText);
}

QString ShortcutRecorder::toggleCommand()
{
    return QStringLiteral("velmora --toggle");
}

void ShortcutRecorder::startRecording()
{
    setHint(tr("Type a shortcut (Esc cancels, Backspace clears)"));
    setRecording(true);
}

void ShortcutRecorder::cancelRecording()
{
    setHint({});
    setRecording(false);
}

bool ShortcutRecorder::handleKey(int key, int modifiers)
{
    if (!m_recording)
        return false;
    const auto mods = Qt::KeyboardModifiers(modifiers)
        & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::NoModifier && key == Qt::Key_Escape) {
        cancelRecording();
        return true;
    }
    if (mods == Qt::NoModifier && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
        clear();
        return true;
    }
    if (isModifierKey(key))
        return true; // wait for the key that goes with them
    // A plain key (or Shift+key) as a global shortcut would swallow ordinary typing.
    if (!(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && !isFunctionKey(key)) {
        setHint(tr("Use Ctrl, Alt or Super with the key"));
        return true;
    }
    if (key == Qt::Key_Backtab)
        key = Qt::Key_Tab;
    apply(QKeySequence(QKeyCombination(mods, Qt::Key(key))));
    return true;
}

void ShortcutRecorder::clear()
{
    apply(QKeySequence());
}

void ShortcutRecorder::copyToggleCommand() const
{
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        app->clipboard()->setText(toggleCommand());
}

void ShortcutRecorder::apply(const QKeySequence &sequence)
{
    const QKeySequence previous = keySequence();
    setHint({});
    setRecording(false);
    if (m_binder) {
        if (const auto reason = m_binder(sequence)) {
            logger().error(QStringLiteral("Cannot bind %1: %2")
                               .arg(sequence.toString(QKeySequence::PortableText), *reason));
            // Keep the shortcut that worked; the new one stays unstored.
            if (previous != sequence)
                (void)m_binder(previous);
            setError(tr("%1 could not be set as the shortcut: %2")
                         .arg(sequence.toString(QKeySequence::NativeText), *reason));
            return;
        }
    }
    setError({});
    const QString text = sequence.toString(QKeySequence::PortableText);
    if (text == shortcut())
        return;
    storedShortcut(m_store).set(text);
    logger().info(QStringLiteral("Toggle shortcut set to \"%1\"").arg(text));
    emit shortcutChanged();
}

void ShortcutRecorder::setRecording(bool on)
{
    if (m_recording == on)
        return;
    m_recording = on;
    emit recordingChanged();
}

void ShortcutRecorder::setHint(const QString &hint)
{
    if (m_hint == hint)
        return;
    m_hint = hint;
    emit hintChanged();
}

void ShortcutRecorder::setError(const QString &error)
{
    if (m_error == error)
        return;
    m_error = error;
    emit errorStringChanged();
}

} // namespace velmora
