// The picture of a drawing seen from above, as an SVG document: each library
// part's outline at its world placement, labelled with its designation and its
// position in the parts list, on a light millimetre grid with a title and a
// legend. The view fits all parts with a margin; Y points up as in the drawing.
#pragma once

#include "DrawingParts.h"
#include "PartsList.h"

#include <string>
#include <vector>

namespace simcad {

// The whole SVG document; a drawing without parts gives a picture that says so.
std::string DrawingSvg(const std::vector<DrawingPart>& parts, const PartsList& list);

}  // namespace simcad
