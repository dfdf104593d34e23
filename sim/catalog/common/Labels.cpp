// Translated texts; see Labels.h.
#include "common/Labels.h"

#include <map>

namespace catalog {

namespace {

bool isGerman(const std::string& language) { return language == "german"; }

}  // namespace

const Labels& labelsFor(const std::string& language) {
    static const Labels english = {"Part families", "Sizes", "Take", "Ready",
                                   "Opened: ", "Not in the catalog: ", "Written: ",
                                   "Record held back: ", "Take failed: ", "No part shown"};
    static const Labels german = {"Teilefamilien", "Gr\xC3\xB6\xC3\x9F" "en", "\xC3\x9C" "bernehmen",
                                  "Bereit", "Ge\xC3\xB6" "ffnet: ", "Nicht im Katalog: ",
                                  "Geschrieben: ", "Datensatz zur\xC3\xBC" "ckgehalten: ",
                                  "\xC3\x9C" "bernahme fehlgeschlagen: ", "Kein Teil angezeigt"};
    return isGerman(language) ? german : english;
}

std::string familyTitle(const std::string& familyKey, const std::string& language) {
    static const std::map<std::string, std::pair<std::string, std::string>> titles = {
        {"ISO4017", {"ISO 4017 Hexagon head screw", "ISO 4017 Sechskantschraube"}},
        {"ISO4032", {"ISO 4032 Hexagon nut", "ISO 4032 Sechskantmutter"}},
        {"ISO7089", {"ISO 7089 Plain washer", "ISO 7089 Scheibe"}},
        {"ISO2338", {"ISO 2338 Parallel pin", "ISO 2338 Zylinderstift"}},
        {"DIN625", {"DIN 625 Deep groove ball bearing", "DIN 625 Rillenkugellager"}},
    };
    const auto found = titles.find(familyKey);
    if (found == titles.end()) return familyKey;
    return isGerman(language) ? found->second.second : found->second.first;
}

}  // namespace catalog
