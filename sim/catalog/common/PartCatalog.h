// Looking parts up in the catalog: by family key and variable values (automation,
// "take KEY D=8 L=40") or by a mident (the plug-in's -mident).
#pragma once

#include "common/Mident.h"
#include "common/Part.h"

#include <string>
#include <vector>

namespace catalog {

struct PartLookup {
    const Part* part = nullptr;  // set on success
    std::string error;           // "unknown part ..." / "unknown value ..." otherwise
    bool ok() const { return part != nullptr; }
};

class PartCatalog {
public:
    PartCatalog();

    const std::vector<PartFamily>& families() const { return families_; }
    const PartFamily* findFamily(const std::string& key) const;

    // Variables in any order; every variable of the family must be given exactly once.
    // Numeric values compare as numbers, so D=8.0 finds D=8.
    PartLookup findPart(const std::string& familyKey, const Variables& values) const;

    // The family is found by the mident's tail (our key) or else by its project.
    PartLookup findPart(const Mident& mident) const;

private:
    std::vector<PartFamily> families_;
};

// The mident the catalog writes for a part.
Mident midentOf(const Part& part);

}  // namespace catalog
