// Part look-up; see PartCatalog.h.
#include "common/PartCatalog.h"

#include "common/NumberText.h"
#include "common/PartFamilies.h"

namespace catalog {

namespace {

bool sameValue(const std::string& wanted, const std::string& actual) {
    if (wanted == actual) return true;
    const auto wantedNumber = parseNumber(wanted);
    const auto actualNumber = parseNumber(actual);
    return wantedNumber && actualNumber && *wantedNumber == *actualNumber;
}

bool matches(const Part& part, const Variables& values) {
    for (const auto& [name, value] : values) {
        const std::string* actual = findVariable(part.variables, name);
        if (actual == nullptr || !sameValue(value, *actual)) return false;
    }
    return true;
}

// Checks names before values so the error says what is really wrong.
std::string checkVariableNames(const PartFamily& family, const Variables& values) {
    for (const auto& [name, value] : values) {
        bool known = false;
        for (const auto& familyName : family.variableNames) known = known || familyName == name;
        if (!known) return "unknown variable " + name + " for " + family.key;
    }
    for (const auto& familyName : family.variableNames) {
        int count = 0;
        for (const auto& value : values) count += value.first == familyName ? 1 : 0;
        if (count == 0) return "missing variable " + familyName + " for " + family.key;
        if (count > 1) return "variable " + familyName + " given twice";
    }
    return {};
}

std::string describeValues(const Variables& values) {
    std::string text;
    for (const auto& [name, value] : values) {
        text += (text.empty() ? "" : " ") + name + "=" + value;
    }
    return text;
}

}  // namespace

PartCatalog::PartCatalog() : families_(buildPartFamilies()) {}

const PartFamily* PartCatalog::findFamily(const std::string& key) const {
    for (const auto& family : families_) {
        if (family.key == key) return &family;
    }
    return nullptr;
}

PartLookup PartCatalog::findPart(const std::string& familyKey, const Variables& values) const {
    PartLookup lookup;
    const PartFamily* family = findFamily(familyKey);
    if (family == nullptr) {
        lookup.error = "unknown part " + familyKey;
        return lookup;
    }
    lookup.error = checkVariableNames(*family, values);
    if (!lookup.error.empty()) return lookup;
    for (const auto& part : family->parts) {
        if (matches(part, values)) {
            lookup.part = &part;
            return lookup;
        }
    }
    lookup.error = "unknown value " + describeValues(values) + " for " + familyKey;
    return lookup;
}

PartLookup PartCatalog::findPart(const Mident& mident) const {
    if (findFamily(mident.tail) != nullptr) {
        return findPart(mident.tail, mident.variables);
    }
    for (const auto& family : families_) {
        if (family.project == mident.project) return findPart(family.key, mident.variables);
    }
    PartLookup lookup;
    lookup.error = "unknown part " + mident.tail + " ({$" + mident.project + "})";
    return lookup;
}

Mident midentOf(const Part& part) { return Mident{part.project, part.familyKey, part.variables}; }

}  // namespace catalog
