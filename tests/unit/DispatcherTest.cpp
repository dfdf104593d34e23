// The macro function entry's report of an illegal number, and how the part
// argument is read from the running macro call. What the actions do, with and
// without a started integration, is the scripts' (dispatch,
// startup_shutdown).
#include "HostTest.h"

#include "GetArgument.h"
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
        EXPECT_EQ(Reported("asserts").write(),
                  R"([{"file":"tarnvelMain","line":270,"function":"tarnvel::Select","number":31,)"
                  R"("format":"tarnvel: illegal function %s","argument":"funcNo","value":)" +
                      std::to_string(number) + "}]");
    }
}

// The part argument is read whether or not there is an argument list, and one of
// the wrong type reaches the host, even before start-up.
TEST_F(Dispatcher, PartArgumentIsReadWithOrWithoutAnArgumentList)
{
    EXPECT_EQ(Run(102), 0);
    GiFunctionArguments arguments;
    arguments.arguments["tarnvl_partId"] = std::make_shared<DynamicDataType<int>>(5);
    EXPECT_THROW(Run(102, &arguments), std::runtime_error);
    EXPECT_EQ(Reported("asserts").size(), 0u);
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
