// The macro function entry: which numbers do what, and how the part argument is
// read from the running macro call.
#include "HostTest.h"

#include "GetArgument.h"
#include "MERIDAX_plugin.h"
#include "tarnvelMain.h"

#include <stdexcept>

namespace {

class Dispatcher : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        IsolateStartup();
        sim::SetMacro(":khd-tarnvel", TarnvelSelect);
    }
    void TearDown() override
    {
        sim::SetMacro(":khd-tarnvel", nullptr);
        HostTest::TearDown();
    }
    // Runs the macro function as the user's command would, with these arguments.
    int Run(int functionNumber, GiFunctionArguments* arguments = nullptr)
    {
        int result = -1;
        EXPECT_EQ(sim::CallMacro(":khd-tarnvel", functionNumber, "", arguments, &result), 0);
        return result;
    }
};

TEST_F(Dispatcher, IllegalNumbersAreReportedAndAnsweredWithZero)
{
    for (int number : {103, 0, -1}) {
        sim::ClearReport();
        EXPECT_EQ(tarnvel::Select(7, number, "text"), 0);
        sim::Json report = Reported("asserts[0]");
        EXPECT_EQ(report.at("file").text(), "tarnvelMain");
        EXPECT_EQ(report.at("line").number(), 270);
        EXPECT_EQ(report.at("function").text(), "tarnvel::Select");
        EXPECT_EQ(report.at("number").number(), 31);
        EXPECT_EQ(report.at("format").text(), "tarnvel: illegal function %s");
        EXPECT_EQ(report.at("argument").text(), "funcNo");
        EXPECT_EQ(report.at("value").number(), number);
        EXPECT_EQ(Reported("asserts").size(), 1u);
    }
}

// The installation's script host is an empty file: the launch that the catalog
// action tries fails with its warning, which shows that the action ran after the
// start-up had made the plug-in object.
TEST_F(Dispatcher, OpenCatalogStartsUpFirst)
{
    SetEnv("KVT_TARNVEL_ROOT_DIR", Native(MakeInstallation("catalog")));
    EXPECT_EQ(Run(100), 0);
    ASSERT_TRUE(g_plugin);
    EXPECT_NE(g_plugin->exportFileName.string().find("tarnvel_output_"), std::string::npos);
    ASSERT_EQ(Reported("errorLog").size(), 1u);
    EXPECT_NE(Reported("errorLog[0]").text().find("CreateProcess function failed"), std::string::npos);
    EXPECT_EQ(Reported("asserts").size(), 0u);
}

TEST_F(Dispatcher, OpenCatalogWithoutInstallationOnlyOffersIt)
{
    sim::QueueAnswer("Abbruch");
    EXPECT_EQ(Run(100), 0);
    EXPECT_FALSE(g_plugin);
    EXPECT_EQ(Reported("messages[0].label").text(), "Abbruch");
    EXPECT_EQ(Reported("system").size(), 0u);
}

TEST_F(Dispatcher, ActionsWithoutPluginObjectDoNothing)
{
    for (int number : {101, 102, 104})
        EXPECT_EQ(Run(number), 0);
    EXPECT_FALSE(g_plugin);
    EXPECT_EQ(Reported("asserts").size(), 0u);
    EXPECT_EQ(Reported("deferredCalls").size(), 0u);
}

TEST_F(Dispatcher, PartArgumentOfTheWrongTypeReachesTheHost)
{
    GiFunctionArguments arguments;
    arguments.arguments["tarnvl_partId"] = std::make_shared<DynamicDataType<int>>(5);
    try {
        Run(102, &arguments);
        FAIL() << "no exception";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "wrong type specified!");
    }
}

TEST(GetArgument, FindsOnlyTheExactNameAndChecksTheType)
{
    _ObObject object{200};
    GiFunctionArguments arguments;
    arguments.arguments["tarnvl_partId"] = std::make_shared<DynamicDataType<_ObObject*>>(&object);
    arguments.arguments["a"] = std::make_shared<DynamicDataType<int>>(1);
    arguments.arguments["z"] = std::make_shared<DynamicDataType<int>>(2);

    _ObObject* part = nullptr;
    EXPECT_TRUE(GetArgument(arguments, "tarnvl_partId", part));
    EXPECT_EQ(part, &object);

    _ObObject* untouched = &object;
    EXPECT_FALSE(GetArgument(arguments, "tarnvl_part", untouched));
    EXPECT_FALSE(GetArgument(arguments, "tarnvl_partIdx", untouched));
    EXPECT_FALSE(GetArgument(arguments, "zz", untouched));
    EXPECT_EQ(untouched, &object);

    EXPECT_THROW(GetArgument(arguments, "a", part), std::runtime_error);
    arguments.arguments["empty"] = nullptr;
    EXPECT_THROW(GetArgument(arguments, "empty", part), std::runtime_error);
}

}  // namespace
