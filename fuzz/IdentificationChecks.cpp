// See IdentificationChecks.h.
#include "IdentificationChecks.h"

#include "ExpectedIdentification.h"

#include <algorithm>

namespace {

// The host keeps names and values of at most this many characters; the tagging
// cuts them there.
constexpr std::size_t LONGEST_ATTRIBUTE_TEXT = 255;

// How ChgAttr treats a name it already has: the value changes in place.
void ChangeAttribute(sim::PartAttributes& attributes, const std::string& name, const std::string& value)
{
    std::string keptName = name.substr(0, LONGEST_ATTRIBUTE_TEXT);
    std::string keptValue = value.substr(0, LONGEST_ATTRIBUTE_TEXT);
    for (auto& attribute : attributes)
        if (attribute.first == keptName) {
            attribute.second = keptValue;
            return;
        }
    attributes.emplace_back(keptName, keptValue);
}

// Variable numbers at the edges of what converts, and texts that almost do
// ("\2401" is a no-break space before a 1).
const char* const NUMBER_TEXTS[] = {
    "0", "1", "-1", "+1", "00", "007", "2147483647", "2147483648", "-2147483648", "-2147483649",
    "4294967296", "99999999999999999999", " 5", "\t-3", "\n7", "\v8", "\f9", "\r10", "+", "-", "",
    " ", "1x", "0x10", "1e3", "--1", "+-1", "\2401", "\xb2", "12 3",
};

const char* const OTHER_NAMES[] = {"TVL_ID0", "TVL_ID1", "TVL_ID2", "tvl_id0", "TVLM_", "TVLM__", "TVLM_1",
                                   "TVLV_NAME", "obkind", "bibname", "TVL_ID", "TVL_ID00", "TVLM_0_"};

}  // namespace

sim::PartAttributes IdentificationChecker::TaggedAttributes(const ParsedRecord& record)
{
    sim::PartAttributes attributes;
    ChangeAttribute(attributes, "obkind", "tarnvel");
    ChangeAttribute(attributes, "bibname", "");
    ChangeAttribute(attributes, "bibpath", "");
    for (std::size_t i = 0; i < record.pieces.size(); ++i)
        if (!record.pieces[i].empty())
            ChangeAttribute(attributes, "TVL_ID" + std::to_string(i), record.pieces[i].string());
    for (std::size_t j = 0; j < record.variables.size(); ++j)
        ChangeAttribute(attributes, "TVLM_" + std::to_string(j) + "_" + record.variables[j].first.string(),
                        record.variables[j].second.string());
    for (const auto& [name, value] : record.attributes)
        ChangeAttribute(attributes, "TVLV_" + name.string(), value.string());
    return attributes;
}

std::string IdentificationChecker::Identify(const sim::PartAttributes& attributes, bool& found,
                                            std::string& text)
{
    sim::ResetHost();
    std::string error;
    _ObObject* part = sim::AddPart(1, attributes, error);
    if (!part)
        return "the host stand-in refused the part: " + error;
    UtCString ident("untouched");
    found = plugin_.GetPartIdentification(part, ident);
    text = ident.string();
    sim::Json report = sim::Report();
    std::size_t openContexts = static_cast<std::size_t>(report.at("openContexts").number());
    std::size_t asserts = report.at("asserts").size();
    sim::ResetHost();
    if (!found && text != "untouched")
        return "no identification found, but the text was changed to '" + text + "'";
    if (openContexts != 0)
        return "a context unit was left open";
    if (asserts != 0)
        return "the host reported a misuse";
    if (found) {
        const std::string* project = nullptr;
        for (const auto& attribute : attributes)
            if (!project && attribute.first == "TVL_ID0")
                project = &attribute.second;
        if (text.compare(0, 2, "{$") != 0)
            return "the identification does not start with {$: '" + text.substr(0, 80) + "'";
        if (!project || text.find(*project) == std::string::npos)
            return "the identification does not contain TVL_ID0's value";
    }
    return {};
}

std::string IdentificationChecker::CompareWithExpected(const sim::PartAttributes& attributes, bool& found,
                                                       std::string& text)
{
    std::string failure = Identify(attributes, found, text);
    if (!failure.empty())
        return failure;
    std::string expected;
    bool expectedFound = ExpectedIdentification(attributes, expected);
    if (found != expectedFound)
        return found ? "an identification without both identifier attributes"
                     : "no identification although both identifier attributes are there";
    if (found && text != expected)
        return "identification '" + text.substr(0, 200) + "' where '" + expected.substr(0, 200) +
               "' was expected";
    return {};
}

