#pragma once

#include <QFuture>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kestrelkit {

class BundleInfo;
class DefaultsStore;
class LogManager;

// What the feedback mail became.
struct FeedbackMail {
    enum class Route {
        xdgEmail,  // the user's mail program opened a new message through xdg-email
        mailtoUrl, // no xdg-email: a mailto: URL without the attachment was opened
        none,      // nothing could be opened; `message` says what to do by hand
    };
    Route route = Route::none;
    QString recipient;
    QString subject;
    QString body;
    std::optional<QString> attachment; // the archive, when zipping worked
    QString mailtoUrl;                 // set for mailtoUrl and none
    QString message;                   // for the user when the archive could not be attached
};

// Prepares the feedback mail: the maker's address, "<name> Feedback", the version in
// the body and the zipped log folder attached, for the user to complete and send.
class MailService {
public:
    struct Environment {
        LogManager *logManager = nullptr;   // null: LogManager::shared()
        const BundleInfo *bundle = nullptr; // null: BundleInfo::main()
        DefaultsStore *defaults = nullptr;  // null: the standard defaults
        QStringList searchPaths;            // where to look for xdg-email; empty: $PATH
        // Opens a URL when there is no xdg-email; null: xdg-open or "gio open" if present.
        std::function<bool(const QString &url)> openUrl;
    };

    // The launcher menu's feedback item. Zipping runs on the log manager's thread.
    static QFuture<FeedbackMail> showSendFeedbackMail();
    static QFuture<FeedbackMail> showSendFeedbackMail(Environment environment);

    // The address, from the defaults key "feedback.address" or our own default.
    [[nodiscard]] static QString feedbackAddress(DefaultsStore *defaults = nullptr);
    // First of display name, bundle name, bundle identifier, then " Feedback".
    [[nodiscard]] static QString subject(const BundleInfo &bundle);
    // "🥳 Ver. " + version + "(" + build + ")"
    [[nodiscard]] static QString body(const BundleInfo &bundle);
    [[nodiscard]] static QString mailtoUrl(const QString &recipient, const QString &subject,
                                           const QString &body);
};

} // namespace kestrelkit
