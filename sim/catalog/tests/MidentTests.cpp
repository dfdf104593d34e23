// Mident tests: the forms the plug-in sends back (two blanks, trailing blank),
// fields in any order, malformed texts, and the round trip with what we write.
#include "common/Mident.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(Mident, ReadsThePluginFormWithTwoBlanks) {
    const auto result = parseMident("{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.mident.project, "iso4017/iso4017.prj");
    EXPECT_EQ(result.mident.tail, "ISO4017");
    EXPECT_EQ(result.mident.variables, (Variables{{"D", "8"}, {"L", "40"}}));
}

TEST(Mident, ReadsTheRecordFormWithOneBlank) {
    const auto result = parseMident("{$iso4017/iso4017.prj},ISO4017 {L=40},{D=8}");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.mident.variables, (Variables{{"L", "40"}, {"D", "8"}}));
}

TEST(Mident, ReadsAMidentWithoutVariables) {
    for (const char* text : {"{$iso4032/iso4032.prj},ISO4032 ", "{$iso4032/iso4032.prj},ISO4032"}) {
        const auto result = parseMident(text);
        ASSERT_TRUE(result.ok()) << text << ": " << result.error;
        EXPECT_EQ(result.mident.tail, "ISO4032");
        EXPECT_TRUE(result.mident.variables.empty());
    }
}

TEST(Mident, ReadsDecimalAndWordValues) {
    const auto result = parseMident("{$din625/din625.prj},DIN625  {TYPE=6204},{X_2=2.5}");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.mident.variables, (Variables{{"TYPE", "6204"}, {"X_2", "2.5"}}));
}

TEST(Mident, RefusesMalformedTexts) {
    const char* texts[] = {
        "",
        "iso4017/iso4017.prj,ISO4017 {D=8}",          // no {$
        "{$iso4017/iso4017.prj,ISO4017 {D=8}",         // project not closed
        "{$},ISO4017 {D=8}",                           // empty project
        "{$a b},ISO4017 {D=8}",                        // blank in project
        "{$iso4017/iso4017.prj}, {D=8}",               // empty tail
        "{$iso4017/iso4017.prj},ISO4017  D=8",         // field without braces
        "{$iso4017/iso4017.prj},ISO4017  {D8}",        // field without =
        "{$iso4017/iso4017.prj},ISO4017  {d=8}",       // lower-case name
        "{$iso4017/iso4017.prj},ISO4017  {D=}",        // empty value
        "{$iso4017/iso4017.prj},ISO4017  {D=8},,{L=4}", // empty field
        "{$iso4017/iso4017.prj},ISO4017  {D=8},{D=9}", // name twice
    };
    for (const char* text : texts) {
        EXPECT_FALSE(parseMident(text).ok()) << text;
    }
}

TEST(Mident, WritesOneBlankBeforeTheFields) {
    EXPECT_EQ(formatMident(Mident{"iso4017/iso4017.prj", "ISO4017", {{"D", "8"}, {"L", "40"}}}),
              "{$iso4017/iso4017.prj},ISO4017 {D=8},{L=40}");
    EXPECT_EQ(formatMident(Mident{"iso4032/iso4032.prj", "ISO4032", {}}), "{$iso4032/iso4032.prj},ISO4032 ");
}

TEST(Mident, RoundTripsThroughWriteAndRead) {
    const Mident original{"iso2338/iso2338.prj", "ISO2338", {{"D", "2.5"}, {"L", "10"}}};
    const auto result = parseMident(formatMident(original));
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.mident.project, original.project);
    EXPECT_EQ(result.mident.tail, original.tail);
    EXPECT_EQ(result.mident.variables, original.variables);
}

}  // namespace
}  // namespace catalog
