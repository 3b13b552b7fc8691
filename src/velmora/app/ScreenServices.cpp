#include "velmora/app/ScreenServices.h"

#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/Logger.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonValue>
#include <QProcess>
#include <QUrl>

namespace velmora::ScreenServices {

namespace {

kestrelkit::Logger &logger()
{
    static kestrelkit::Logger log(QStringLiteral("LauncherView"));
    return log;
}

} // namespace

void copyToClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void reveal(const QString &path)
{
    const QString url = QUrl::fromLocalFile(path).toString();
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{url} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ErrorMessage)
        return;
    logger().info(QStringLiteral("No file manager service (%1); opening the folder").arg(reply.errorMessage()));
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

void sendFeedback()
{
    QStringList arguments{QStringLiteral("--subject"), QStringLiteral("Velmora Launcher Feedback")};
    const auto &defaults = kestrelkit::DefaultsStore::standard();
    const QString key = QStringLiteral("feedback.address");
    QString address;
    if (const auto plain = defaults.plainValue(key))
        address = plain->toString();
    else if (const auto bytes = defaults.data(key))
        address = kestrelkit::decodeJsonValue(*bytes).value_or(QJsonValue()).toString();
    if (!address.isEmpty())
        arguments.append(address);
    if (!QProcess::startDetached(QStringLiteral("xdg-email"), arguments))
        logger().error(QStringLiteral("Cannot start xdg-email"));
}

} // namespace velmora::ScreenServices
