#include "kestrelkit/CrashReporter.h"

#include "kestrelkit/LogFormat.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <exception>
#include <mutex>
#include <typeinfo>

#include <execinfo.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace kestrelkit {

namespace {

// ---- Prepared in normal context, read by the signal handler. ----

enum class Field : char { Literal, Day, Month, Year, Hour12, Hour24, Minute, Second, Milli, AmPm };

struct Token {
    Field field = Field::Literal;
    int width = 0;    // digits (2 = zero-padded to two, 4 = full year)
    char text[64] {}; // literal text
};

struct Prepared {
    char path[4096] {};
    Token tokens[40];
    int tokenCount = 0;
    char digits[10][8] {};
    char am[32] {};
    char pm[32] {};
};

// Two buffers so a crash during re-preparation still sees a complete one.
Prepared g_prepared[2];
std::atomic<int> g_current{-1};
std::atomic<int> g_fd{-1};
std::atomic<long> g_utcOffset{0};
std::atomic<bool> g_inHandler{false};
std::mutex g_prepareMutex;

CrashReporter::ExceptionSink g_sink;
QLocale g_locale;
std::terminate_handler g_previousTerminate = nullptr;
bool g_installed = false;

constexpr int kSignals[] = {SIGABRT, SIGILL, SIGSEGV, SIGFPE, SIGBUS, SIGPIPE, SIGTRAP};

void copyText(char *dst, std::size_t size, const QByteArray &src)
{
    const std::size_t n = std::min(size - 1, static_cast<std::size_t>(src.size()));
    std::memcpy(dst, src.constData(), n);
    dst[n] = '\0';
}

void addLiteral(Prepared &p, const QString &text)
{
    if (text.isEmpty() || p.tokenCount >= 40)
        return;
    Token &t = p.tokens[p.tokenCount++];
    t.field = Field::Literal;
    copyText(t.text, sizeof t.text, text.toUtf8());
}

void addField(Prepared &p, Field field, int width)
{
    if (p.tokenCount >= 40)
        return;
    p.tokens[p.tokenCount++] = Token{field, width, {}};
}

// Splits a QLocale pattern into the numeric fields LogFormat::stampPattern() produces.
void compilePattern(Prepared &p, const QString &pattern)
{
    p.tokenCount = 0;
    QString literal;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype end = pattern.indexOf(QLatin1Char('\''), i + 1);
            if (end == i + 1) {
                literal += QLatin1Char('\'');
                i += 2;
                continue;
            }
            literal += pattern.mid(i + 1, (end < 0 ? pattern.size() : end) - i - 1);
            i = end < 0 ? pattern.size() : end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c)
            ++run;
        Field field = Field::Literal;
        int width = run >= 2 ? 2 : 1;
        switch (c.unicode()) {
        case 'd': field = Field::Day; break;
        case 'M': field = Field::Month; break;
        case 'y': field = Field::Year; width = run >= 4 ? 4 : 2; break;
        case 'h': field = Field::Hour12; break;
        case 'H': field = Field::Hour24; break;
        case 'm': field = Field::Minute; break;
        case 's': field = Field::Second; break;
        case 'z': field = Field::Milli; width = 3; break;
        case 'a':
        case 'A':
            field = Field::AmPm;
            if (i + 1 < pattern.size() && pattern.at(i + 1).toLower() == QLatin1Char('p'))
                run = 2;
            width = c == QLatin1Char('A') ? 1 : 0;
            break;
        default: break;
        }
        if (field == Field::Literal) {
            literal += pattern.mid(i, run);
        } else {
            addLiteral(p, literal);
            literal.clear();
            addField(p, field, width);
        }
        i += run;
    }
    addLiteral(p, literal);
}

