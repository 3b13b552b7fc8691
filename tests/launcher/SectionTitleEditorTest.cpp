// The header's title editor: the live title with its whitespace rule, the symbol search.

#include "LauncherFixture.h"

#include "velmora/launcher/SectionTitleEditor.h"

using namespace velmora;
using namespace velmora::test;

class SectionTitleEditorTest : public QObject {
    Q_OBJECT

private slots:
    void titleRule_data();
    void titleRule();
    void openingWritesNothing();
    void symbolSearch_data();
    void symbolSearch();
    void choosingASymbolSetsTheIcon();
};

void SectionTitleEditorTest::titleRule_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("word") << "Games" << "Play" << "Play";
    QTest::newRow("surrounding spaces kept") << "Games" << " Play " << " Play ";
    QTest::newRow("three spaces revert") << "Games" << "   " << "Games";
    QTest::newRow("emptied reverts") << "Games" << "" << "Games";
    QTest::newRow("newline only reverts") << "Games" << "\n\t" << "Games";
    QTest::newRow("empty title reverts to Untitled") << "" << " " << "Untitled";
}

void SectionTitleEditorTest::titleRule()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    LauncherFixture f;
    Category *category = f.category(stored, 1);
    SectionTitleEditor editor(category, {});
    editor.setLocalTitle(QStringLiteral("x")); // a keystroke first, so "" is a change too
    editor.setLocalTitle(typed);
    QCOMPARE(category->title(), expected);
    QCOMPARE(editor.localTitle(), typed);
}

void SectionTitleEditorTest::openingWritesNothing()
{
    LauncherFixture f;
    Category *category = f.category(QString(), 1);
    QVERIFY(f.context().save());
    SectionTitleEditor editor(category, {});
    QCOMPARE(editor.initialTitle(), QStringLiteral("Untitled"));
    QCOMPARE(editor.localTitle(), QStringLiteral("Untitled"));
    QCOMPARE(category->title(), QString());
    QVERIFY(!f.context().hasChanges());
}

void SectionTitleEditorTest::symbolSearch_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("expected");
    const QStringList all{QStringLiteral("Arrow_Big"), QStringLiteral("arrow_back"), QStringLiteral("folder"),
                          QStringLiteral("narrow")};
    QTest::newRow("empty lists all") << "" << all;
    QTest::newRow("spaces list all") << "   " << all;
    QTest::newRow("lower case") << "arrow" << QStringList{QStringLiteral("arrow_back"), QStringLiteral("narrow")};
    QTest::newRow("case-sensitive") << "Arrow" << QStringList{QStringLiteral("Arrow_Big")};
    QTest::newRow("unstripped substring") << " arrow" << QStringList{};
}

void SectionTitleEditorTest::symbolSearch()
{
    QFETCH(QString, search);
    QFETCH(QStringList, expected);
    LauncherFixture f;
    Category *category = f.category(QStringLiteral("A"), 1);
    SectionTitleEditor editor(category, {QStringLiteral("Arrow_Big"), QStringLiteral("arrow_back"),
                                         QStringLiteral("folder"), QStringLiteral("narrow")});
    editor.setSearchText(search);
    QCOMPARE(editor.filteredSymbols(), expected);
    QCOMPARE(editor.selectedIndex(), int(expected.indexOf(QStringLiteral("folder"))));
}

void SectionTitleEditorTest::choosingASymbolSetsTheIcon()
{
    LauncherFixture f;
    Category *category = f.category(QStringLiteral("A"), 1);
    SectionTitleEditor editor(category, {QStringLiteral("folder"), QStringLiteral("star")});
    QCOMPARE(editor.selectedIndex(), 0);
    QSignalSpy selected(&editor, &SectionTitleEditor::selectedIndexChanged);
    editor.chooseSymbol(QStringLiteral("star"));
    QCOMPARE(category->systemIconName(), QStringLiteral("star"));
    QCOMPARE(editor.selectedIndex(), 1);
    QCOMPARE(selected.size(), 1);
    QVERIFY(f.context().hasChanges()); // left to the store's autosave
}

QTEST_GUILESS_MAIN(SectionTitleEditorTest)
#include "SectionTitleEditorTest.moc"
