// The report format of the host stand-in: JSON writing, literals and paths. The
// paths that reach something ("messages[-1].caption", ".length") are read by
// every unit test's Reported.
#include "Json.h"

#include <gtest/gtest.h>

namespace {

TEST(Json, WritesEscapedTextAndWholeNumbers)
{
    sim::Json object = sim::Json::object();
    object.set("text", "a\"b\\c\nd\x01");
    object.set("number", 4711);
    object.set("fraction", 0.5);
    object.set("list", sim::Json::array()).push(true);
    EXPECT_EQ(object.write(),
              R"({"text":"a\"b\\c\nd\u0001","number":4711,"fraction":0.5,"list":[true]})");
}

TEST(Json, PathsOutsideTheReportAreNull)
{
    sim::Json root = sim::Json::object();
    root.set("messages", sim::Json::array()).push(sim::Json::object()).set("caption", "only");
    EXPECT_TRUE(root.at("messages[1].caption").isNull());
    EXPECT_TRUE(root.at("nothing.here").isNull());
}

TEST(Json, LiteralsTellTextsFromNumbers)
{
    EXPECT_EQ(sim::Json::literal("4711"), sim::Json(4711));
    EXPECT_EQ(sim::Json::literal("\"4711\""), sim::Json("4711"));
    EXPECT_EQ(sim::Json::literal("\"a \\\"b\\\"\""), sim::Json("a \"b\""));
    EXPECT_EQ(sim::Json::literal("true"), sim::Json(true));
    EXPECT_TRUE(sim::Json::literal("null").isNull());
    EXPECT_EQ(sim::Json::literal("OK"), sim::Json("OK"));
}

}  // namespace
