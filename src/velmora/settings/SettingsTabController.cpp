#include "velmora/settings/SettingsTabController.h"

#include "kestrelkit/NotificationCenter.h"

#include <array>

namespace velmora {

namespace {

struct TabInfo {
    const char *title;
    const char *symbol;
    QSize size;
};

// Same order as the Tab enum.
const std::array<TabInfo, 3> kTabs{{
    {QT_TRANSLATE_NOOP("velmora::SettingsTabController", "General"), "gearshape", {500, 300}},
    {QT_TRANSLATE_NOOP("velmora::SettingsTabController", "Permissions"), "lock", {500, 400}},
    {QT_TRANSLATE_NOOP("velmora::SettingsTabController", "About"), "info.circle", {500, 300}},
}};

} // namespace

SettingsTabController::SettingsTabController(QObject *parent)
    : QAbstractListModel(parent)
{
    auto &center = kestrelkit::NotificationCenter::defaultCenter();
    center.addObserver(QStringLiteral("showPreferencePermissions"), this,
                       [this](const QVariantMap &) { setCurrentIndex(Permissions); });
    center.addObserver(QStringLiteral("showPreferenceAbout"), this,
                       [this](const QVariantMap &) { setCurrentIndex(About); });
}

int SettingsTabController::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant SettingsTabController::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole:
        return title(index.row());
    case SymbolRole:
        return symbol(index.row());
    case PreferredWidthRole:
        return preferredSize(index.row()).width();
    case PreferredHeightRole:
        return preferredSize(index.row()).height();
    default:
        return {};
    }
}

QHash<int, QByteArray> SettingsTabController::roleNames() const
{
    return {{TitleRole, "title"},
            {SymbolRole, "symbol"},
            {PreferredWidthRole, "preferredWidth"},
            {PreferredHeightRole, "preferredHeight"}};
}

void SettingsTabController::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    m_current = index;
    emit currentIndexChanged();
}

QSize SettingsTabController::preferredSize(int index) const
{
    return index >= 0 && index < count() ? kTabs[std::size_t(index)].size : QSize();
}

QString SettingsTabController::title(int index) const
{
    return index >= 0 && index < count() ? tr(kTabs[std::size_t(index)].title) : QString();
}

QString SettingsTabController::symbol(int index) const
{
    return index >= 0 && index < count() ? QString::fromLatin1(kTabs[std::size_t(index)].symbol)
                                         : QString();
}

} // namespace velmora
