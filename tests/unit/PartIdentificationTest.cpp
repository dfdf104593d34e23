// Reading a placed part's identification back into the model identification text.
#include "HostTest.h"

#include "MERIDAX_plugin.h"

namespace {

class PartIdentification : public HostTest {
protected:
    // The text for a part with these attributes, or "false" when there is none.
    std::string IdentOf(const sim::PartAttributes& attributes)
    {
        std::string error;
        lastPart = sim::AddPart(nextId++, attributes, error);
        EXPECT_NE(lastPart, nullptr) << error;
        UtCString ident("untouched");
        bool found = plugin.GetPartIdentification(lastPart, ident);
        return found ? ident.string() : (ident.string() == "untouched" ? "false" : "changed!");
    }
    MERIDAX_plugin plugin{"C:\\Cat", 1, 0};
    long nextId = 1;
    _ObObject* lastPart = nullptr;
};

// No part, or one removed, has none.
TEST_F(PartIdentification, BuildsTheTextFromTheIdentifiersAndNumberedVariables)
{
    struct Case {
        const char* name;
        sim::PartAttributes attributes;
        const char* expected;
    } cases[] = {
        {"no variables", {{"TVL_ID0", "A"}, {"TVL_ID1", "B"}}, "{$A},B "},
        {"ordered by number", {{"TVL_ID1", "B"}, {"TVLM_1_L", "20"}, {"TVL_ID0", "A"}, {"TVLM_0_D", "5"}},
         "{$A},B  {D=5},{L=20}"},
        {"numbers, not text order", {{"TVL_ID0", "A"}, {"TVL_ID1", "B"}, {"TVLM_10_A", "1"}, {"TVLM_9_B", "2"}},
         "{$A},B  {B=2},{A=1}"},
        {"later duplicate wins", {{"TVL_ID0", "A"}, {"TVL_ID1", "B"}, {"TVLM_2_X", "1"}, {"TVLM_2_Y", "2"}},
         "{$A},B  {Y=2}"},
        {"underscores in names", {{"TVL_ID0", "A"}, {"TVL_ID1", "B"}, {"TVLM_2_X_Y", "3"}, {"TVLM_3_", "e"}},
         "{$A},B  {X_Y=3},{=e}"},
        {"no variable without a second underscore",
         {{"TVL_ID0", "A"}, {"TVL_ID1", "B"}, {"TVLM_3", "x"}, {"TVLM_", "y"}}, "{$A},B "},
        {"other letter case and other prefixes ignored",
         {{"TVL_ID0", "A"}, {"TVL_ID1", "B"}, {"tvlm_0_d", "1"}, {"TVLV_DN", "10"}, {"tvl_id0", "Z"}}, "{$A},B "},
        {"first identifier attribute counts", {{"TVL_ID0", "A"}, {"TVL_ID0", "Z"}, {"TVL_ID1", "B"}}, "{$A},B "},
        {"values unescaped", {{"TVL_ID0", "a,b"}, {"TVL_ID1", "c\"d"}, {"TVLM_0_V", "{x},y"}},
         "{$a,b},c\"d  {V={x},y}"},
        {"signs and blanks in numbers", {{"TVL_ID0", "A"}, {"TVL_ID1", "B"}, {"TVLM_ 1x_P", "p"}, {"TVLM_-1_M", "m"}},
         "{$A},B  {M=m},{P=p}"},
        {"numbers that do not convert are no variables",
         {{"TVL_ID0", "A"}, {"TVL_ID1", "B"}, {"TVLM_x_Q", "q"}, {"TVLM_99999999999_R", "r"}, {"TVLM_1_S", "s"}},
         "{$A},B  {S=s}"},
        {"second identifier missing", {{"TVL_ID0", "A"}, {"TVLM_0_D", "5"}}, "false"},
        {"first identifier missing", {{"TVL_ID1", "B"}}, "false"},
        {"other letter case", {{"tvl_id0", "A"}, {"TVL_ID1", "B"}}, "false"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IdentOf(c.attributes), c.expected) << c.name;
    EXPECT_EQ(IdentOf({{"TVL_ID0", "A"}, {"TVL_ID1", "B"}}), "{$A},B ");
    sim::RemovePart(nextId - 1);
    UtCString ident("untouched");
    for (_ObObject* gone : {static_cast<_ObObject*>(nullptr), lastPart})
        EXPECT_FALSE(plugin.GetPartIdentification(gone, ident));
    EXPECT_EQ(ident.string(), "untouched");
    EXPECT_EQ(Reported("openContexts").number(), 0);
}

}  // namespace
