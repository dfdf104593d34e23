// The parts list of a drawing: its library parts grouped into positions by their
// catalog identity. Parts with the same catalog project and part (TVL_ID0, TVL_ID1)
// and the same set of dimension values (TVLM_*) are one position; a part without
// a catalog identity is a position of its own. Positions are numbered from 1 in
// the order their first part was made.
#pragma once

#include "DrawingParts.h"
#include "TextTable.h"

#include <string>
#include <utility>
#include <vector>

namespace simcad {

struct Position {
    int number = 0;
    std::vector<long> partIds;
    std::string designation;
    // The catalog's values (TVLV_* without the prefix, the designation left out),
    // taken from the position's first part.
    std::vector<std::pair<std::string, std::string>> values;
};

struct PartsList {
    std::vector<Position> positions;
    // The names of the catalog's values over all positions, in first-seen order.
    std::vector<std::string> valueNames;

    std::size_t PartCount() const noexcept;
    // The number of the position that holds the part; 0 when none does.
    int PositionOf(long partId) const noexcept;
};

PartsList MakePartsList(const std::vector<DrawingPart>& parts);

// The list as a table: POS, QTY, DESIGNATION and a column per value name; empty
// where a position lacks the value.
Table PartsListTable(const PartsList& list);

}  // namespace simcad
