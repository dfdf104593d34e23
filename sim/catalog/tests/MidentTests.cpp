// Mident tests: the forms the plug-in sends back (two blanks, trailing blank), fields
// in any order, malformed texts, and the one blank we write. The round trip of every
// part's mident through its record is in PartCatalogTests.
#include "common/Mident.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(Mident, ReadsEveryFormItIsSent) {
    const struct {
        const char* text;
        const char* tail;
        Variables variables;
    } cases[] = {
        // The plug-in's form with two blanks, the record's with one, and without fields.
        {"{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}", "ISO4017", {{"D", "8"}, {"L", "40"}}},
        {"{$iso4017/iso4017.prj},ISO4017 {L=40},{D=8}", "ISO4017", {{"L", "40"}, {"D", "8"}}},
        {"{$iso4032/iso4032.prj},ISO4032 ", "ISO4032", {}},
        {"{$iso4032/iso4032.prj},ISO4032", "ISO4032", {}},
        {"{$din625/din625.prj},DIN625  {TYPE=6204},{X_2=2.5}", "DIN625", {{"TYPE", "6204"}, {"X_2", "2.5"}}},
    };
    for (const auto& example : cases) {
        const auto result = parseMident(example.text);
        ASSERT_TRUE(result.ok()) << example.text << ": " << result.error;
        EXPECT_EQ(result.mident.tail, example.tail) << example.text;
        EXPECT_EQ(result.mident.variables, example.variables) << example.text;
    }
    EXPECT_EQ(parseMident("{$iso4017/iso4017.prj},ISO4017  {D=8}").mident.project, "iso4017/iso4017.prj");
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
    for (const char* text : texts) EXPECT_FALSE(parseMident(text).ok()) << text;
}

TEST(Mident, WritesOneBlankBeforeTheFields) {
    EXPECT_EQ(formatMident(Mident{"iso4017/iso4017.prj", "ISO4017", {{"D", "8"}, {"L", "40"}}}),
              "{$iso4017/iso4017.prj},ISO4017 {D=8},{L=40}");
    EXPECT_EQ(formatMident(Mident{"iso4032/iso4032.prj", "ISO4032", {}}), "{$iso4032/iso4032.prj},ISO4032 ");
}

}  // namespace
}  // namespace catalog
