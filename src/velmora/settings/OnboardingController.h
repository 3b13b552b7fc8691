#pragma once

#include "velmora/settings/StartAtLoginSwitch.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace velmora {

// The first-start tour: a welcome page and five pages, walked with the arrow buttons.
// Finishing asks the shell to close the window (dismissRequested) and then posts
// "showMainWindow"; closing the window any other way posts nothing.
class OnboardingController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(OnboardingPage currentPage READ currentPage WRITE setCurrentPage NOTIFY currentPageChanged)
    Q_PROPERTY(bool isWelcome READ isWelcome NOTIFY currentPageChanged)
    Q_PROPERTY(bool isFinal READ isFinal NOTIFY currentPageChanged)
    Q_PROPERTY(QString symbol READ symbol NOTIFY currentPageChanged)
    Q_PROPERTY(QString title READ title NOTIFY currentPageChanged)
    Q_PROPERTY(QStringList lines READ lines NOTIFY currentPageChanged)
    Q_PROPERTY(QString indicator READ indicator NOTIFY currentPageChanged)
    Q_PROPERTY(QString picture READ picture NOTIFY currentPageChanged)
    Q_PROPERTY(QString leftSymbol READ leftSymbol NOTIFY currentPageChanged)
    Q_PROPERTY(QString rightSymbol READ rightSymbol NOTIFY currentPageChanged)
    Q_PROPERTY(QString welcomeTitle READ welcomeTitle CONSTANT)
    Q_PROPERTY(QString welcomeSubtitle READ welcomeSubtitle CONSTANT)
    Q_PROPERTY(QStringList keyCaps READ keyCaps CONSTANT)
    Q_PROPERTY(bool velmoraAnimation READ velmoraAnimation NOTIFY velmoraAnimationChanged)
    Q_PROPERTY(bool isStartAtLoginEnable READ isStartAtLoginEnable WRITE setStartAtLoginEnable NOTIFY isStartAtLoginEnableChanged)
    Q_PROPERTY(QString startAtLoginError READ startAtLoginError NOTIFY isStartAtLoginEnableChanged)
public:
    // Raw values are the stored page numbers.
    enum class OnboardingPage { welcome = 0, manage, rename, commandAction, optionAction, startAtLogin };
    Q_ENUM(OnboardingPage)

    // What the keys are called on the platform. macOS: Command, Option, space.
    struct KeyNames {
        QString command;
        QString option;
        QString space;
    };
    [[nodiscard]] static KeyNames platformKeyNames(); // Ctrl, Alt, Space

    explicit OnboardingController(LoginItem loginItem, KeyNames keyNames = platformKeyNames(),
                                  QObject *parent = nullptr);

    [[nodiscard]] OnboardingPage currentPage() const { return m_page; }
    void setCurrentPage(OnboardingPage page);
    [[nodiscard]] bool isWelcome() const { return m_page == OnboardingPage::welcome; }
    [[nodiscard]] bool isFinal() const { return m_page == OnboardingPage::startAtLogin; }

    [[nodiscard]] QString symbol() const;
    [[nodiscard]] QString title() const;
    [[nodiscard]] QStringList lines() const;
    [[nodiscard]] QString indicator() const;
    // The page's picture resource name ("Onboarding1Category"); empty on the welcome page.
    [[nodiscard]] QString picture() const;
    // The navigation buttons' symbols; empty when the page has no such button.
    [[nodiscard]] QString leftSymbol() const;
    [[nodiscard]] QString rightSymbol() const;

    [[nodiscard]] static QString welcomeTitle();
    [[nodiscard]] static QString welcomeSubtitle();
    // The default launch shortcut's caps, whatever shortcut the user recorded.
    [[nodiscard]] QStringList keyCaps() const;

    [[nodiscard]] bool velmoraAnimation() const { return m_animation; }
    [[nodiscard]] bool isStartAtLoginEnable() const { return m_startAtLogin.isOn(); }
    void setStartAtLoginEnable(bool on);
    [[nodiscard]] QString startAtLoginError() const { return m_startAtLogin.errorString(); }

    // The left and right buttons, as the navigation table has them.
    Q_INVOKABLE void previousPage();
    Q_INVOKABLE void nextPage();
    Q_INVOKABLE void finish();
    // The window is shown anew: back to the welcome page, the switch read again.
    Q_INVOKABLE void restart();
    Q_INVOKABLE void windowBecameKey();
    Q_INVOKABLE void windowWillClose();

signals:
    void currentPageChanged();
    void velmoraAnimationChanged();
    void isStartAtLoginEnableChanged();
    void dismissRequested();

private:
    void setAnimation(bool on);

    KeyNames m_keys;
    StartAtLoginSwitch m_startAtLogin;
    OnboardingPage m_page = OnboardingPage::welcome;
    bool m_animation = false;
};

} // namespace velmora
