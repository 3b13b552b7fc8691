#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace velmora {

class Calculator;

// What the calculator card shows: "input = result" under the title "Calculator".
struct CalculatorCard {
    QString input;  // the trimmed search text, as typed
    QString result; // the value's standard textual form

    bool operator==(const CalculatorCard &) const = default;
};

// What the dictionary card shows under the title "Dictionary".
struct DictionaryCard {
    QString input;
    QString definition; // shown unchanged

    bool operator==(const DictionaryCard &) const = default;
};

// A definition source; the default is the WordNet dictionary.
using DefinitionLookup = std::function<std::optional<QString>(const QString &term)>;

// The search text as both cards read it: leading and trailing white space and newlines removed.
[[nodiscard]] QString searchCardInput(const QString &searchText);

// Nothing when the text is no expression, or when the result reads exactly as the input
// (a search for a plain number shows no card).
[[nodiscard]] std::optional<CalculatorCard> makeCalculatorCard(const Calculator &calculator,
                                                               const QString &searchText);

// Nothing when the dictionary has no definition of the text.
[[nodiscard]] std::optional<DictionaryCard>
makeDictionaryCard(const QString &searchText, const DefinitionLookup &lookup = {});

} // namespace velmora
