// Number <-> text conversions used in part variables, geometry files and records.
// Always '.' as decimal mark and no trailing zeros, so "8", "2.5", "0.0219".
#pragma once

#include <optional>
#include <string>

namespace catalog {

// Shortest plain text with at most four decimals: 8 -> "8", 5.3 -> "5.3".
std::string formatNumber(double value);

// Rounded to `digits` significant digits, never in exponent form: 0.021872 -> "0.0219".
std::string formatSignificant(double value, int digits);

// The whole text must be a number ("8", "2.5", "-1e3"); otherwise nothing.
std::optional<double> parseNumber(const std::string& text);

}  // namespace catalog
