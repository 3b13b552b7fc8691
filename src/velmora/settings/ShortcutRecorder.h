#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

namespace kestrelkit {
class DefaultsStore;
}

namespace velmora {

// The "Toggle Launcher:" recorder: records a key combination, hands it to the hot-key
// backend at once and stores it under "shortcut.toggleLauncher" (a JSON string in
// QKeySequence's portable form, "Alt+Space"; "" means no shortcut).
class ShortcutRecorder : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(QString shortcut READ shortcut NOTIFY shortcutChanged)
    Q_PROPERTY(QString shortcutText READ shortcutText NOTIFY shortcutChanged)
    Q_PROPERTY(bool recording READ isRecording NOTIFY recordingChanged)
    Q_PROPERTY(QString hint READ hint NOTIFY hintChanged)
    Q_PROPERTY(QString errorString READ errorString NOTIFY errorStringChanged)
    Q_PROPERTY(QString toggleCommand READ toggleCommand CONSTANT)
public:
    static constexpr const char *kDefaultsKey = "shortcut.toggleLauncher";
    static constexpr const char *kDefaultShortcut = "Alt+Space";

    // Binds a shortcut (empty: unbinds); returns the reason when it cannot be bound.
    using Binder = std::function<std::optional<QString>(const QKeySequence &)>;

    explicit ShortcutRecorder(kestrelkit::DefaultsStore *store = nullptr, QObject *parent = nullptr);

    // The hot-key backend; without one a new shortcut is only stored.
    void setBinder(Binder binder);
    // The backend could not bind the stored shortcut (at start-up, say).
    void setBindingError(const QString &reason);

    [[nodiscard]] QKeySequence keySequence() const;
    [[nodiscard]] QString shortcut() const;
    [[nodiscard]] QString shortcutText() const;
    [[nodiscard]] bool isRecording() const { return m_recording; }
    [[nodiscard]] QString hint() const { return m_hint; }
    [[nodiscard]] QString errorString() const { return m_error; }
    [[nodiscard]] static QString toggleCommand();

    Q_INVOKABLE void startRecording();
    Q_INVOKABLE void cancelRecording();
    // A key press while recording; true when the recorder used it.
    Q_INVOKABLE bool handleKey(int key, int modifiers);
    Q_INVOKABLE void clear();
    Q_INVOKABLE void copyToggleCommand() const;

signals:
    void shortcutChanged();
    void recordingChanged();
    void hintChanged();
    void errorStringChanged();

private:
    void apply(const QKeySequence &sequence);
    void setRecording(bool on);
    void setHint(const QString &hint);
    void setError(const QString &error);

    kestrelkit::DefaultsStore *m_store;
    Binder m_binder;
    bool m_recording = false;
    QString m_hint;
    QString m_error;
};

} // namespace velmora
