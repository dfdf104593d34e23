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

// Values go in as they are, quotes and all.
TEST_F(CommandLine, FixesTheExportNamesFromDirectoryFormatAndProcessAndInsertsThemUnescaped)
{
    std::string folder = "D:\\My \"Exports\"\\";
    SetEnv("KVT_TARNVEL_EXPORT_DIR", folder);
    MERIDAX_plugin plugin("C:\\Cat", 9, 1);
    UtCString ident("{$a\"b},c {X=\"1\"}");
    std::string commandLine = plugin.BuildCommandLine(ident).string();
    std::string name = "tarnvel_output_" + Pid() + ".dwg";
    EXPECT_EQ(plugin.exportDir.string(), folder);
    EXPECT_EQ(plugin.exportFileName.string(), name);
    EXPECT_EQ(plugin.exportFile.string(), folder + name);
    EXPECT_EQ(plugin.recordFile.string(), folder + name + ".txt");
    EXPECT_EQ(commandLine.substr(commandLine.find(" -path")),
              " -path \"" + folder + name + "\" -format \"DWG2D\" -mident \"{$a\"b},c {X=\"1\"}\"");
    EXPECT_EQ(Language(), "english");
}

// The tables' own entries show in the command lines above; here what lies outside
// them: an unknown language is German, an unknown format the product's own, and
// no export folder set is the host's temporary folder.
TEST_F(CommandLine, UnknownLanguagesFormatsAndExportFolderFallBack)
{
    EXPECT_EQ(MERIDAX_plugin::GetLanguageName(11).string(), "russian") << "the last entry";
    for (int outside : {-1, 12})
        EXPECT_EQ(MERIDAX_plugin::GetLanguageName(outside).string(), "german") << outside;
    SetEnv("KVT_TARNVEL_EXPORT_DIR", std::nullopt);
    MERIDAX_plugin plugin("C:\\Cat", 1, 0);
    EXPECT_EQ(plugin.GetExportPath(2).string(), UtGetTempDir().string() + "\\tarnvel_output_" + Pid() + ".stp");
    EXPECT_EQ(plugin.exportDir.string(), UtGetTempDir().string());
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
