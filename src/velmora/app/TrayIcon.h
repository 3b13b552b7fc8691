#pragma once

#include <QObject>

#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace velmora {

// The status item: our icon in the desktop's tray. Created even where no tray runs
// (a tray started later picks it up); that case is logged once.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    void setVisible(bool visible);
    [[nodiscard]] bool isVisible() const;
    [[nodiscard]] static bool isTrayAvailable();
    // A short note in the tray's bubble, where the tray shows one.
    void showMessage(const QString &title, const QString &message);

signals:
    void clicked();
    void settingsRequested();
    void quitRequested();

private:
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon *m_icon;
};

} // namespace velmora
