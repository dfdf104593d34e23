// Maps the host's language code to the catalog's language number.
#include "LanguageNumber.h"

int LanguageNumber(const UtCString& hostLanguage)
{
    static const struct {
        const char* code;
        int number;
    } languages[] = {{"de", 0}, {"en", 1}, {"fr", 2}, {"it", 3}, {"es", 4}, {"cz", 6}};
    for (const auto& language : languages)
        if (hostLanguage == UtCString(language.code))
            return language.number;
    return 1;
}
