// The catalog command line, byte for byte, and the tables it is made from.
#include "HostTest.h"

#include "MERIDAX_plugin.h"
#include "UtSystem.h"

#include <process.h>

namespace {

class CommandLine : public HostTest {
protected:
    std::string Pid() const { return std::to_string(_getpid()); }
    std::string Language()
    {
        char buffer[64] = {};
        GetEnvironmentVariableA("MERIDAX_LANGUAGE", buffer, sizeof buffer);
        return buffer;
    }
};

TEST_F(CommandLine, MatchesTheCatalogsExpectationByteForByte)
{
    SetEnv("KVT_TARNVEL_EXPORT_DIR", "C:\\Temp");
    MERIDAX_plugin plugin("C:\\Cat", 1, 0);
    UtCString noIdent;
    std::string expected = "\"C:\\Cat\\bin\\x86\\64\\cscripthost.exe\" "
                           "\"C:\\Cat\\setup\\scripts\\common\\startvestra_tarnvel.vbb\" "
                           "-cadname \"BRENVIKCAD\" -path \"C:\\Temp\\tarnvel_output_" +
                           Pid() + ".sat\" -format \"SAT\"";
    EXPECT_EQ(plugin.BuildCommandLine(noIdent).string(), expected);
    EXPECT_EQ(Language(), "german");

    UtCString ident("{$A},B  {D=5},{L=20}");
    EXPECT_EQ(plugin.BuildCommandLine(ident).string(),
              expected + " -mident \"{$A},B  {D=5},{L=20}\"");
}

TEST_F(CommandLine, FixesTheExportNamesFromDirectoryFormatAndProcess)
{
    SetEnv("KVT_TARNVEL_EXPORT_DIR", "D:\\Exports\\");
    MERIDAX_plugin plugin("C:\\Cat", 9, 12);
    UtCString noIdent;
    std::string commandLine = plugin.BuildCommandLine(noIdent).string();
    std::string name = "tarnvel_output_" + Pid() + ".dwg";
    EXPECT_EQ(plugin.exportDir.string(), "D:\\Exports\\");
    EXPECT_EQ(plugin.exportFileName.string(), name);
    EXPECT_EQ(plugin.exportFile.string(), "D:\\Exports\\" + name);
    EXPECT_EQ(plugin.recordFile.string(), "D:\\Exports\\" + name + ".txt");
    EXPECT_EQ(commandLine.substr(commandLine.size() - 15), "-format \"DWG2D\"");
    EXPECT_EQ(Language(), "german") << "language 12 is none of the table's";
}

TEST_F(CommandLine, ExportsGoToTheHostTempDirectoryByDefault)
{
    SetEnv("KVT_TARNVEL_EXPORT_DIR", std::nullopt);
    MERIDAX_plugin plugin("C:\\Cat", 2, 1);
    std::string path = plugin.GetExportPath(2).string();
    EXPECT_EQ(plugin.exportDir.string(), UtGetTempDir().string());
    EXPECT_EQ(path, UtGetTempDir().string() + "\\tarnvel_output_" + Pid() + ".stp");
}

TEST_F(CommandLine, ValuesAreInsertedUnescaped)
{
    SetEnv("KVT_TARNVEL_EXPORT_DIR", "C:\\My \"Exports\"");
    MERIDAX_plugin plugin("C:\\Cat", 1, 1);
    UtCString ident("{$a\"b},c {X=\"1\"}");
    std::string commandLine = plugin.BuildCommandLine(ident).string();
    EXPECT_NE(commandLine.find("-path \"C:\\My \"Exports\"\\tarnvel_output_"), std::string::npos);
    EXPECT_NE(commandLine.find("-mident \"{$a\"b},c {X=\"1\"}\""), std::string::npos);
    EXPECT_EQ(Language(), "english");
}

// The tables' own entries show in the command lines above; here what lies outside
// them: an unknown language is German, an unknown format the product's own.
TEST_F(CommandLine, UnknownLanguagesAndFormatsFallBack)
{
    EXPECT_EQ(MERIDAX_plugin::GetLanguageName(11).string(), "russian") << "the last entry";
    EXPECT_EQ(MERIDAX_plugin::GetLanguageName(-1).string(), "german");
    SetEnv("KVT_TARNVEL_EXPORT_DIR", "C:\\E");
    MERIDAX_plugin plugin("C:\\Cat", 1, 0);
    auto extensionOf = [&](int number) {
        std::string path = plugin.GetExportPath(number).string();
        return path.substr(path.rfind('.') + 1);
    };
    EXPECT_EQ(MERIDAX_plugin::GetExportFormatName(10).string(), "STEP");
    EXPECT_EQ(extensionOf(-3), "sat");
    EXPECT_EQ(extensionOf(10), "sat");
    sim::SetMode2d(true);
    EXPECT_EQ(MERIDAX_plugin::GetExportFormatName(10).string(), "DWG2D");
    EXPECT_EQ(extensionOf(-3), "dwg");
    EXPECT_EQ(extensionOf(1), "sat") << "a known format keeps its extension in 2-D";
}

}  // namespace
