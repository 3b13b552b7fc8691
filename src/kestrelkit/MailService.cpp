#include "kestrelkit/MailService.h"

#include "kestrelkit/BundleInfo.h"
#include "kestrelkit/LogManager.h"
#include "kestrelkit/Logger.h"
#include "kestrelkit/ObservableUserDefault.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

#include <cstdio>

namespace kestrelkit {

namespace {

const Logger &log()
{
    static const Logger logger(QStringLiteral("MailService"));
    return logger;
}

QString findProgram(const QString &name, const QStringList &paths)
{
    return paths.isEmpty() ? QStandardPaths::findExecutable(name)
                           : QStandardPaths::findExecutable(name, paths);
}

bool openWithDesktop(const QString &url, const QStringList &paths)
{
    if (const QString xdgOpen = findProgram(QStringLiteral("xdg-open"), paths); !xdgOpen.isEmpty())
        return QProcess::startDetached(xdgOpen, {url});
    if (const QString gio = findProgram(QStringLiteral("gio"), paths); !gio.isEmpty())
        return QProcess::startDetached(gio, {QStringLiteral("open"), url});
    return false;
}

FeedbackMail compose(const MailService::Environment &env, const ZipResult &zip)
{
    const BundleInfo &bundle = env.bundle ? *env.bundle : BundleInfo::main();
    FeedbackMail mail;
    mail.recipient = MailService::feedbackAddress(env.defaults);
    mail.subject = MailService::subject(bundle);
    mail.body = MailService::body(bundle);
    if (zip.ok()) {
        mail.attachment = zip.archivePath();
    } else {
        const QString line = QStringLiteral("Failed to attach logs: ") + zip.error()->description();
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
        log().error(line);
    }

    const QString xdgEmail = findProgram(QStringLiteral("xdg-email"), env.searchPaths);
    if (!xdgEmail.isEmpty()) {
        QStringList args{QStringLiteral("--subject"), mail.subject, QStringLiteral("--body"), mail.body};
        if (mail.attachment)
            args << QStringLiteral("--attach") << *mail.attachment;
        args << mail.recipient;
        if (QProcess::startDetached(xdgEmail, args)) {
            mail.route = FeedbackMail::Route::xdgEmail;
            log().info(QStringLiteral("Opened the feedback mail through %1").arg(xdgEmail));
            return mail;
        }
        log().error(QStringLiteral("Could not start %1").arg(xdgEmail));
    }

    // A mailto: URL cannot carry an attachment: tell the user where the archive is.
    mail.mailtoUrl = MailService::mailtoUrl(mail.recipient, mail.subject, mail.body);
    const bool opened = env.openUrl ? env.openUrl(mail.mailtoUrl)
                                    : openWithDesktop(mail.mailtoUrl, env.searchPaths);
    mail.route = opened ? FeedbackMail::Route::mailtoUrl : FeedbackMail::Route::none;
    const QString where = mail.attachment
        ? QStringLiteral("Please attach the logs from %1 to your message.")
              .arg(QDir::toNativeSeparators(*mail.attachment))
        : QStringLiteral("The logs could not be zipped; they are in %1.")
              .arg(QDir::toNativeSeparators(env.logManager ? env.logManager->logFolder()
                                                           : LogManager::shared().logFolder()));
    mail.message = opened ? where
                          : QStringLiteral("No mail program could be opened. Please write to %1. %2")
                                .arg(mail.recipient, where);
    log().notice(mail.message);
    return mail;
}

} // namespace

QFuture<FeedbackMail> MailService::showSendFeedbackMail() { return showSendFeedbackMail(Environment{}); }

QFuture<FeedbackMail> MailService::showSendFeedbackMail(Environment environment)
{
    LogManager &manager = environment.logManager ? *environment.logManager : LogManager::shared();
    return manager.zipLogs().then([env = std::move(environment)](const ZipResult &zip) {
        return compose(env, zip);
    });
}

QString MailService::feedbackAddress(DefaultsStore *defaults)
{
    return ObservableUserDefault<QString>(QStringLiteral("feedback.address"),
                                          QStringLiteral("feedback@velmora.org"), defaults)
        .get();
}

QString MailService::subject(const BundleInfo &bundle)
{
    const QString name = bundle.displayName().value_or(
        bundle.bundleName().value_or(bundle.bundleIdentifier().value_or(QString::fromLatin1(kBundleIdentifier))));
    return name + QStringLiteral(" Feedback");
}

QString MailService::body(const BundleInfo &bundle)
{
    return QStringLiteral("🥳 Ver. ") + bundle.appVersion() + QLatin1Char('(') + bundle.appBuild()
           + QLatin1Char(')');
}

QString MailService::mailtoUrl(const QString &recipient, const QString &subject, const QString &body)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(recipient);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QString::fromLatin1(QUrl::toPercentEncoding(subject)));
    query.addQueryItem(QStringLiteral("body"), QString::fromLatin1(QUrl::toPercentEncoding(body)));
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

} // namespace kestrelkit
