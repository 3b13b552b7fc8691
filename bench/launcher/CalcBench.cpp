// One calculator evaluation per search keystroke: a realistic 200-character expression, and
// the worst cases someone can type or paste. Run with the release preset:
//   build/release/bench/launcher/bench_calc --benchmark_repetitions=9
//       --benchmark_report_aggregates_only=true
#include "velmora/launcher/Calculator.h"
#include "velmora/launcher/Dictionary.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>

using velmora::Calculator;

namespace {

QString expressionOf200Characters()
{
    const QString piece = QStringLiteral("(12.5+3*4)^2/7-\u221A81+15%*(3-1.25)+");
    QString text;
    while (text.size() + piece.size() < 198)
        text += piece;
    text += QStringLiteral("1");
    while (text.size() < 200)
        text.prepend(u' ');
    return text;
}

void run(benchmark::State &state, const QString &text, bool accepted)
{
    const Calculator calculator;
    if (calculator.evaluate(text).has_value() != accepted) {
        std::cerr << "unexpected result for the benchmark input\n";
        std::abort();
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(calculator.evaluate(text));
    state.counters["chars"] = double(text.size());
}

void BM_Calc200Characters(benchmark::State &state)
{
    run(state, expressionOf200Characters(), true);
}

void BM_CalcHugeExponent(benchmark::State &state)
{
    run(state, QStringLiteral("9^99999999"), true);
}

void BM_Calc100000NestedBrackets(benchmark::State &state)
{
    run(state, QString(100000, u'(') + QStringLiteral("1+2") + QString(100000, u')'), true);
}

void BM_Calc100000NegatedGroups(benchmark::State &state)
{
    run(state, QStringLiteral("-(").repeated(100000) + QStringLiteral("1+1") + QString(100000, u')'),
        true);
}

void BM_Calc50000Sums(benchmark::State &state)
{
    run(state, QStringLiteral("1+").repeated(50000) + QStringLiteral("1"), true);
}

void BM_Calc100000UnclosedBrackets(benchmark::State &state)
{
    run(state, QString(100000, u'(') + QStringLiteral("1+2"), false);
}

void BM_CalcNotAnExpression(benchmark::State &state)
{
    run(state, QStringLiteral("Safari"), false);
}

void BM_DictionaryLookup(benchmark::State &state)
{
    if (!velmora::Dictionary::isAvailable()) {
        state.SkipWithError("WordNet database not installed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::Dictionary::definition(QStringLiteral("launch")));
}

} // namespace

BENCHMARK(BM_Calc200Characters)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcHugeExponent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Calc100000NestedBrackets)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calc100000NegatedGroups)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calc50000Sums)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calc100000UnclosedBrackets)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcNotAnExpression)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DictionaryLookup)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
