// Dimension table sanity: rows ascend, known values match the standard tables, and
// the dimensions fit together (head wider than thread, washer hole wider than bolt).
#include "common/PartsTables.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

template <typename Row, typename Key>
void expectAscending(const std::vector<Row>& rows, Key key, const char* what) {
    for (size_t i = 1; i < rows.size(); ++i) {
        EXPECT_LT(key(rows[i - 1]), key(rows[i])) << what << " row " << i;
    }
}

TEST(PartsTables, HexBoltRowsAscendAndMatchKnownValues) {
    const auto& rows = hexBoltTable();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.front().d, 3);
    EXPECT_EQ(rows.back().d, 24);
    expectAscending(rows, [](const HexBoltRow& r) { return r.d; }, "d");
    expectAscending(rows, [](const HexBoltRow& r) { return r.s; }, "s");
    expectAscending(rows, [](const HexBoltRow& r) { return r.k; }, "k");
    for (const auto& row : rows) {
        EXPECT_GT(row.s, row.d * 1.4) << "M" << row.d;
        EXPECT_LT(row.lMin, row.lMax) << "M" << row.d;
        if (row.d == 8) {
            EXPECT_EQ(row.s, 13);
            EXPECT_EQ(row.k, 5.3);
        }
    }
}

TEST(PartsTables, HexNutRowsAscendAndMatchKnownValues) {
    const auto& rows = hexNutTable();
    ASSERT_EQ(rows.size(), 10u);
    expectAscending(rows, [](const HexNutRow& r) { return r.d; }, "d");
    expectAscending(rows, [](const HexNutRow& r) { return r.s; }, "s");
    expectAscending(rows, [](const HexNutRow& r) { return r.m; }, "m");
    for (const auto& row : rows) {
        if (row.d == 8) {
            EXPECT_EQ(row.s, 13);
            EXPECT_EQ(row.m, 6.8);
        }
    }
}

TEST(PartsTables, NutsAndBoltsOfOneSizeShareTheWrenchSize) {
    ASSERT_EQ(hexNutTable().size(), hexBoltTable().size());
    for (size_t i = 0; i < hexNutTable().size(); ++i) {
        EXPECT_EQ(hexNutTable()[i].d, hexBoltTable()[i].d);
        EXPECT_EQ(hexNutTable()[i].s, hexBoltTable()[i].s);
    }
}

TEST(PartsTables, WasherRowsAscendAndFitTheirBolt) {
    const auto& rows = washerTable();
    ASSERT_EQ(rows.size(), 10u);
    expectAscending(rows, [](const WasherRow& r) { return r.size; }, "size");
    expectAscending(rows, [](const WasherRow& r) { return r.d1; }, "d1");
    expectAscending(rows, [](const WasherRow& r) { return r.d2; }, "d2");
    for (const auto& row : rows) {
        EXPECT_GT(row.d1, row.size) << row.size;
        EXPECT_GT(row.d2, row.d1) << row.size;
        if (row.size == 8) {
            EXPECT_EQ(row.d1, 8.4);
            EXPECT_EQ(row.d2, 16);
            EXPECT_EQ(row.h, 1.6);
        }
    }
}

TEST(PartsTables, PinRowsAscend) {
    const auto& rows = pinTable();
    EXPECT_EQ(rows.front().d, 2);
    EXPECT_EQ(rows.back().d, 12);
    expectAscending(rows, [](const PinRow& r) { return r.d; }, "d");
    for (const auto& row : rows) EXPECT_LT(row.lMin, row.lMax) << row.d;
}

TEST(PartsTables, BearingRowsAscendAndMatchKnownValues) {
    const auto& rows = bearingTable();
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows.front().type, 6200);
    EXPECT_EQ(rows.back().type, 6210);
    expectAscending(rows, [](const BearingRow& r) { return r.type; }, "type");
    expectAscending(rows, [](const BearingRow& r) { return r.d; }, "d");
    expectAscending(rows, [](const BearingRow& r) { return r.D; }, "D");
    expectAscending(rows, [](const BearingRow& r) { return r.B; }, "B");
    for (const auto& row : rows) {
        if (row.type >= 6204) {
            EXPECT_EQ(row.d, (row.type - 6200) * 5) << row.type;
        }
        if (row.type == 6204) {
            EXPECT_EQ(row.d, 20);
            EXPECT_EQ(row.D, 47);
            EXPECT_EQ(row.B, 14);
        }
    }
}

TEST(PartsTables, LengthSeriesAscend) {
    for (const auto* series : {&boltLengthSeries(), &pinLengthSeries()}) {
        for (size_t i = 1; i < series->size(); ++i) EXPECT_LT((*series)[i - 1], (*series)[i]);
    }
}

}  // namespace
}  // namespace catalog
