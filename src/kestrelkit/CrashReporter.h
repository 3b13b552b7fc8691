#pragma once

#include <QLocale>
#include <QString>

#include <functional>

namespace kestrelkit {

// Crash records for the log file: a terminate handler for uncaught C++ exceptions and
// handlers for SIGABRT, SIGILL, SIGSEGV, SIGFPE, SIGBUS, SIGPIPE and SIGTRAP. Process-wide.
//
// The signal path only makes async-signal-safe calls: the file's path, a descriptor opened
// in advance, the date pattern and every fixed text are prepared here, the date is rendered
// by hand from the real-time clock and the stack goes out through backtrace_symbols_fd.
class CrashReporter {
public:
    // Receives the finished exception record (trailer not included); runs on the
    // terminating thread before the previous terminate handler is called.
    using ExceptionSink = std::function<void(const QString &record)>;

    // Prepares the texts for `logFilePath` and installs the handlers (once per process;
    // a later call only updates the prepared texts and the sink).
    static void install(const QString &logFilePath, const QLocale &locale, ExceptionSink sink);
    // A descriptor of the log file opened for appending, used when the file cannot be
    // opened by path at crash time (say, no descriptors left). -1 forgets it.
    static void setPreparedDescriptor(int fd);
    // Drops the exception sink (its owner is going away); records still go to the file.
    static void clearExceptionSink();
    // Takes the current offset from UTC again (daylight saving moves it).
    static void refreshClock();

    // "SIGSEGV", ...; "UNKNOWN" for other numbers.
    [[nodiscard]] static const char *signalName(int signal);
    // The stamp the signal path writes for `secondsSinceEpoch`, in the prepared pattern.
    [[nodiscard]] static QString renderStamp(long long secondsSinceEpoch, int milliseconds);
};

} // namespace kestrelkit
