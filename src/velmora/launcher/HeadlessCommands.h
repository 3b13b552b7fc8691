#pragma once

#include "velmora/launcher/LauncherViewObject.h"

#include <QString>

class QTextStream;

namespace velmora {

// The launcher's commands without a window: each opens the real store, defaults and
// discovery (honouring XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_DATA_DIRS and HOME), waits for
// the first complete gathering, the synchronisation it starts and the ranking reports,
// answers and returns the exit status. A QCoreApplication must exist.

// `velmora list [--json]`: the categories in launcher order with their applications.
int runListCommand(bool json, QTextStream &out, QTextStream &err);
// `velmora search TEXT [--json]`: the results in order, then the calculator and
// dictionary answers.
int runSearchCommand(const QString &text, bool json, QTextStream &out, QTextStream &err);
// `velmora launch PATH`: the launch sequence ("Enter") for the stored record at PATH;
// 2 when there is none, 1 when the workspace could not open it.
int runLaunchCommand(const QString &path, QTextStream &out, QTextStream &err);

// Where `launch` sends its analytics signal (the app connects the analytics client).
void setHeadlessAnalyticsSignal(LauncherViewObject::AnalyticsSignal signal);

} // namespace velmora
