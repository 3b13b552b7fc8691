#include "velmora/app/TrayIcon.h"

#include "kestrelkit/Logger.h"

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace velmora {

TrayIcon::TrayIcon(QObject *parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>())
    , m_icon(new QSystemTrayIcon(QIcon(QStringLiteral(":/velmora/MenubarIcon.svg")), this))
{
    m_icon->setToolTip(QStringLiteral("Velmora Launcher"));
    m_menu->addAction(QStringLiteral("Show Launcher"), this, &TrayIcon::clicked);
    m_menu->addAction(QStringLiteral("Settings…"), this, &TrayIcon::settingsRequested);
    m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("Quit Velmora Launcher"), this, &TrayIcon::quitRequested);
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger)
            emit clicked();
    });
    if (!isTrayAvailable()) {
        kestrelkit::Logger(QStringLiteral("TrayIcon"))
            .notice(QStringLiteral("No system tray on this desktop; the icon appears when one starts"));
    }
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setVisible(bool visible)
{
    m_icon->setVisible(visible);
}

bool TrayIcon::isVisible() const
{
    return m_icon->isVisible();
}

bool TrayIcon::isTrayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::showMessage(const QString &title, const QString &message)
{
    if (isTrayAvailable() && m_icon->isVisible())
        m_icon->showMessage(title, message);
}

} // namespace velmora
