// UTF-8 <-> UTF-16 for the window texts (labels carry umlauts).
#pragma once

#include <string>

namespace catalog {

std::wstring wideFromUtf8(const std::string& text);

}  // namespace catalog
