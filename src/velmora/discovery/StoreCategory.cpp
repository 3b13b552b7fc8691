#include "velmora/discovery/StoreCategory.h"

#include <QCoreApplication>
#include <QHash>

namespace velmora {

namespace {

struct CategoryInfo {
    StoreCategory category;
    const char *raw;
    const char *symbol;
    const char *title;
};

// Same order as the enum.
const CategoryInfo kInfo[kStoreCategoryCount] = {
    {StoreCategory::business, "public.app-category.business", "briefcase.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Business")},
    {StoreCategory::developer_tools, "public.app-category.developer-tools", "hammer.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Developer Tools")},
    {StoreCategory::education, "public.app-category.education", "graduationcap.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Education")},
    {StoreCategory::entertainment, "public.app-category.entertainment", "tv.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Entertainment")},
    {StoreCategory::finance, "public.app-category.finance", "dollarsign.circle.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Finance")},
    {StoreCategory::games, "public.app-category.games", "gamecontroller.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Games")},
    {StoreCategory::action_games, "public.app-category.action-games", "flame.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Action Games")},
    {StoreCategory::adventure_games, "public.app-category.adventure-games", "map.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Adventure Games")},
    {StoreCategory::arcade_games, "public.app-category.arcade-games", "bolt.circle.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Arcade Games")},
    {StoreCategory::board_games, "public.app-category.board-games", "checkerboard.rectangle",
     QT_TRANSLATE_NOOP("StoreCategory", "Board Games")},
    {StoreCategory::card_games, "public.app-category.card-games", "suit.spade.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Card Games")},
    {StoreCategory::casino_games, "public.app-category.casino-games", "dice.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Casino Games")},
    {StoreCategory::dice_games, "public.app-category.dice-games", "dice",
     QT_TRANSLATE_NOOP("StoreCategory", "Dice Games")},
    {StoreCategory::educational_games, "public.app-category.educational-games", "book.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Educational Games")},
    {StoreCategory::family_games, "public.app-category.family-games", "house.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Family Games")},
    {StoreCategory::kids_games, "public.app-category.kids-games", "star.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Kids Games")},
    {StoreCategory::music_games, "public.app-category.music-games", "music.note",
     QT_TRANSLATE_NOOP("StoreCategory", "Music Games")},
    {StoreCategory::puzzle_games, "public.app-category.puzzle-games", "puzzlepiece.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Puzzle Games")},
    {StoreCategory::racing_games, "public.app-category.racing-games", "car.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Racing Games")},
    {StoreCategory::role_playing_games, "public.app-category.role-playing-games",
     "person.fill.questionmark", QT_TRANSLATE_NOOP("StoreCategory", "Role Playing Games")},
    {StoreCategory::simulation_games, "public.app-category.simulation-games", "globe",
     QT_TRANSLATE_NOOP("StoreCategory", "Simulation Games")},
    {StoreCategory::sports_games, "public.app-category.sports-games", "sportscourt.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Sports Games")},
    {StoreCategory::strategy_games, "public.app-category.strategy-games",
     "arrowshape.zigzag.forward.fill", QT_TRANSLATE_NOOP("StoreCategory", "Strategy Games")},
    {StoreCategory::trivia_games, "public.app-category.trivia-games", "questionmark.circle.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Trivia Games")},
    {StoreCategory::word_games, "public.app-category.word-games", "textformat.abc",
     QT_TRANSLATE_NOOP("StoreCategory", "Word Games")},
    {StoreCategory::graphics_design, "public.app-category.graphics-design", "paintbrush.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Graphics & Design")},
    {StoreCategory::healthcare_fitness, "public.app-category.healthcare-fitness", "heart.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Healthcare & Fitness")},
    {StoreCategory::lifestyle, "public.app-category.lifestyle", "leaf.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Lifestyle")},
    {StoreCategory::medical, "public.app-category.medical", "cross.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Medical")},
    {StoreCategory::music, "public.app-category.music", "music.note.list",
     QT_TRANSLATE_NOOP("StoreCategory", "Music")},
    {StoreCategory::news, "public.app-category.news", "newspaper.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "News")},
    {StoreCategory::photography, "public.app-category.photography", "camera.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Photography")},
    {StoreCategory::productivity, "public.app-category.productivity", "checkmark.circle.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Productivity")},
    {StoreCategory::reference, "public.app-category.reference", "book.closed.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Reference")},
    {StoreCategory::social_networking, "public.app-category.social-networking", "person.2.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Social Networking")},
    {StoreCategory::sports, "public.app-category.sports", "figure.run",
     QT_TRANSLATE_NOOP("StoreCategory", "Sports")},
    {StoreCategory::travel, "public.app-category.travel", "airplane",
     QT_TRANSLATE_NOOP("StoreCategory", "Travel")},
    {StoreCategory::utilities, "public.app-category.utilities", "wrench.and.screwdriver.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Utilities")},
    {StoreCategory::video, "public.app-category.video", "video.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Video")},
    {StoreCategory::weather, "public.app-category.weather", "cloud.sun.fill",
     QT_TRANSLATE_NOOP("StoreCategory", "Weather")},
};

