// Placements of drawing objects and the host's matrix calls.
#include "Placement.h"

#include <cmath>

GeMat44::GeMat44() : m{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}} {}

void Mt44Concat(const GeMat44& first, const GeMat44& second, GeMat44& result)
{
    // The product is built apart first, so that result may be one of the inputs.
    GeMat44 product;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += first.m[row][k] * second.m[k][column];
            product.m[row][column] = sum;
        }
    result = product;
}

namespace sim {

GeMat44 Concat(const GeMat44& first, const GeMat44& second)
{
    GeMat44 result;
    Mt44Concat(first, second, result);
    return result;
}

GeMat44 Translation(double x, double y, double z)
{
    GeMat44 matrix;
    matrix.m[3][0] = x;
    matrix.m[3][1] = y;
    matrix.m[3][2] = z;
    return matrix;
}

GeMat44 TurnThenMove(double angleDegrees, double x, double y, double z)
{
    const double radians = angleDegrees * std::acos(-1.0) / 180.0;
    GeMat44 turn;
    turn.m[0][0] = std::cos(radians);
    turn.m[0][1] = std::sin(radians);
    turn.m[1][0] = -std::sin(radians);
    turn.m[1][1] = std::cos(radians);
    return Concat(turn, Translation(x, y, z));
}

GeMat44 FromRows(const double rows[4][4])
{
    GeMat44 matrix;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            matrix.m[row][column] = rows[row][column];
    return matrix;
}

Json MatrixJson(const GeMat44& matrix)
{
    // Rounded to 1e-9, so that a quarter turn shows 0 rather than 6.1e-17 and a
    // script can compare the numbers it expects.
    Json numbers = Json::array();
    for (const auto& row : matrix.m)
        for (double value : row) {
            double rounded = std::round(value * 1e9) / 1e9;
            numbers.push(rounded == 0 ? 0.0 : rounded);
        }
    return numbers;
}

}  // namespace sim
