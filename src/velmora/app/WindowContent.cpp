#include "velmora/app/WindowContent.h"

#include "velmora/app/PublicSettings.h"
#include "velmora/app/SymbolImageProvider.h"
#include "velmora/app/VelmoraWindow.h"

#include "kestrelkit/Logger.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

namespace velmora {

WindowContent::WindowContent()
    : m_engine(std::make_unique<QQmlEngine>())
{
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    m_engine->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
}

WindowContent::~WindowContent() = default;

QQuickItem *WindowContent::load(QQuickWindow &window, const QString &file,
                                const QVariantMap &properties)
{
    QQmlComponent component(m_engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/Velmora/") + file));
    QObject *object = component.createWithInitialProperties(properties);
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item) {
        delete object;
        kestrelkit::Logger(QStringLiteral("WindowContent"))
            .error(QStringLiteral("Cannot load %1: %2").arg(file, component.errorString()));
        return nullptr;
    }
    item->setParent(window.contentItem());
    item->setParentItem(window.contentItem());
    item->setFocus(true);
    return item;
}

bool WindowContent::loadLauncher(VelmoraWindow &window, PublicSettings &settings,
                                 QObject *launcherModel)
{
    return load(window, QStringLiteral("ContentView.qml"),
                {{QStringLiteral("settings"), QVariant::fromValue<QObject *>(&settings)},
                 {QStringLiteral("window"), QVariant::fromValue<QObject *>(&window)},
                 {QStringLiteral("launcherModel"), QVariant::fromValue(launcherModel)}});
}

} // namespace velmora
