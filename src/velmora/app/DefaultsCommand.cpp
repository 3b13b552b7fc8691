#include "velmora/app/DefaultsCommand.h"

#include "velmora/launcher/LauncherViewObject.h"

#include "kestrelkit/DefaultsStore.h"

#include <QJsonDocument>
#include <QTextStream>

namespace velmora {

namespace {

constexpr auto kUsage = "usage: velmora defaults read KEY | write KEY JSON | delete KEY";

// Keys the application stores as plain values rather than JSON data; a write must keep
// that form or the application would not see it.
bool storedPlain(const kestrelkit::DefaultsStore &store, const QString &key)
{
    return key == QLatin1String(LauncherViewObject::kViewTypeKey) || store.plainValue(key).has_value();
}

QString show(const QJsonValue &value)
{
    return QString::fromUtf8(kestrelkit::encodeJsonValue(value));
}

} // namespace

int runDefaultsCommand(const QStringList &args, kestrelkit::DefaultsStore &store, QTextStream &out,
                       QTextStream &err)
{
    const QString verb = args.value(0);
    const QString key = args.value(1);
    const int expected = verb == QLatin1String("write") ? 3 : 2;
    if (key.isEmpty() || args.size() != expected
        || (verb != QLatin1String("read") && verb != QLatin1String("write")
            && verb != QLatin1String("delete"))) {
        err << kUsage << Qt::endl;
        return 2;
    }

    if (verb == QLatin1String("read")) {
        if (const auto bytes = store.data(key)) {
            // A data value that is not JSON is shown as its bytes in base64.
            if (const auto json = kestrelkit::decodeJsonValue(*bytes))
                out << show(*json) << Qt::endl;
            else
                out << "<data " << QString::fromLatin1(bytes->toBase64()) << '>' << Qt::endl;
            return 0;
        }
        if (const auto plain = store.plainValue(key)) {
            out << show(*plain) << "  (plain value)" << Qt::endl;
            return 0;
        }
        err << "The key \"" << key << "\" is not set." << Qt::endl;
        return 1;
    }

    if (verb == QLatin1String("write")) {
        const auto json = kestrelkit::decodeJsonValue(args.at(2).toUtf8());
        if (!json) {
            err << "Not a JSON value: " << args.at(2) << Qt::endl
                << "Examples: true, 640, \"grid\", [\"/opt/apps\"]. Nothing was written." << Qt::endl;
            return 2;
        }
        const bool written = storedPlain(store, key) ? store.setPlainValue(key, *json)
                                                     : store.setData(key, kestrelkit::encodeJsonValue(*json));
        if (!written) {
            err << "Could not write " << store.filePath() << Qt::endl;
            return 3;
        }
        return 0;
    }

    if (!store.remove(key)) {
        err << "Could not write " << store.filePath() << Qt::endl;
        return 3;
    }
    return 0;
}

} // namespace velmora