std::string IdentificationChecker::CheckTagged(const ParsedRecord& record)
{
    sim::PartAttributes attributes = TaggedAttributes(record);
    bool found = false;
    std::string text;
    std::string failure = CompareWithExpected(attributes, found, text);
    if (!failure.empty())
        return "tagged part: " + failure;

    // The round trip: what the tagging wrote is what the catalog gets back.
    bool tagged = record.pieces.size() >= 2 && !record.pieces[0].empty() && !record.pieces[1].empty();
    if (found != tagged)
        return tagged ? "tagged part: identifier pieces written but no identification read back"
                      : "tagged part: an identification without both identifier pieces";
    if (!found)
        return {};
    std::string expected = "{$" + record.pieces[0].string().substr(0, LONGEST_ATTRIBUTE_TEXT) + "}," +
                           record.pieces[1].string().substr(0, LONGEST_ATTRIBUTE_TEXT) + " ";
    const char* separator = " ";
    for (std::size_t j = 0; j < record.variables.size(); ++j) {
        std::string prefix = "TVLM_" + std::to_string(j) + "_";
        std::string name = (prefix + record.variables[j].first.string()).substr(0, LONGEST_ATTRIBUTE_TEXT);
        expected += separator;
        expected += "{" + name.substr(prefix.size()) + "=" +
                    record.variables[j].second.string().substr(0, LONGEST_ATTRIBUTE_TEXT) + "}";
        separator = ",";
    }
    if (text != expected)
        return "tagged part: read back '" + text.substr(0, 200) + "' where '" + expected.substr(0, 200) +
               "' was written";
    return {};
}

std::string IdentificationChecker::RandomText(std::size_t longest)
{
    std::string text(random_.Below(longest + 1), ' ');
    for (char& c : text) {
        c = random_.OneIn(2) ? static_cast<char>('A' + random_.Below(26)) : random_.Byte();
        if (c == '\0')
            c = '_';  // the host's attribute texts are C strings
    }
    return text;
}

std::string IdentificationChecker::RandomVariableName()
{
    std::string number;
    switch (random_.Below(4)) {
    case 0: number = random_.Pick(NUMBER_TEXTS); break;
    case 1: number = std::to_string(static_cast<int>(random_.Next())); break;
    case 2: number = std::string(1 + random_.Below(25), '0' + random_.Below(10)); break;
    default: number = RandomText(12); break;
    }
    std::string name = "TVLM_" + number;
    if (!random_.OneIn(8))
        name += "_" + RandomText(10);
    return name;
}

void IdentificationChecker::Damage(sim::PartAttributes& attributes)
{
    std::size_t count = 1 + random_.Below(6);
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t at = random_.Below(attributes.size() + 1);
        std::size_t existing = attributes.empty() ? 0 : random_.Below(attributes.size());
        switch (random_.Below(7)) {
        case 0:
        case 1:
            attributes.insert(attributes.begin() + at, {RandomVariableName(), RandomText(20)});
            break;
        case 2:
            attributes.insert(attributes.begin() + at, {random_.Pick(OTHER_NAMES), RandomText(20)});
            break;
        case 3:
            if (!attributes.empty())
                attributes.erase(attributes.begin() + existing);
            break;
        case 4:
            if (!attributes.empty())
                attributes.insert(attributes.begin() + at, attributes[existing]);
            break;
        case 5:
            if (!attributes.empty())
                attributes[existing].second = RandomText(random_.OneIn(8) ? 300 : 20);
            break;
        default:
            if (attributes.size() >= 2)
                std::swap(attributes[existing], attributes[random_.Below(attributes.size())]);
            break;
        }
    }
}

std::string IdentificationChecker::CheckDamaged(const ParsedRecord& record)
{
    sim::PartAttributes attributes = TaggedAttributes(record);
    Damage(attributes);
    bool found = false;
    std::string text;
    std::string failure = CompareWithExpected(attributes, found, text);
    return failure.empty() ? std::string() : "damaged attribute list: " + failure;
}
