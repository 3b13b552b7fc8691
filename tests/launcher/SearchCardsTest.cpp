#include "velmora/launcher/SearchCards.h"

#include "velmora/launcher/CalcCommand.h"
#include "velmora/launcher/Calculator.h"

#include <QTest>
#include <QTextStream>

using velmora::CalculatorCard;
using velmora::DictionaryCard;

class SearchCardsTest : public QObject {
    Q_OBJECT

private slots:
    void calculatorCard_data();
    void calculatorCard();
    void dictionaryCard_data();
    void dictionaryCard();
    void calcCommand_data();
    void calcCommand();
};

void SearchCardsTest::calculatorCard_data()
{
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("result");

    QTest::newRow("sum") << "2+3" << true << "2+3" << "5";
    QTest::newRow("plain number has no card") << "5" << false << "" << "";
    QTest::newRow("number written longer") << "5.0" << true << "5.0" << "5";
    QTest::newRow("leading dot") << ".5" << true << ".5" << "0.5";
    QTest::newRow("name is no expression") << "Safari" << false << "" << "";
    QTest::newRow("trimmed before evaluation") << "  2 * 3\n" << true << "2 * 3" << "6";
    QTest::newRow("spaced number reads as itself") << " 7 " << false << "" << "";
    QTest::newRow("inner spaces stay in the input") << "1 2" << true << "1 2" << "12";
    QTest::newRow("NaN") << "1/0" << true << "1/0" << "NaN";
    QTest::newRow("negative") << "-5+2" << true << "-5+2" << "-3";
    QTest::newRow("empty") << "" << false << "" << "";
}

void SearchCardsTest::calculatorCard()
{
    QFETCH(QString, searchText);
    QFETCH(bool, shown);
    QFETCH(QString, input);
    QFETCH(QString, result);
    const std::optional<CalculatorCard> card =
        velmora::makeCalculatorCard(velmora::Calculator(), searchText);
    QCOMPARE(card.has_value(), shown);
    if (card)
        QCOMPARE(*card, (CalculatorCard{input, result}));
}

void SearchCardsTest::dictionaryCard_data()
{
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("lookedUp"); // what reached the lookup; empty: not called

    QTest::newRow("known word") << "launch" << true << "launch";
    QTest::newRow("trimmed") << " launch \n" << true << "launch";
    QTest::newRow("unknown word") << "xyzzy" << false << "xyzzy";
    QTest::newRow("empty definition is none") << "blank" << false << "blank";
    QTest::newRow("only white space") << " \n\t" << false << "";
}

void SearchCardsTest::dictionaryCard()
{
    QFETCH(QString, searchText);
    QFETCH(bool, shown);
    QFETCH(QString, lookedUp);
    QString seen;
    const auto lookup = [&seen](const QString &term) -> std::optional<QString> {
        seen = term;
        if (term == u"launch")
            return QStringLiteral("noun\n1. launch -- (a motorboat)");
        if (term == u"blank")
            return QString();
        return std::nullopt;
    };
    const std::optional<DictionaryCard> card = velmora::makeDictionaryCard(searchText, lookup);
    QCOMPARE(seen, lookedUp);
    QCOMPARE(card.has_value(), shown);
    if (card)
        QCOMPARE(*card, (DictionaryCard{lookedUp, QStringLiteral("noun\n1. launch -- (a motorboat)")}));
}

void SearchCardsTest::calcCommand_data()
{
    QTest::addColumn<QString>("expr");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");

    QTest::newRow("expression") << "2 + 3 * 4" << 0 << "14\n";
    QTest::newRow("plain number still answers") << "5" << 0 << "5\n";
    QTest::newRow("NaN") << "1/0" << 0 << "NaN\n";
    QTest::newRow("not an expression") << "Safari" << 1 << "";
    QTest::newRow("empty") << "" << 1 << "";
}

void SearchCardsTest::calcCommand()
{
    QFETCH(QString, expr);
    QFETCH(int, status);
    QFETCH(QString, output);
    QString printed;
    QTextStream out(&printed);
    QCOMPARE(velmora::runCalcCommand(expr, out), status);
    out.flush();
    QCOMPARE(printed, output);
}

QTEST_GUILESS_MAIN(SearchCardsTest)
#include "SearchCardsTest.moc"
