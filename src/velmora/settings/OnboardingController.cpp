#include "velmora/settings/OnboardingController.h"

#include "kestrelkit/Logger.h"
#include "kestrelkit/NotificationCenter.h"

#include <QCoreApplication>

#include <array>

namespace velmora {

namespace {

using Page = OnboardingController::OnboardingPage;

struct PageInfo {
    const char *picture;
    const char *symbol;
    const char *title; // %1: the key the page is about
    std::array<const char *, 2> lines;
    const char *indicator;
};

constexpr auto kContext = "velmora::OnboardingController";

// Same order as OnboardingPage; the welcome page has its own texts.
const std::array<PageInfo, 6> kPages{{
    {"", "", "", {nullptr, nullptr}, ""},
    {"Onboarding1Category", "menucard", QT_TRANSLATE_NOOP("velmora::OnboardingController", "Right click to"),
     {QT_TRANSLATE_NOOP("velmora::OnboardingController", "Add apps to categories."),
      QT_TRANSLATE_NOOP("velmora::OnboardingController", "Pin or hide apps.")},
     "1/4"},
    {"Onboarding2Section", "pencil.line",
     QT_TRANSLATE_NOOP("velmora::OnboardingController", "Click the pencil icon to"),
     {QT_TRANSLATE_NOOP("velmora::OnboardingController", "Edit section title."),
      QT_TRANSLATE_NOOP("velmora::OnboardingController", "Change section icon.")},
     "2/4"},
    {"Onboarding3Command", "command", QT_TRANSLATE_NOOP("velmora::OnboardingController", "%1 + number to"),
     {QT_TRANSLATE_NOOP("velmora::OnboardingController", "Quickly open top apps."), nullptr},
     "3/4"},
    {"Onboarding4Option", "option", QT_TRANSLATE_NOOP("velmora::OnboardingController", "%1 + number to"),
     {QT_TRANSLATE_NOOP("velmora::OnboardingController", "Quickly select app categories."), nullptr},
     "4/4"},
    {"Onboarding5Final", "fireworks", QT_TRANSLATE_NOOP("velmora::OnboardingController", "Launch Velmora by"),
     {nullptr, nullptr},
     ""},
}};

const PageInfo &info(Page page)
{
    return kPages[std::size_t(page)];
}

QString translate(const char *text)
{
    return text ? QCoreApplication::translate(kContext, text) : QString();
}

} // namespace

OnboardingController::KeyNames OnboardingController::platformKeyNames()
{
    // Ctrl and Alt do here what Command and Option do on a Mac.
    return {tr("Ctrl"), tr("Alt"), tr("Space")};
}

OnboardingController::OnboardingController(LoginItem loginItem, KeyNames keyNames, QObject *parent)
    : QObject(parent)
    , m_keys(std::move(keyNames))
    , m_startAtLogin(std::move(loginItem))
{
}

void OnboardingController::setCurrentPage(OnboardingPage page)
{
    if (page == m_page || int(page) < 0 || int(page) >= int(kPages.size()))
        return;
    m_page = page;
    emit currentPageChanged();
}

QString OnboardingController::symbol() const
{
    return QString::fromLatin1(info(m_page).symbol);
}

QString OnboardingController::title() const
{
    const QString text = translate(info(m_page).title);
    switch (m_page) {
    case Page::commandAction:
        return text.arg(m_keys.command);
    case Page::optionAction:
        return text.arg(m_keys.option);
    default:
        return text;
    }
}

QStringList OnboardingController::lines() const
{
    QStringList out;
    for (const char *line : info(m_page).lines)
        if (line)
            out.append(translate(line));
    return out;
}

QString OnboardingController::indicator() const
{
    return QString::fromLatin1(info(m_page).indicator);
}

QString OnboardingController::picture() const
{
    return QString::fromLatin1(info(m_page).picture);
}

QString OnboardingController::leftSymbol() const
{
    return isWelcome() ? QString() : QStringLiteral("arrow.left");
}

QString OnboardingController::rightSymbol() const
{
    return isFinal() ? QStringLiteral("checkmark") : QStringLiteral("arrow.right");
}

QString OnboardingController::welcomeTitle()
{
    return tr("Welcome to Velmora Launcher !");
}

QString OnboardingController::welcomeSubtitle()
{
    return tr("A better replacement for Launchpad.");
}

QStringList OnboardingController::keyCaps() const
{
    return {m_keys.option, m_keys.space};
}

void OnboardingController::setStartAtLoginEnable(bool on)
{
    if (on == m_startAtLogin.isOn())
        return;
    m_startAtLogin.set(on);
    emit isStartAtLoginEnableChanged();
}

void OnboardingController::previousPage()
{
    if (!isWelcome())
        setCurrentPage(OnboardingPage(int(m_page) - 1));
}

void OnboardingController::nextPage()
{
    if (isFinal())
        finish();
    else
        setCurrentPage(OnboardingPage(int(m_page) + 1));
}

void OnboardingController::finish()
{
    kestrelkit::Logger(QStringLiteral("OnboardingController")).info(QStringLiteral("Onboarding finished"));
    emit dismissRequested();
    kestrelkit::NotificationCenter::defaultCenter().post(QStringLiteral("showMainWindow"));
}

void OnboardingController::restart()
{
    setCurrentPage(OnboardingPage::welcome);
    const bool was = m_startAtLogin.isOn();
    m_startAtLogin.reload();
    if (was != m_startAtLogin.isOn())
        emit isStartAtLoginEnableChanged();
}

void OnboardingController::windowBecameKey()
{
    setAnimation(true);
}

void OnboardingController::windowWillClose()
{
    setAnimation(false);
}

void OnboardingController::setAnimation(bool on)
{
    if (on == m_animation)
        return;
    m_animation = on;
    emit velmoraAnimationChanged();
}

} // namespace velmora