void prepare(const QString &path, const QLocale &locale)
{
    std::lock_guard lock(g_prepareMutex);
    const int next = g_current.load() == 0 ? 1 : 0;
    Prepared &p = g_prepared[next];
    copyText(p.path, sizeof p.path, QFile::encodeName(path));
    compilePattern(p, LogFormat::stampPattern(locale));
    for (int i = 0; i < 10; ++i)
        copyText(p.digits[i], sizeof p.digits[i], locale.toString(i).toUtf8());
    copyText(p.am, sizeof p.am, locale.amText().toUtf8());
    copyText(p.pm, sizeof p.pm, locale.pmText().toUtf8());
    g_current.store(next);
}

// ---- Async-signal-safe helpers. ----

struct Out {
    char buf[512];
    std::size_t len = 0;
    void add(const char *s)
    {
        while (*s && len < sizeof buf)
            buf[len++] = *s++;
    }
};

void addNumber(Out &out, const Prepared &p, long value, int width)
{
    char rev[24];
    int n = 0;
    do {
        rev[n++] = static_cast<char>(value % 10);
        value /= 10;
    } while (value > 0 && n < 24);
    while (n < width && n < 24)
        rev[n++] = 0;
    while (n > 0)
        out.add(p.digits[static_cast<int>(rev[--n])]);
}

