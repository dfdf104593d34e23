// The dimension tables of the catalog's part families, in millimetres, taken from
// the usual standard tables. Pure data: turning rows into parts is PartCatalog's job.
#pragma once

#include <vector>

namespace catalog {

// Hexagon head screws, thread to the head (ISO 4017).
struct HexBoltRow {
    double d;     // nominal thread diameter, M<d>
    double s;     // width across flats
    double k;     // head height
    double lMin;  // shortest length in the table
    double lMax;  // longest length in the table
};

// Hexagon nuts, style 1 (ISO 4032).
struct HexNutRow {
    double d;
    double s;
    double m;  // nut height
};

// Plain washers, normal series (ISO 7089).
struct WasherRow {
    double size;  // nominal size = thread diameter
    double d1;    // inner diameter
    double d2;    // outer diameter
    double h;     // thickness
};

// Parallel pins (ISO 2338).
struct PinRow {
    double d;
    double lMin;
    double lMax;
};

// Deep groove ball bearings, series 62.
struct BearingRow {
    int type;  // 6200 ... 6210
    double d;  // bore
    double D;  // outer diameter
    double B;  // width
};

const std::vector<HexBoltRow>& hexBoltTable();
const std::vector<HexNutRow>& hexNutTable();
const std::vector<WasherRow>& washerTable();
const std::vector<PinRow>& pinTable();
const std::vector<BearingRow>& bearingTable();

// Preferred nominal lengths; a size offers those between its lMin and lMax.
const std::vector<double>& boltLengthSeries();
const std::vector<double>& pinLengthSeries();

}  // namespace catalog
