#include "velmora/app/CommandLine.h"

#include "velmora/app/DefaultsCommand.h"
#include "velmora/app/GuiStart.h"
#include "velmora/launcher/CalcCommand.h"
#include "velmora/launcher/HeadlessCommands.h"
#include "velmora/library/AppWorkspace.h"
#include "velmora/platform/Workspace.h"

#include "kestrelkit/Analytics.h"
#include "kestrelkit/BundleInfo.h"
#include "kestrelkit/DefaultsStore.h"
#include "kestrelkit/Logger.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace velmora {

namespace {

constexpr auto kHelp = R"(Usage: velmora [OPTION] [COMMAND]

Velmora Launcher: finds your applications, keeps them in categories ranked by use,
and shows them in a launcher called up by a hot key (Alt+Space), the tray icon or
`velmora --toggle`.

Options:
  --toggle            show or hide the running launcher
  --show, --hide      show or hide the running launcher
  --login-item        start hidden, as the autostart entry does
  --verbose           mirror log entries to standard error
  -h, --help          show this help
  -v, --version       show the version and build

Commands (no display needed):
  defaults read KEY           print a setting's JSON value
  defaults write KEY JSON     store a setting (e.g. log.advancedLogging true)
  defaults delete KEY         remove a setting
  list [--json]               the applications by category, in launcher order
  search TEXT [--json]        the search results, then the calculator and dictionary answers
  calc EXPR                   the calculator's answer (exit 1 when EXPR is no expression)
  launch PATH                 start the application stored at PATH
)";

// The platform's workspace opens applications and loads icons for the records, and
// launches are counted by the local analytics client, in the GUI and headless alike.
void connectPlatform()
{
    static Workspace workspace;
    AppWorkspace::setCurrent(&workspace);
    setHeadlessAnalyticsSignal([](const QString &name, const QVariantMap &parameters) {
        kestrelkit::Analytics::shared().signalFromMap(name, parameters);
    });
}

} // namespace

int runCommandLine(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));

    if (args.removeAll(QStringLiteral("--verbose")) > 0)
        kestrelkit::LogStore::shared().setMirrorToStderr(true);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto &bundle = kestrelkit::BundleInfo::main();

    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << kHelp;
        return 0;
    }
    if (args.contains(QStringLiteral("--version")) || args.contains(QStringLiteral("-v"))) {
        out << bundle.displayName().value_or(QStringLiteral("Velmora Launcher")) << ' '
            << bundle.appVersion() << " (" << bundle.appBuild() << ')' << Qt::endl;
        return 0;
    }
    connectPlatform();

    if (args.value(0) == QLatin1String("defaults")) {
        QCoreApplication app(argc, argv);
        return runDefaultsCommand(args.mid(1), kestrelkit::DefaultsStore::standard(), out, err);
    }
    if (args.value(0) == QLatin1String("list") || args.value(0) == QLatin1String("search")) {
        QCoreApplication app(argc, argv);
        QStringList rest = args.mid(1);
        const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
        if (args.value(0) == QLatin1String("list")) {
            if (!rest.isEmpty()) {
                err << "usage: velmora list [--json]" << Qt::endl;
                return 2;
            }
            return runListCommand(json, out, err);
        }
        if (rest.size() != 1) {
            err << "usage: velmora search TEXT [--json]" << Qt::endl;
            return 2;
        }
        return runSearchCommand(rest.first(), json, out, err);
    }
    if (args.value(0) == QLatin1String("calc")) {
        if (args.size() != 2) {
            err << "usage: velmora calc EXPR" << Qt::endl;
            return 2;
        }
        return runCalcCommand(args.at(1), out);
    }
    if (args.value(0) == QLatin1String("launch")) {
        if (args.size() != 2) {
            err << "usage: velmora launch PATH" << Qt::endl;
            return 2;
        }
        QCoreApplication app(argc, argv);
        return runLaunchCommand(args.at(1), out, err);
    }

    GuiRequest request;
    request.loginItem = args.removeAll(QStringLiteral("--login-item")) > 0;
    for (const char *action : {"toggle", "show", "hide"}) {
        if (args.removeAll(QStringLiteral("--") + QLatin1String(action)) > 0)
            request.message = QLatin1String(action);
    }
    if (!args.isEmpty()) {
        err << "velmora: unknown argument \"" << args.first() << "\"; try --help" << Qt::endl;
        return 2;
    }
    return runGui(argc, argv, request);
}

} // namespace velmora
