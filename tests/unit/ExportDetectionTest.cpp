// The export detection table: which changed names move the state, and when the
// export is delivered.
#include "ExportDetection.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const UtCString N = "tarnvel_output_42.sat";
const UtCString R = "tarnvel_output_42.sat.txt";

// Feeds the names in order from `start`; returns the state after them, or -1 when
// the last name delivered.
int After(int start, const std::vector<const char*>& names)
{
    ExportDetectionState = start;
    bool delivered = false;
    for (const char* name : names)
        delivered = AdvanceExportDetection(name, N, R);
    int result = delivered ? -1 : ExportDetectionState.load();
    ExportDetectionState = 0;
    return result;
}

TEST(ExportDetection, FollowsTheTable)
{
    struct Case {
        int start;
        std::vector<const char*> names;
        int expected;
    } cases[] = {
        {0, {"tarnvel_output_42.sat"}, 1},
        {0, {"tarnvel_output_42.sat.txt"}, 2},  // the record also contains N: 2 wins
        {0, {"other.sat", "tarnvel_output_4.sat"}, 0},
        {0, {"x_tarnvel_output_42.sat.bak"}, 1},  // N inside a longer name counts
        {1, {"tarnvel_output_42.sat"}, 1},
        {1, {"tarnvel_output_42.sat.txt"}, 3},
        {1, {"unrelated"}, 1},
        {2, {"tarnvel_output_42.sat"}, 3},
        {2, {"tarnvel_output_42.sat.txt"}, 3},  // the record again reaches 3
        {2, {"unrelated"}, 2},
        {3, {"unrelated"}, -1},  // any record after both delivers
        {0, {"tarnvel_output_42.sat", "tarnvel_output_42.sat.txt", "tarnvel_output_42.sat.txt"}, -1},
        {0, {"tarnvel_output_42.sat", "tarnvel_output_42.sat.txt"}, 3},
        {0, {"TARNVEL_OUTPUT_42.SAT"}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(After(c.start, c.names), c.expected) << "from " << c.start << ", " << c.names.back();
}

TEST(ExportDetection, DeliveryLeavesTheResetToTheCaller)
{
    ExportDetectionState = 3;
    EXPECT_TRUE(AdvanceExportDetection("anything", N, R));
    EXPECT_EQ(ExportDetectionState, 3);
    ExportDetectionState = 0;
}

}  // namespace
