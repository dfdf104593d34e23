// Number formatting; see NumberText.h.
#include "common/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace catalog {

namespace {

std::string fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    if (text == "-0") {
        text = "0";
    }
    return text;
}

}  // namespace

std::string formatNumber(double value) { return fixed(value, 4); }

std::string formatSignificant(double value, int digits) {
    if (value == 0.0) {
        return "0";
    }
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = digits - 1 - magnitude;
    return fixed(value, decimals > 0 ? decimals : 0);
}

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace catalog
