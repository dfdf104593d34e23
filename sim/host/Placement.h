// Placements of drawing objects: 4 x 4 matrices that act on row vectors
// [x y z 1] from the right (p' = p * M), so the translation is in the last row
// and "first, then second" is first * second.
#pragma once

#include "CiDrawing.h"
#include "Json.h"

namespace sim {

GeMat44 Concat(const GeMat44& first, const GeMat44& second);
GeMat44 Translation(double x, double y, double z);
// Turns by angleDegrees about Z, then moves by (x, y, z).
GeMat44 TurnThenMove(double angleDegrees, double x, double y, double z);
GeMat44 FromRows(const double rows[4][4]);
// The sixteen numbers row by row.
Json MatrixJson(const GeMat44& matrix);

}  // namespace sim
