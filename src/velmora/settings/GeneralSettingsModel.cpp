#include "velmora/settings/GeneralSettingsModel.h"

#include "velmora/settings/ShortcutRecorder.h"

#include "kestrelkit/Logger.h"
#include "kestrelkit/ObservableUserDefault.h"

namespace velmora {

namespace {

kestrelkit::ObservableUserDefault<bool> boolSetting(const char *key, kestrelkit::DefaultsStore *store)
{
    return {QString::fromLatin1(key), true, store};
}

const kestrelkit::Logger &logger()
{
    static const kestrelkit::Logger log(QStringLiteral("GeneralSettingsModel"));
    return log;
}

} // namespace

GeneralSettingsModel::GeneralSettingsModel(LoginItem loginItem, kestrelkit::DefaultsStore *store,
                                           QObject *parent)
    : QObject(parent)
    , m_startAtLogin(std::move(loginItem))
    , m_store(store)
    , m_recorder(new ShortcutRecorder(store, this))
{
}

void GeneralSettingsModel::setStartAtLoginEnable(bool on)
{
    if (on == m_startAtLogin.isOn()) {
        return;
    }
    m_startAtLogin.set(on);
    // Also when refused: a switch the user flipped must flip back.
    emit isStartAtLoginEnableChanged();
}

bool GeneralSettingsModel::showMenubarIcon() const
{
    return boolSetting(kShowMenubarIconKey, m_store).get();
}

void GeneralSettingsModel::setShowMenubarIcon(bool show)
{
    if (show == showMenubarIcon())
        return;
    boolSetting(kShowMenubarIconKey, m_store).set(show);
    logger().info(QStringLiteral("Menubar icon %1").arg(show ? u"shown" : u"hidden"));
    emit showMenubarIconChanged(show);
}

bool GeneralSettingsModel::showDockIcon() const
{
    return boolSetting(kShowDockIconKey, m_store).get();
}

void GeneralSettingsModel::setShowDockIcon(bool show)
{
    if (show == showDockIcon())
        return;
    boolSetting(kShowDockIconKey, m_store).set(show);
    logger().info(QStringLiteral("Dock icon %1").arg(show ? u"shown" : u"hidden"));
    emit showDockIconChanged(show);
}

} // namespace velmora
