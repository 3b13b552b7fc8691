#include "velmora/discovery/StoreCategory.h"

#include <QSet>
#include <QtTest>

using velmora::StoreCategory;

class StoreCategoryTest : public QObject {
    Q_OBJECT
private slots:
    void everyCaseRoundTripsAndIsComplete()
    {
        const auto &all = velmora::allStoreCategories();
        QCOMPARE(int(all.size()), 40);
        QSet<QString> raws;
        for (StoreCategory c : all) {
            const QString raw = velmora::rawValue(c);
            QVERIFY(raw.startsWith(QLatin1String("public.app-category.")));
            QCOMPARE(velmora::storeCategoryFromRawValue(raw), std::optional<StoreCategory>(c));
            QVERIFY(!velmora::symbolName(c).isEmpty());
            QVERIFY(!velmora::localizedTitle(c).value_or(QString()).isEmpty());
            raws.insert(raw);
        }
        QCOMPARE(raws.size(), 40);
        QCOMPARE(all.front(), StoreCategory::business);
        QCOMPARE(all.back(), StoreCategory::weather);
    }

    void fromRawValue_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("expected"); // -1: none
        QTest::newRow("games") << "public.app-category.games" << int(StoreCategory::games);
        QTest::newRow("kids games stay their own case")
            << "public.app-category.kids-games" << int(StoreCategory::kids_games);
        QTest::newRow("developer tools")
            << "public.app-category.developer-tools" << int(StoreCategory::developer_tools);
        QTest::newRow("letter case differs") << "public.app-category.Games" << -1;
        QTest::newRow("trailing space") << "public.app-category.games " << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("underscore spelling") << "public.app-category.developer_tools" << -1;
    }
    void fromRawValue()
    {
        QFETCH(QString, raw);
        QFETCH(int, expected);
        const auto category = velmora::storeCategoryFromRawValue(raw);
        QCOMPARE(category.has_value(), expected >= 0);
        if (category)
            QCOMPARE(int(*category), expected);
    }

    void titlesAndSymbols_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("symbol");
        QTest::newRow("developer tools") << int(StoreCategory::developer_tools) << "Developer Tools" << "hammer.fill";
        QTest::newRow("role playing") << int(StoreCategory::role_playing_games) << "Role Playing Games"
                                      << "person.fill.questionmark";
        QTest::newRow("healthcare") << int(StoreCategory::healthcare_fitness) << "Healthcare & Fitness"
                                    << "heart.fill";
        QTest::newRow("kids games") << int(StoreCategory::kids_games) << "Kids Games" << "star.fill";
        QTest::newRow("graphics") << int(StoreCategory::graphics_design) << "Graphics & Design"
                                  << "paintbrush.fill";
        QTest::newRow("weather") << int(StoreCategory::weather) << "Weather" << "cloud.sun.fill";
    }
    void titlesAndSymbols()
    {
        QFETCH(int, category);
        QFETCH(QString, title);
        QFETCH(QString, symbol);
        const auto c = StoreCategory(category);
        QCOMPARE(velmora::localizedTitle(c), std::optional<QString>(title));
        QCOMPARE(velmora::symbolName(c), symbol);
    }

    void fromDesktopCategories_data()
    {
        QTest::addColumn<QString>("categories");
        QTest::addColumn<int>("expected");
        QTest::newRow("additional before main") << "Game;ActionGame;" << int(StoreCategory::action_games);
        QTest::newRow("main alone") << "Game;" << int(StoreCategory::games);
        QTest::newRow("blocks game is a puzzle") << "Game;BlocksGame;" << int(StoreCategory::puzzle_games);
        QTest::newRow("browser") << "Network;WebBrowser;" << int(StoreCategory::productivity);
        QTest::newRow("text editor") << "GNOME;GTK;Utility;TextEditor;" << int(StoreCategory::utilities);
        QTest::newRow("video before audio-video") << "AudioVideo;Video;" << int(StoreCategory::video);
        QTest::newRow("audio-video alone") << "AudioVideo;" << int(StoreCategory::entertainment);
        QTest::newRow("photography beats graphics") << "Graphics;Photography;" << int(StoreCategory::photography);
        QTest::newRow("first main wins") << "Education;Development;" << int(StoreCategory::education);
        QTest::newRow("IDE") << "Development;IDE;" << int(StoreCategory::developer_tools);
        QTest::newRow("chat") << "Network;InstantMessaging;" << int(StoreCategory::social_networking);
        QTest::newRow("terminal in System") << "Qt;KDE;System;TerminalEmulator;" << int(StoreCategory::utilities);
        QTest::newRow("nothing maps") << "Qt;KDE;X-Custom;" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void fromDesktopCategories()
    {
        QFETCH(QString, categories);
        QFETCH(int, expected);
        const auto c = velmora::storeCategoryFromDesktopCategories(
            categories.split(QLatin1Char(';'), Qt::SkipEmptyParts));
        QCOMPARE(c.has_value(), expected >= 0);
        if (c)
            QCOMPARE(int(*c), expected);
    }
};

QTEST_GUILESS_MAIN(StoreCategoryTest)
#include "StoreCategoryTest.moc"
