// Export record text; see ExportRecord.h.
#include "common/ExportRecord.h"

#include "common/Mident.h"
#include "common/NumberText.h"
#include "common/PartCatalog.h"

namespace catalog {

std::string massText(const Part& part) { return formatSignificant(steelMassKg(part.bodies), 3); }

std::string exportRecordText(const Part& part) {
    std::string text = "[Attributes]\n";
    text += "NAME=" + part.name + "\n";
    text += "DESIGNATION=" + part.designation + "\n";
    text += "STANDARD=" + part.standard + "\n";
    text += "SIZE=" + part.size + "\n";
    text += "MATERIAL=" + part.material + "\n";
    text += "MASS=" + massText(part) + "\n";
    text += "MASS_UNIT=kg\n";
    text += "[MIDENT]\n";
    text += "MIDENT=" + formatMident(midentOf(part)) + "\n";
    return text;
}

}  // namespace catalog
