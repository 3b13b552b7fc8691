#include "velmora/app/CommandLine.h"

#include "velmora/app/DefaultsCommand.h"
#include "velmora/app/GuiStart.h"

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
)";

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
    if (args.value(0) == QLatin1String("defaults")) {
        QCoreApplication app(argc, argv);
        return runDefaultsCommand(args.mid(1), kestrelkit::DefaultsStore::standard(), out, err);
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
