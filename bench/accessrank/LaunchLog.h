#pragma once

#include <QString>
#include <QTextStream>

#include <functional>
#include <vector>

// One launch of a replayed log.
struct LaunchEvent {
    double seconds = 0.0; // since 1970
    QString id;
};

// Reads "EPOCH_SECONDS,ITEM_ID" lines; '#' comments and blank lines are skipped, and a
// bad line goes to `reportBadLine` with its number (from 1) and is skipped.
std::vector<LaunchEvent> readLaunchLog(QTextStream &in,
                                       const std::function<void(long, const QString &)> &reportBadLine);
