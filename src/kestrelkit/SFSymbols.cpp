#include "kestrelkit/SFSymbols.h"

#include "kestrelkit/Logger.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace kestrelkit {

namespace {

// Symbol names used by the screens and the store categories, each drawn by the closest
// Material glyph.
const QHash<QString, QString> kAliases = {
    {QStringLiteral("magnifyingglass"), QStringLiteral("search")},
    {QStringLiteral("ellipsis"), QStringLiteral("more_horiz")},
    {QStringLiteral("ellipsis.circle"), QStringLiteral("more_horiz")},
    {QStringLiteral("viewfinder"), QStringLiteral("center_focus_weak")},
    {QStringLiteral("square.grid.2x2"), QStringLiteral("grid_view")},
    {QStringLiteral("rectangle.grid.1x2"), QStringLiteral("view_agenda")},
    {QStringLiteral("arrow.up.left.and.arrow.down.right"), QStringLiteral("open_in_full")},
    {QStringLiteral("gear"), QStringLiteral("settings")},
    {QStringLiteral("envelope"), QStringLiteral("mail_outline")},
    {QStringLiteral("arrow.triangle.2.circlepath"), QStringLiteral("sync")},
    {QStringLiteral("folder"), QStringLiteral("folder")},
    {QStringLiteral("folder.fill"), QStringLiteral("folder")},
    {QStringLiteral("tag"), QStringLiteral("label")},
    {QStringLiteral("pin.fill"), QStringLiteral("push_pin")},
    {QStringLiteral("pin.slash.fill"), QStringLiteral("push_pin")},
    {QStringLiteral("eye.fill"), QStringLiteral("visibility")},
    {QStringLiteral("eye.slash.fill"), QStringLiteral("visibility_off")},
    {QStringLiteral("chevron.down"), QStringLiteral("expand_more")},
    {QStringLiteral("chevron.left"), QStringLiteral("chevron_left")},
    {QStringLiteral("pencil.line"), QStringLiteral("edit")},
    {QStringLiteral("arrow.up"), QStringLiteral("arrow_upward")},
    {QStringLiteral("arrow.down"), QStringLiteral("arrow_downward")},
    {QStringLiteral("questionmark.circle.fill"), QStringLiteral("help")},
    {QStringLiteral("arrowshape.zigzag.forward.fill"), QStringLiteral("bolt")},
    {QStringLiteral("bolt.circle.fill"), QStringLiteral("bolt")},
    {QStringLiteral("book.closed.fill"), QStringLiteral("menu_book")},
    {QStringLiteral("book.fill"), QStringLiteral("auto_stories")},
    {QStringLiteral("briefcase.fill"), QStringLiteral("work")},
    {QStringLiteral("camera.fill"), QStringLiteral("photo_camera")},
    {QStringLiteral("car.fill"), QStringLiteral("directions_car")},
    {QStringLiteral("checkerboard.rectangle"), QStringLiteral("grid_on")},
    {QStringLiteral("checkmark.circle.fill"), QStringLiteral("check_circle")},
    {QStringLiteral("cloud.sun.fill"), QStringLiteral("wb_cloudy")},
    {QStringLiteral("cross.fill"), QStringLiteral("local_hospital")},
    {QStringLiteral("dice.fill"), QStringLiteral("casino")},
    {QStringLiteral("dollarsign.circle.fill"), QStringLiteral("monetization_on")},
    {QStringLiteral("figure.run"), QStringLiteral("directions_run")},
    {QStringLiteral("flame.fill"), QStringLiteral("local_fire_department")},
    {QStringLiteral("gamecontroller.fill"), QStringLiteral("sports_esports")},
    {QStringLiteral("graduationcap.fill"), QStringLiteral("school")},
    {QStringLiteral("hammer.fill"), QStringLiteral("build")},
    {QStringLiteral("heart.fill"), QStringLiteral("favorite")},
    {QStringLiteral("house.fill"), QStringLiteral("home")},
    {QStringLiteral("leaf.fill"), QStringLiteral("eco")},
    {QStringLiteral("map.fill"), QStringLiteral("map")},
    {QStringLiteral("music.note"), QStringLiteral("music_note")},
    {QStringLiteral("music.note.list"), QStringLiteral("queue_music")},
    {QStringLiteral("newspaper.fill"), QStringLiteral("newspaper")},
    {QStringLiteral("paintbrush.fill"), QStringLiteral("brush")},
    {QStringLiteral("person.2.fill"), QStringLiteral("people")},
    {QStringLiteral("person.fill.questionmark"), QStringLiteral("person_search")},
    {QStringLiteral("puzzlepiece.fill"), QStringLiteral("extension")},
    {QStringLiteral("sportscourt.fill"), QStringLiteral("sports_basketball")},
    {QStringLiteral("star.fill"), QStringLiteral("star")},
    {QStringLiteral("suit.spade.fill"), QStringLiteral("style")},
    {QStringLiteral("textformat.abc"), QStringLiteral("abc")},
    {QStringLiteral("tv.fill"), QStringLiteral("tv")},
    {QStringLiteral("video.fill"), QStringLiteral("videocam")},
    {QStringLiteral("wrench.and.screwdriver.fill"), QStringLiteral("handyman")},
};

} // namespace

SFSymbols::SFSymbols(const QString &mapFile)
{
    QFile file(mapFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Logger(QStringLiteral("SFSymbols"))
            .error(QStringLiteral("Cannot read the symbol map %1").arg(mapFile));
        return;
    }
    // Entries look like:	"push_pin": f10d,
    static const QRegularExpression entry(QStringLiteral(R"re(^\s*"([^"]+)"\s*:\s*([0-9a-fA-F]{2,6})\s*,?\s*$)re"));
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString &line : text.split(u'\n')) {
        const auto match = entry.match(line);
        if (!match.hasMatch())
            continue;
        bool ok = false;
        const uint codepoint = match.capturedView(2).toUInt(&ok, 16);
        if (!ok || codepoint == 0)
            continue;
        const QString name = match.captured(1);
        if (!m_codepoints.contains(name))
            m_names.append(name);
        m_codepoints.insert(name, char32_t(codepoint));
    }
    std::sort(m_names.begin(), m_names.end());
}

const SFSymbols &SFSymbols::shared()
{
    static const SFSymbols symbols(QString::fromLatin1(kDefaultMapFile));
    return symbols;
}

const QHash<QString, QString> &SFSymbols::aliases()
{
    return kAliases;
}

QString SFSymbols::resolve(const QString &name) const
{
    if (m_codepoints.contains(name))
        return name;
    const QString alias = kAliases.value(name);
    return m_codepoints.contains(alias) ? alias : QString();
}

QString SFSymbols::glyph(const QString &name) const
{
    const QString resolved = resolve(name);
    const char32_t codepoint = resolved.isEmpty() ? char32_t(kPlaceholderCodepoint)
                                                  : m_codepoints.value(resolved);
    return QString::fromUcs4(&codepoint, 1);
}

} // namespace kestrelkit
