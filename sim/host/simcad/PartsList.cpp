// Groups the drawing's library parts into the positions of a parts list.
#include "PartsList.h"

#include <algorithm>
#include <map>

namespace simcad {

namespace {

const std::string VALUE_PREFIX = "TVLV_";
const std::string DIMENSION_PREFIX = "TVLM_";
const std::string DESIGNATION_VALUE = "DESIGNATION";

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool HasCatalogIdentity(const DrawingPart& part)
{
    return !part.Attribute("TVL_ID0").empty() && !part.Attribute("TVL_ID1").empty();
}

// Two parts with equal keys are the same catalog part. The dimension values are
// sorted, so that their order in the attributes does not matter.
using IdentityKey = std::vector<std::pair<std::string, std::string>>;

IdentityKey IdentityOf(const DrawingPart& part)
{
    IdentityKey dimensions;
    for (const auto& attribute : part.attributes)
        if (StartsWith(attribute.first, DIMENSION_PREFIX))
            dimensions.push_back(attribute);
    std::sort(dimensions.begin(), dimensions.end());
    dimensions.erase(std::unique(dimensions.begin(), dimensions.end()), dimensions.end());
    IdentityKey key{{"TVL_ID0", part.Attribute("TVL_ID0")}, {"TVL_ID1", part.Attribute("TVL_ID1")}};
    key.insert(key.end(), dimensions.begin(), dimensions.end());
    return key;
}

std::vector<std::pair<std::string, std::string>> CatalogValuesOf(const DrawingPart& part)
{
    std::vector<std::pair<std::string, std::string>> values;
    for (const auto& attribute : part.attributes) {
        if (!StartsWith(attribute.first, VALUE_PREFIX))
            continue;
        std::string name = attribute.first.substr(VALUE_PREFIX.size());
        bool seen = std::any_of(values.begin(), values.end(),
                                [&](const auto& value) { return value.first == name; });
        if (name != DESIGNATION_VALUE && !name.empty() && !seen)
            values.emplace_back(name, attribute.second);
    }
    return values;
}

Position NewPosition(const PartsList& list, const DrawingPart& part)
{
    Position position;
    position.number = static_cast<int>(list.positions.size()) + 1;
    position.partIds.push_back(part.id);
    position.designation = ShownDesignation(part);
    position.values = CatalogValuesOf(part);
    return position;
}

void AddValueNames(PartsList& list, const Position& position)
{
    for (const auto& value : position.values)
        if (std::find(list.valueNames.begin(), list.valueNames.end(), value.first) == list.valueNames.end())
            list.valueNames.push_back(value.first);
}

std::string ValueOf(const Position& position, const std::string& name)
{
    for (const auto& value : position.values)
        if (value.first == name)
            return value.second;
    return "";
}

}  // namespace

std::size_t PartsList::PartCount() const noexcept
{
    std::size_t count = 0;
    for (const Position& position : positions)
        count += position.partIds.size();
    return count;
}

int PartsList::PositionOf(long partId) const noexcept
{
    for (const Position& position : positions)
        for (long id : position.partIds)
            if (id == partId)
                return position.number;
    return 0;
}

PartsList MakePartsList(const std::vector<DrawingPart>& parts)
{
    PartsList list;
    std::map<IdentityKey, std::size_t> positionOfIdentity;
    for (const DrawingPart& part : parts) {
        if (HasCatalogIdentity(part)) {
            auto known = positionOfIdentity.find(IdentityOf(part));
            if (known != positionOfIdentity.end()) {
                list.positions[known->second].partIds.push_back(part.id);
                continue;
            }
            positionOfIdentity[IdentityOf(part)] = list.positions.size();
        }
        list.positions.push_back(NewPosition(list, part));
        AddValueNames(list, list.positions.back());
    }
    return list;
}

Table PartsListTable(const PartsList& list)
{
    Table table;
    table.header = {"POS", "QTY", "DESIGNATION"};
    table.rightAligned = {true, true, false};
    for (const std::string& name : list.valueNames) {
        table.header.push_back(name);
        table.rightAligned.push_back(false);
    }
    for (const Position& position : list.positions) {
        std::vector<std::string> row{std::to_string(position.number),
                                     std::to_string(position.partIds.size()), position.designation};
        for (const std::string& name : list.valueNames)
            row.push_back(ValueOf(position, name));
        table.rows.push_back(row);
    }
    return table;
}

}  // namespace simcad
