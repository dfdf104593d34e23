// Dimension tables of the catalog, millimetres.
#include "common/PartsTables.h"

namespace catalog {

const std::vector<HexBoltRow>& hexBoltTable() {
    static const std::vector<HexBoltRow> rows = {
        //  d     s     k     lMin  lMax
        {3, 5.5, 2, 6, 30},
        {4, 7, 2.8, 8, 40},
        {5, 8, 3.5, 10, 50},
        {6, 10, 4, 12, 60},
        {8, 13, 5.3, 16, 80},
        {10, 16, 6.4, 20, 100},
        {12, 18, 7.5, 25, 120},
        {16, 24, 10, 30, 150},
        {20, 30, 12.5, 40, 150},
        {24, 36, 15, 50, 150},
    };
    return rows;
}

const std::vector<HexNutRow>& hexNutTable() {
    static const std::vector<HexNutRow> rows = {
        //  d     s     m
        {3, 5.5, 2.4},
        {4, 7, 3.2},
        {5, 8, 4.7},
        {6, 10, 5.2},
        {8, 13, 6.8},
        {10, 16, 8.4},
        {12, 18, 10.8},
        {16, 24, 14.8},
        {20, 30, 18},
        {24, 36, 21.5},
    };
    return rows;
}

const std::vector<WasherRow>& washerTable() {
    static const std::vector<WasherRow> rows = {
        // size  d1    d2   h
        {3, 3.2, 7, 0.5},
        {4, 4.3, 9, 0.8},
        {5, 5.3, 10, 1},
        {6, 6.4, 12, 1.6},
        {8, 8.4, 16, 1.6},
        {10, 10.5, 20, 2},
        {12, 13, 24, 2.5},
        {16, 17, 30, 3},
        {20, 21, 37, 3},
        {24, 25, 44, 4},
    };
    return rows;
}

const std::vector<PinRow>& pinTable() {
    static const std::vector<PinRow> rows = {
        //  d    lMin  lMax
        {2, 6, 20},
        {2.5, 6, 24},
        {3, 8, 30},
        {4, 8, 40},
        {5, 10, 50},
        {6, 12, 60},
        {8, 14, 80},
        {10, 18, 95},
        {12, 22, 140},
    };
    return rows;
}

const std::vector<BearingRow>& bearingTable() {
    static const std::vector<BearingRow> rows = {
        // type  d   D   B
        {6200, 10, 30, 9},
        {6201, 12, 32, 10},
        {6202, 15, 35, 11},
        {6203, 17, 40, 12},
        {6204, 20, 47, 14},
        {6205, 25, 52, 15},
        {6206, 30, 62, 16},
        {6207, 35, 72, 17},
        {6208, 40, 80, 18},
        {6209, 45, 85, 19},
        {6210, 50, 90, 20},
    };
    return rows;
}

const std::vector<double>& boltLengthSeries() {
    static const std::vector<double> lengths = {6,  8,  10, 12, 16, 20,  25,  30,  35,  40,  45,  50,
                                                55, 60, 65, 70, 80, 90, 100, 110, 120, 130, 140, 150};
    return lengths;
}

const std::vector<double>& pinLengthSeries() {
    static const std::vector<double> lengths = {6,  8,  10, 12, 14, 16, 18, 20, 22, 24,
                                                26, 28, 30, 32, 35, 40, 45, 50, 55, 60,
                                                65, 70, 75, 80, 85, 90, 95, 100, 120, 140};
    return lengths;
}

}  // namespace catalog
