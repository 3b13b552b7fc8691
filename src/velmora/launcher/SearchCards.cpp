#include "velmora/launcher/SearchCards.h"

#include "velmora/launcher/Calculator.h"
#include "velmora/launcher/Dictionary.h"

namespace velmora {

QString searchCardInput(const QString &searchText)
{
    return searchText.trimmed();
}

std::optional<CalculatorCard> makeCalculatorCard(const Calculator &calculator,
                                                 const QString &searchText)
{
    const QString input = searchCardInput(searchText);
    const std::optional<Decimal> value = calculator.evaluate(input);
    if (!value)
        return std::nullopt;
    QString result = decimalText(*value);
    if (result == input)
        return std::nullopt;
    return CalculatorCard{input, std::move(result)};
}

std::optional<DictionaryCard> makeDictionaryCard(const QString &searchText,
                                                 const DefinitionLookup &lookup)
{
    const QString input = searchCardInput(searchText);
    if (input.isEmpty())
        return std::nullopt;
    std::optional<QString> definition = lookup ? lookup(input) : Dictionary::definition(input);
    if (!definition || definition->isEmpty())
        return std::nullopt;
    return DictionaryCard{input, std::move(*definition)};
}

} // namespace velmora
