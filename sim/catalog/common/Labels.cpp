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
                                   "Record held back: ", "Geometry held open: ",
                                   "Writing the record: ", "Take failed: ", "No part shown"};
    // The source is UTF-8, and so are these literals (GCC's execution character set).
    static const Labels german = {"Teilefamilien", "Größen", "Übernehmen", "Bereit",
                                  "Geöffnet: ", "Nicht im Katalog: ", "Geschrieben: ",
                                  "Datensatz zurückgehalten: ", "Geometrie offen gehalten: ",
                                  "Datensatz wird geschrieben: ", "Übernahme fehlgeschlagen: ",
                                  "Kein Teil angezeigt"};
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
