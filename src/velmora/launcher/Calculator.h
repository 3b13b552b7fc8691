#pragma once

#include "velmora/launcher/Decimal.h"

#include <QString>

#include <array>
#include <optional>

namespace velmora {

// The operators, in their enumeration order; each stands for one character.
enum class Operator : char16_t {
    add = u'+',
    subtract = u'-',
    multiply = u'*',
    divide = u'/',
    power = u'^', // left operand raised to the integer part of the right one
    squareRoot = u'\u221A',
    percent = u'%', // input only; rewritten into a division before evaluation
};

inline constexpr std::array<Operator, 7> kAllOperators = {
    Operator::add,   Operator::subtract,   Operator::multiply, Operator::divide,
    Operator::power, Operator::squareRoot, Operator::percent,
};

[[nodiscard]] QString rawValue(Operator op);
[[nodiscard]] std::optional<Operator> operatorFromRawValue(QChar c);

// Evaluates the arithmetic in a search text with decimal numbers. Keeps no state, so one
// instance may be shared; every call is bounded in time and stack whatever the text is.
class Calculator {
public:
    // The value of `text`, or nothing when it is not an expression this calculator accepts.
    // Undefined results (division by zero, square root of a negative number, overflow) are NaN.
    [[nodiscard]] std::optional<Decimal> evaluate(const QString &text) const;
};

} // namespace velmora
