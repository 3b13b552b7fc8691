#include "velmora/platform/LoginItem.h"

#include "kestrelkit/Logger.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace velmora {

namespace {

const kestrelkit::Logger &logger()
{
    static const kestrelkit::Logger log(QStringLiteral("LoginItem"));
    return log;
}

constexpr auto kEntryName = "velmora.desktop";

// One Exec argument: quoted when it holds a reserved character, then escaped once more
// for the string value itself (the format unescapes \\ before it splits arguments).
QString quoteExecArgument(const QString &arg)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool needsQuotes = std::any_of(arg.begin(), arg.end(),
                                         [](QChar c) { return reserved.contains(c); });
    QString out = arg;
    if (needsQuotes) {
        QString quoted;
        for (QChar c : arg) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted.append(u'\\');
            quoted.append(c);
        }
        out = u'"' + quoted + u'"';
    }
    out.replace(u'\\', QStringLiteral("\\\\"));
    // A literal percent sign would read as a field code.
    out.replace(u'%', QStringLiteral("%%"));
    return out;
}

bool isSwitchedOff(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inMainGroup = (line == "[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const int eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        if (key == "Hidden" && value == "true")
            return true;
        if (key == "X-GNOME-Autostart-enabled" && value == "false")
            return true;
    }
    return false;
}

} // namespace

LoginItem::LoginItem(QString autostartFolder, QString executable)
    : m_folder(autostartFolder.isEmpty() ? defaultAutostartFolder() : std::move(autostartFolder))
    , m_executable(executable.isEmpty() ? defaultExecutable() : std::move(executable))
{
}

QString LoginItem::defaultAutostartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart");
}

QString LoginItem::defaultExecutable()
{
    // A test binary or a renamed copy must not end up in the user's session start.
    return commandFor(QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString());
}

QString LoginItem::commandFor(const QString &self)
{
    const QFileInfo program(self);
    if (self.isEmpty())
        return QStringLiteral("velmora");
    if (program.fileName() == QLatin1String("velmora"))
        return self;
    if (program.fileName() == QLatin1String("velmora-app")) {
        // The full program lives beside the command in the build tree and under
        // libexec/velmora/ when installed.
        const QDir folder = program.dir();
        for (const QString &candidate : {folder.filePath(QStringLiteral("velmora")),
                                         folder.filePath(QStringLiteral("../../bin/velmora"))}) {
            const QFileInfo command(candidate);
            if (command.isFile() && command.isExecutable())
                return QDir::cleanPath(command.absoluteFilePath());
        }
    }
    return QStringLiteral("velmora");
}

QString LoginItem::entryPath() const
{
    return QDir(m_folder).filePath(QLatin1String(kEntryName));
}

bool LoginItem::isEnabled() const
{
    const QString path = entryPath();
    return QFileInfo(path).isFile() && !isSwitchedOff(path);
}

QByteArray LoginItem::entryContents(const QString &executable)
{
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Name=Velmora Launcher\n");
    text += QStringLiteral("Comment=Starts Velmora Launcher hidden when you log in\n");
    text += QStringLiteral("Exec=%1 --login-item\n").arg(quoteExecArgument(executable));
    text += QStringLiteral("Icon=org.velmora.Launcher\n");
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

LoginItemResult LoginItem::enable() const
{
    if (!QDir().mkpath(m_folder)) {
        const QString reason = QStringLiteral("Cannot create the folder %1").arg(m_folder);
        logger().error(reason);
        return LoginItemResult::failure(reason);
    }
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly)) {
        const QString reason = QStringLiteral("Cannot write %1: %2").arg(entryPath(), file.errorString());
        logger().error(reason);
        return LoginItemResult::failure(reason);
    }
    file.write(entryContents(m_executable));
    if (!file.commit()) {
        const QString reason = QStringLiteral("Cannot write %1: %2").arg(entryPath(), file.errorString());
        logger().error(reason);
        return LoginItemResult::failure(reason);
    }
    logger().info(QStringLiteral("Login item registered at %1").arg(entryPath()));
    return LoginItemResult::success();
}

LoginItemResult LoginItem::disable() const
{
    QFile file(entryPath());
    if (!file.exists())
        return LoginItemResult::success();
    if (!file.remove()) {
        const QString reason = QStringLiteral("Cannot remove %1: %2").arg(entryPath(), file.errorString());
        logger().error(reason);
        return LoginItemResult::failure(reason);
    }
    logger().info(QStringLiteral("Login item removed from %1").arg(entryPath()));
    return LoginItemResult::success();
}

} // namespace velmora
