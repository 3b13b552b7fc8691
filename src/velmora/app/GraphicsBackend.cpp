#include "velmora/app/GraphicsBackend.h"

#include "kestrelkit/Logger.h"

#include <QDir>
#include <QFile>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <unistd.h>

namespace velmora {

GraphicsBackend chooseGraphicsBackend(const QString &driFolder,
                                      const std::function<QString(const char *)> &environment)
{
    for (const char *variable : {"QT_QUICK_BACKEND", "QSG_RHI_BACKEND"}) {
        if (!environment(variable).isEmpty())
            return GraphicsBackend::userChoice;
    }
    const QStringList nodes = QDir(driFolder).entryList({QStringLiteral("renderD*")}, QDir::System | QDir::Files);
    for (const QString &node : nodes) {
        // Mesa needs to open it read-write; a node of a group we are not in is no GPU for us.
        if (::access(QFile::encodeName(QDir(driFolder).filePath(node)).constData(), R_OK | W_OK) == 0)
            return GraphicsBackend::gpu;
    }
    return GraphicsBackend::software;
}

void applyGraphicsBackend()
{
    const GraphicsBackend backend = chooseGraphicsBackend(
        QStringLiteral("/dev/dri"), [](const char *name) { return qEnvironmentVariable(name); });
    if (backend != GraphicsBackend::software)
        return;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    kestrelkit::Logger(QStringLiteral("GuiStart"))
        .info(QStringLiteral("No GPU render node: windows are drawn by the software renderer"));
}

} // namespace velmora
