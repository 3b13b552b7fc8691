#include "kestrelkit/BundleInfo.h"
#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/LogFormat.h"
#include "kestrelkit/LogManager.h"
#include "kestrelkit/MailService.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>


using namespace kestrelkit;

namespace {

using test::readAll;

// The archive's entry whose name ends in ".log", as text.
QString logInZip(const QString &path)
{
    QString text;
    const auto entries = test::zipEntries(path);
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it.key().endsWith(QLatin1String(".log")))
            text = QString::fromUtf8(it.value());
    }
    return text;
}

} // namespace

class MailServiceTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_bin;
    QString m_record;
    std::unique_ptr<LogStore> m_store;
    std::unique_ptr<DefaultsStore> m_defaults;
    std::unique_ptr<LogManager> m_manager;
    const BundleInfo m_bundle{QVariantMap{{QStringLiteral("CFBundleDisplayName"), QStringLiteral("Velmora Launcher")},
                                          {QStringLiteral("CFBundleShortVersionString"), QStringLiteral("1.2.0")},
                                          {QStringLiteral("CFBundleVersion"), QStringLiteral("345")}}};

    MailService::Environment env()
    {
        MailService::Environment e;
        e.logManager = m_manager.get();
        e.bundle = &m_bundle;
        e.defaults = m_defaults.get();
        e.searchPaths = {m_bin};
        return e;
    }

    // A fake xdg-email that writes each argument on its own line.
    void installFakeXdgEmail()
    {
        const QString script = m_bin + QStringLiteral("/xdg-email");
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + m_record.toUtf8() + ".part\"\n"
                "mv \"" + m_record.toUtf8() + ".part\" \"" + m_record.toUtf8() + "\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private slots:
    void init()
    {
        static int n = 0;
        ++n;
        m_bin = m_dir.filePath(QStringLiteral("bin%1").arg(n));
        m_record = m_dir.filePath(QStringLiteral("args%1.txt").arg(n));
        QDir().mkpath(m_bin);
        const QString temp = m_dir.filePath(QStringLiteral("tmp%1").arg(n));
        QDir().mkpath(temp);
        m_store = std::make_unique<LogStore>();
        m_defaults = std::make_unique<DefaultsStore>(m_dir.filePath(QStringLiteral("d%1.json").arg(n)));
        LogManager::Environment le;
        le.logFolder = m_dir.filePath(QStringLiteral("run%1/logs").arg(n));
        le.store = m_store.get();
        le.defaults = m_defaults.get();
        le.tempFolder = temp;
        m_manager = std::make_unique<LogManager>(le);
    }
    void cleanup() { m_manager.reset(); }

    void opensAMessageWithTheZippedLogsAttached()
    {
        installFakeXdgEmail();
        m_defaults->setData(QStringLiteral("feedback.address"), "\"bugs@example.org\"");
        Logger(QStringLiteral("org.velmora.Launcher"), QStringLiteral("Test"), m_store.get())
            .info(QStringLiteral("something to report"));

        const FeedbackMail mail = MailService::showSendFeedbackMail(env()).result();
        QCOMPARE(mail.route, FeedbackMail::Route::xdgEmail);
        QTRY_VERIFY(QFile::exists(m_record));
        const QStringList args = readAll(m_record).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(args, (QStringList{QStringLiteral("--subject"), QStringLiteral("Velmora Launcher Feedback"),
                                    QStringLiteral("--body"), QStringLiteral("🥳 Ver. 1.2.0(345)"),
                                    QStringLiteral("--attach"), *mail.attachment,
                                    QStringLiteral("bugs@example.org")}));
        QCOMPARE(QFileInfo(*mail.attachment).fileName(), QStringLiteral("logs.zip"));
        const QString log = logInZip(*mail.attachment);
        QVERIFY(log.contains(QStringLiteral("\nsomething to report\n")));
        QVERIFY(log.endsWith(QString::fromUtf8(LogFormat::kZipTrailer)));
    }

    void aMissingLogFolderSendsWithoutAttachment()
    {
        installFakeXdgEmail();
        QVERIFY(QDir(m_manager->logFolder()).removeRecursively());
        const FeedbackMail mail = MailService::showSendFeedbackMail(env()).result();
        QCOMPARE(mail.route, FeedbackMail::Route::xdgEmail);
        QVERIFY(!mail.attachment);
        QTRY_VERIFY(QFile::exists(m_record));
        QVERIFY(!readAll(m_record).contains(QStringLiteral("--attach")));
        bool reported = false;
        for (const LogEntry &e : LogStore::shared().allEntries())
            reported |= e.message.startsWith(QLatin1String("Failed to attach logs: Not a folder"));
        QVERIFY(reported);
    }

    void withoutXdgEmailAMailtoUrlAndWhereTheArchiveIs()
    {
        QString opened;
        auto e = env();
        e.openUrl = [&opened](const QString &url) {
            opened = url;
            return true;
        };
        const FeedbackMail mail = MailService::showSendFeedbackMail(e).result();
        QCOMPARE(mail.route, FeedbackMail::Route::mailtoUrl);
        QCOMPARE(opened, mail.mailtoUrl);
        QVERIFY(opened.startsWith(QLatin1String("mailto:feedback@velmora.org?subject=Velmora%20Launcher%20Feedback&body=")));
        QVERIFY(!opened.contains(QLatin1String("attach")));
        QVERIFY(mail.attachment);
        QVERIFY2(mail.message.contains(*mail.attachment), qPrintable(mail.message));
    }

    void nothingToOpenTellsTheUserWhatToDo()
    {
        auto e = env();
        e.openUrl = [](const QString &) { return false; };
        const FeedbackMail mail = MailService::showSendFeedbackMail(e).result();
        QCOMPARE(mail.route, FeedbackMail::Route::none);
        QVERIFY(mail.message.contains(QLatin1String("feedback@velmora.org")));
        QVERIFY(mail.message.contains(*mail.attachment));
    }

    void subjectTakesTheFirstNamePresent_data()
    {
        QTest::addColumn<QVariantMap>("info");
        QTest::addColumn<QString>("subject");
        QTest::newRow("display name") << QVariantMap{{"CFBundleDisplayName", "Shown"}, {"CFBundleName", "Short"}}
                                      << "Shown Feedback";
        QTest::newRow("bundle name") << QVariantMap{{"CFBundleName", "Short"}, {"CFBundleIdentifier", "a.b"}}
                                     << "Short Feedback";
        QTest::newRow("identifier") << QVariantMap{{"CFBundleIdentifier", "a.b"}} << "a.b Feedback";
    }
    void subjectTakesTheFirstNamePresent()
    {
        QFETCH(QVariantMap, info);
        QFETCH(QString, subject);
        QCOMPARE(MailService::subject(BundleInfo(info)), subject);
    }

    void bodyWithoutBuildSaysError()
    {
        QCOMPARE(MailService::body(BundleInfo(QVariantMap{{"CFBundleShortVersionString", "2.0"}})),
                 QStringLiteral("🥳 Ver. 2.0(Error)"));
    }
};

QTEST_GUILESS_MAIN(MailServiceTest)
#include "MailServiceTest.moc"
