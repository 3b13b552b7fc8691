// The symbol catalogue: reading the font package's map, aliases, the placeholder.

#include "kestrelkit/SFSymbols.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kestrelkit::SFSymbols;

class SFSymbolsTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheMapSorted();
    void glyphs_data();
    void glyphs();
    void unreadableMapIsEmpty();
    void everyAliasDrawsFromTheInstalledCatalogue();
};

namespace {

QString writeMap(QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("_variables.scss"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("$material-icons-codepoints: () !default;\n"
               "$material-icons-codepoints: map-merge((\n"
               "\t\"push_pin\": f10d,\n"
               "\t\"folder\": e2c7,\n"
               "\t\"123\": eb8d,\n"
               "\t\"broken\": zz,\n"
               "\t\"help_outline\": e8fd\n"
               "), $material-icons-codepoints);\n");
    return path;
}

} // namespace

void SFSymbolsTest::readsTheMapSorted()
{
    QTemporaryDir dir;
    const SFSymbols symbols(writeMap(dir));
    QCOMPARE(symbols.names(), (QStringList{QStringLiteral("123"), QStringLiteral("folder"),
                                           QStringLiteral("help_outline"), QStringLiteral("push_pin")}));
}

void SFSymbolsTest::glyphs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resolved");
    QTest::addColumn<uint>("codepoint");
    QTest::newRow("catalogue name") << "folder" << "folder" << 0xe2c7u;
    QTest::newRow("stored alias") << "pin.fill" << "push_pin" << 0xf10du;
    QTest::newRow("alias to a missing name") << "gear" << "" << uint(SFSymbols::kPlaceholderCodepoint);
    QTest::newRow("unknown") << "no.such.symbol" << "" << uint(SFSymbols::kPlaceholderCodepoint);
    QTest::newRow("empty") << "" << "" << uint(SFSymbols::kPlaceholderCodepoint);
}

void SFSymbolsTest::glyphs()
{
    QFETCH(QString, name);
    QFETCH(QString, resolved);
    QFETCH(uint, codepoint);
    QTemporaryDir dir;
    const SFSymbols symbols(writeMap(dir));
    QCOMPARE(symbols.resolve(name), resolved);
    const auto ucs4 = symbols.glyph(name).toUcs4();
    QCOMPARE(ucs4.size(), 1);
    QCOMPARE(uint(ucs4.first()), codepoint);
}

void SFSymbolsTest::unreadableMapIsEmpty()
{
    const SFSymbols symbols(QStringLiteral("/nonexistent/_variables.scss"));
    QVERIFY(symbols.isEmpty());
    QVERIFY(!symbols.glyph(QStringLiteral("folder")).isEmpty()); // the placeholder
}

void SFSymbolsTest::everyAliasDrawsFromTheInstalledCatalogue()
{
    if (!QFile::exists(QString::fromLatin1(SFSymbols::kDefaultMapFile)))
        QSKIP("fonts-material-design-icons-iconfont is not installed");
    const SFSymbols &symbols = SFSymbols::shared();
    QVERIFY(symbols.names().size() > 1000);
    QVERIFY(std::is_sorted(symbols.names().begin(), symbols.names().end()));
    const auto &aliases = SFSymbols::aliases();
    for (auto it = aliases.begin(); it != aliases.end(); ++it)
        QVERIFY2(!symbols.resolve(it.key()).isEmpty(), qPrintable(it.key() + QStringLiteral(" -> ") + it.value()));
}

QTEST_GUILESS_MAIN(SFSymbolsTest)
#include "SFSymbolsTest.moc"
