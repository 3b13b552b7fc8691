#include "velmora/settings/SymbolFont.h"

#include "kestrelkit/Logger.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>

namespace velmora {

namespace {

// Symbol name -> Material Icons code point. Only the names these screens show; the
// launcher's full catalogue maps the rest.
const QHash<QString, char16_t> &glyphTable()
{
    static const QHash<QString, char16_t> table{
        {QStringLiteral("gearshape"), 0xe8b8},
        {QStringLiteral("lock"), 0xe897},
        {QStringLiteral("info.circle"), 0xe88f},
        {QStringLiteral("plus.circle.fill"), 0xe147},
        {QStringLiteral("folder.fill"), 0xe2c7},
        {QStringLiteral("trash"), 0xe872},
        {QStringLiteral("menucard"), 0xea19},
        {QStringLiteral("pencil.line"), 0xe745},
        // Ctrl plays Command's part on this platform, so its cap shows the Ctrl glyph.
        {QStringLiteral("command"), 0xeae6},
        {QStringLiteral("option"), 0xeae8},
        {QStringLiteral("space"), 0xe256},
        {QStringLiteral("fireworks"), 0xea65},
        {QStringLiteral("arrow.right"), 0xe5c8},
        {QStringLiteral("arrow.left"), 0xe5c4},
        {QStringLiteral("checkmark"), 0xe5ca},
        {QStringLiteral("doc.on.doc"), 0xe14d},
        {QStringLiteral("keyboard"), 0xe312},
        {QStringLiteral("exclamationmark.triangle"), 0xe002},
    };
    return table;
}

constexpr auto kFamily = "Material Icons";
constexpr auto kFontFile = "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf";

} // namespace

SymbolFont::SymbolFont(QObject *parent)
    : QObject(parent)
{
    // fontconfig normally knows the installed font; load the file when it does not.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && !QFontDatabase::families().contains(QLatin1String(kFamily))
        && QFontDatabase::addApplicationFont(QLatin1String(kFontFile)) < 0) {
        kestrelkit::Logger(QStringLiteral("SymbolFont"))
            .error(QStringLiteral("Symbol font not found at %1").arg(QLatin1String(kFontFile)));
    }
}

QString SymbolFont::glyph(const QString &symbolName)
{
    const auto it = glyphTable().constFind(symbolName);
    return it == glyphTable().constEnd() ? QString() : QString(QChar(*it));
}

QString SymbolFont::family()
{
    return QLatin1String(kFamily);
}

} // namespace velmora
