// Maps the host's language code to the catalog's language number.
#pragma once

#include "UtCString.h"

// "de" 0, "en" 1, "fr" 2, "it" 3, "es" 4, "cz" 6; any other code 1 (English).
int LanguageNumber(const UtCString& hostLanguage);