const CategoryInfo &info(StoreCategory c)
{
    return kInfo[static_cast<int>(c)];
}

// freedesktop category → store category, tried in passes: additional categories first
// ("Game;ActionGame;" is an action game), then main ones. AudioVideo comes last: the
// Desktop Menu rules require it next to Audio or Video, which say more.
enum Pass { Additional = 0, Main = 1, Broad = 2 };
struct DesktopMapping {
    const char *name;
    StoreCategory category;
    int pass;
};

const DesktopMapping kDesktopMap[] = {
    {"ActionGame", StoreCategory::action_games, Additional},
    {"AdventureGame", StoreCategory::adventure_games, Additional},
    {"ArcadeGame", StoreCategory::arcade_games, Additional},
    {"BoardGame", StoreCategory::board_games, Additional},
    {"CardGame", StoreCategory::card_games, Additional},
    {"KidsGame", StoreCategory::kids_games, Additional},
    {"LogicGame", StoreCategory::puzzle_games, Additional},
    {"BlocksGame", StoreCategory::puzzle_games, Additional},
    {"RolePlaying", StoreCategory::role_playing_games, Additional},
    {"Simulation", StoreCategory::simulation_games, Additional},
    {"SportsGame", StoreCategory::sports_games, Additional},
    {"StrategyGame", StoreCategory::strategy_games, Additional},
    {"Game", StoreCategory::games, Main},
    {"Photography", StoreCategory::photography, Additional},
    {"Graphics", StoreCategory::graphics_design, Main},
    {"Music", StoreCategory::music, Additional},
    {"Audio", StoreCategory::music, Main},
    {"Video", StoreCategory::video, Main},
    {"TV", StoreCategory::video, Additional},
    {"AudioVideo", StoreCategory::entertainment, Broad},
    {"Finance", StoreCategory::finance, Additional},
    {"Office", StoreCategory::productivity, Main},
    {"Development", StoreCategory::developer_tools, Main},
    {"IDE", StoreCategory::developer_tools, Additional},
    {"Education", StoreCategory::education, Main},
    {"Science", StoreCategory::education, Main},
    {"Dictionary", StoreCategory::reference, Additional},
    {"Documentation", StoreCategory::reference, Additional},
    {"Chat", StoreCategory::social_networking, Additional},
    {"InstantMessaging", StoreCategory::social_networking, Additional},
    {"IRCClient", StoreCategory::social_networking, Additional},
    {"News", StoreCategory::news, Additional},
    {"Feed", StoreCategory::news, Additional},
    {"Email", StoreCategory::productivity, Additional},
    {"WebBrowser", StoreCategory::productivity, Additional},
    {"Network", StoreCategory::productivity, Main},
    {"Maps", StoreCategory::travel, Additional},
    {"MedicalSoftware", StoreCategory::medical, Additional},
    {"Sports", StoreCategory::sports, Additional},
    {"Amusement", StoreCategory::entertainment, Additional},
    {"Settings", StoreCategory::utilities, Main},
    {"System", StoreCategory::utilities, Main},
    {"Utility", StoreCategory::utilities, Main},
    {"Accessibility", StoreCategory::utilities, Additional},
};

const DesktopMapping *desktopMapping(const QString &name)
{
    for (const DesktopMapping &m : kDesktopMap) {
        if (name == QLatin1String(m.name))
            return &m;
    }
    return nullptr;
}

} // namespace

const std::array<StoreCategory, kStoreCategoryCount> &allStoreCategories()
{
    static const auto all = [] {
        std::array<StoreCategory, kStoreCategoryCount> a{};
        for (int i = 0; i < kStoreCategoryCount; ++i)
            a[i] = kInfo[i].category;
        return a;
    }();
    return all;
}

std::optional<StoreCategory> storeCategoryFromRawValue(const QString &raw)
{
    static const QHash<QString, StoreCategory> byRaw = [] {
        QHash<QString, StoreCategory> h;
        for (const CategoryInfo &i : kInfo)
            h.insert(QString::fromLatin1(i.raw), i.category);
        return h;
    }();
    const auto it = byRaw.constFind(raw);
    if (it == byRaw.constEnd())
        return std::nullopt;
    return *it;
}

QString rawValue(StoreCategory category)
{
    return QString::fromLatin1(info(category).raw);
}

QString symbolName(StoreCategory category)
{
    return QString::fromLatin1(info(category).symbol);
}

std::optional<QString> localizedTitle(StoreCategory category)
{
    const int index = static_cast<int>(category);
    if (index < 0 || index >= kStoreCategoryCount)
        return std::nullopt;
    return QCoreApplication::translate("StoreCategory", kInfo[index].title);
}

std::optional<StoreCategory> storeCategoryFromDesktopCategories(const QStringList &categories)
{
    for (const int pass : {Additional, Main, Broad}) {
        for (const QString &name : categories) {
            const DesktopMapping *m = desktopMapping(name.trimmed());
            if (m && m->pass == pass)
                return m->category;
        }
    }
    return std::nullopt;
}

} // namespace velmora
