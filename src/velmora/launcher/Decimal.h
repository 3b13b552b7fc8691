#pragma once

#include <QString>

#include <boost/multiprecision/cpp_dec_float.hpp>

#include <optional>

namespace velmora {

// The calculator's number: 38 significant decimal digits with a decimal exponent and a NaN.
using Decimal = boost::multiprecision::number<boost::multiprecision::cpp_dec_float<38>,
                                              boost::multiprecision::et_off>;

// Parses a plain decimal text ("12", ".5", "5.", "-3.25", "1e+40"); the separator is always ".".
[[nodiscard]] std::optional<Decimal> decimalFromText(QStringView text);

// The standard textual form: 5, 0.5, -3, 1e+40; whole numbers without a fractional part; "NaN".
[[nodiscard]] QString decimalText(const Decimal &value);

// The type's not-a-number value.
[[nodiscard]] Decimal decimalNaN();

} // namespace velmora
