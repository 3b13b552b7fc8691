#include "velmora/app/ScreenServices.h"

#include "kestrelkit/MailService.h"
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
    // The archive is made off the main thread; what the user must know (no attachment,
    // no mail program) goes to the log.
    kestrelkit::MailService::showSendFeedbackMail().then([](const kestrelkit::FeedbackMail &mail) {
        if (!mail.message.isEmpty())
            logger().notice(mail.message);
    });
}

} // namespace velmora::ScreenServices