// Days since 1970-01-01 to a civil date (H. Hinnant's algorithm).
void civilFromDays(long long z, long &year, int &month, int &day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<long>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

void renderStampInto(Out &out, const Prepared &p, long long seconds, int millis)
{
    const long long local = seconds + g_utcOffset.load(std::memory_order_relaxed);
    long long days = local / 86400;
    long long rest = local % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    long year = 0;
    int month = 0, day = 0;
    civilFromDays(days, year, month, day);
    const int hour = static_cast<int>(rest / 3600);
    const int minute = static_cast<int>(rest % 3600 / 60);
    const int second = static_cast<int>(rest % 60);
    for (int i = 0; i < p.tokenCount; ++i) {
        const Token &t = p.tokens[i];
        switch (t.field) {
        case Field::Literal: out.add(t.text); break;
        case Field::Day: addNumber(out, p, day, t.width); break;
        case Field::Month: addNumber(out, p, month, t.width); break;
        case Field::Year: addNumber(out, p, t.width == 4 ? year : year % 100, t.width); break;
        case Field::Hour12: addNumber(out, p, hour % 12 == 0 ? 12 : hour % 12, t.width); break;
        case Field::Hour24: addNumber(out, p, hour, t.width); break;
        case Field::Minute: addNumber(out, p, minute, t.width); break;
        case Field::Second: addNumber(out, p, second, t.width); break;
        case Field::Milli: addNumber(out, p, millis, 3); break;
        case Field::AmPm: out.add(hour < 12 ? p.am : p.pm); break;
        }
    }
}

void writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void writeText(int fd, const char *text) { writeAll(fd, text, std::strlen(text)); }

void onSignal(int signal)
{
    const int saved = errno;
    // Another thread is already writing a record: let it finish, then die.
    if (g_inHandler.exchange(true)) {
        for (int i = 0; i < 300; ++i) {
            const timespec pause{0, 10000000};
            nanosleep(&pause, nullptr);
        }
    } else {
        const int current = g_current.load();
        if (current >= 0) {
            const Prepared &p = g_prepared[current];
            int fd = ::open(p.path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
            const bool opened = fd >= 0;
            if (!opened)
                fd = g_fd.load();
            if (fd >= 0) {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                Out header;
                header.add("\n- !!!Crash!!! [");
                renderStampInto(header, p, now.tv_sec, static_cast<int>(now.tv_nsec / 1000000));
                header.add(" ");
                header.add(CrashReporter::signalName(signal));
                header.add("]\nStack Trace: -----\n");
                writeAll(fd, header.buf, header.len);
                void *frames[128];
                const int depth = backtrace(frames, 128);
                backtrace_symbols_fd(frames, depth, fd);
                writeText(fd, "-----\n");
                writeText(fd, LogFormat::kCrashTrailer);
                if (opened)
                    ::close(fd);
            }
        }
    }
    errno = saved;
    // End as the process would have without us.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

QString demangle(const char *name)
{
    int status = 0;
    char *readable = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    QString out = QString::fromUtf8(status == 0 && readable ? readable : name);
    std::free(readable);
    return out;
}

QStringList currentStack()
{
    void *frames[128];
    const int depth = backtrace(frames, 128);
    QStringList lines;
    if (char **symbols = backtrace_symbols(frames, depth)) {
        for (int i = 0; i < depth; ++i)
            lines.append(QString::fromUtf8(symbols[i]));
        std::free(symbols);
    }
    return lines;
}

void onTerminate()
{
    QString name = QStringLiteral("std::terminate");
    QString reason;
    if (std::exception_ptr current = std::current_exception()) {
        if (const std::type_info *type = abi::__cxa_current_exception_type())
            name = demangle(type->name());
        try {
            std::rethrow_exception(current);
        } catch (const std::exception &e) {
            reason = QString::fromUtf8(e.what());
        } catch (...) {
        }
    }
    const QString record = LogFormat::exceptionRecord(
        LogFormat::stamp(QDateTime::currentDateTime(), g_locale), name, reason, QStringLiteral("{}"),
        currentStack());
    CrashReporter::ExceptionSink sink;
    {
        std::lock_guard lock(g_prepareMutex);
        sink = g_sink;
    }
    if (sink) {
        sink(record);
    } else if (const int current = g_current.load(); current >= 0) {
        // No manager to collect first: append the record and trailer directly.
        QFile file(QFile::decodeName(g_prepared[current].path));
        if (file.open(QIODevice::Append))
            file.write(record.toUtf8() + LogFormat::kCrashTrailer);
    }
    if (g_previousTerminate)
        g_previousTerminate();
    std::abort();
}

} // namespace

void CrashReporter::install(const QString &logFilePath, const QLocale &locale, ExceptionSink sink)
{
    refreshClock();
    prepare(logFilePath, locale);
    {
        std::lock_guard lock(g_prepareMutex);
        g_sink = std::move(sink);
        g_locale = locale;
    }
    if (g_installed)
        return;
    g_installed = true;

    // backtrace() loads libgcc on first use, which allocates: do that now, not in a handler.
    void *warm[4];
    backtrace(warm, 4);

    g_previousTerminate = std::set_terminate(onTerminate);

    // A stack overflow leaves no stack for the handler: give it one of its own.
    static char alternateStack[64 * 1024];
    stack_t ss{};
    ss.ss_sp = alternateStack;
    ss.ss_size = sizeof alternateStack;
    sigaltstack(&ss, nullptr);

    for (int sig : kSignals) {
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_ONSTACK;
        sigaction(sig, &action, nullptr);
    }
}

void CrashReporter::setPreparedDescriptor(int fd)
{
    const int old = g_fd.exchange(fd);
    if (old >= 0 && old != fd)
        ::close(old);
}

void CrashReporter::clearExceptionSink()
{
    std::lock_guard lock(g_prepareMutex);
    g_sink = nullptr;
}

void CrashReporter::refreshClock()
{
    g_utcOffset.store(QDateTime::currentDateTime().offsetFromUtc());
}

const char *CrashReporter::signalName(int signal)
{
    switch (signal) {
    case SIGILL: return "SIGILL";
    case SIGTRAP: return "SIGTRAP";
    case SIGABRT: return "SIGABRT";
    case SIGFPE: return "SIGFPE";
    case SIGBUS: return "SIGBUS";
    case SIGSEGV: return "SIGSEGV";
    case SIGPIPE: return "SIGPIPE";
    default: return "UNKNOWN";
    }
}

QString CrashReporter::renderStamp(long long secondsSinceEpoch, int milliseconds)
{
    const int current = g_current.load();
    if (current < 0)
        return {};
    Out out;
    renderStampInto(out, g_prepared[current], secondsSinceEpoch, milliseconds);
    return QString::fromUtf8(out.buf, static_cast<qsizetype>(out.len));
}

} // namespace kestrelkit
