// The warning record's log line and the installation offer.
#include "HostTest.h"

#include "DebugWarning.h"
#include "InstallationOffer.h"

namespace {

class Diagnostics : public HostTest {};

std::string WarningLine(const char* file, const char* function, int line, const char* message)
{
    sim::ClearReport();
    {
        Debug::Warning warning(file, function, line);
        warning << message;
    }
    return sim::Report().at("errorLog[0]").text();
}

TEST_F(Diagnostics, WarningLineIsPaddedAndAligned)
{
    EXPECT_EQ(WarningLine("MERIDAX_plugin", "SendTVLCommand", 532,
                          "tarnvel: CreateProcess function failed"),
              "MERIDAX_plugin( 532) SendTVLCommand: tarnvel: CreateProcess function failed");
    EXPECT_EQ(WarningLine("short", "f", 7, ""), "short       (   7) f: ");
    EXPECT_EQ(WarningLine("exactly12chr", "g", 12345, "m"), "exactly12chr(12345) g: m");
}

TEST_F(Diagnostics, WarningTakesStreamedValues)
{
    {
        Debug::Warning warning("file", "function", 1);
        warning << "code " << 42 << ' ' << 1.5;
    }
    EXPECT_EQ(Reported("errorLog[0]").text(), "file        (   1) function: code 42 1.5");
}

TEST_F(Diagnostics, ConsentOpensTheInstallerOfTheHostVersion)
{
    SetEnv("HD_VE", "1810");
    sim::QueueAnswer("1");
    EXPECT_EQ(OfferInstallation(), 0);
    sim::Json message = Reported("messages[0]");
    EXPECT_EQ(message.at("caption").text(), "BRENVIKCAD PARTS");
    EXPECT_EQ(message.at("text").text(), "BRENVIKCAD PARTS installieren?");
    EXPECT_EQ(message.at("texts").write(), R"(["","OK","","Abbruch",""])");
    std::string command = Reported("system[0]").text();
    EXPECT_EQ(command.rfind("start https://", 0), 0u) << command;
    EXPECT_EQ(command.substr(command.size() - 34), "/software/BRENVIKCAD18-Tarnvel.exe");
}

TEST_F(Diagnostics, RefusalOrNoAnswerRunsNothing)
{
    sim::QueueAnswer("2");
    OfferInstallation();
    OfferInstallation();  // not shown: no answer queued
    EXPECT_EQ(Reported("messages").size(), 2u);
    EXPECT_EQ(Reported("messages[1].shown").flag(), false);
    EXPECT_EQ(Reported("system").size(), 0u);
}

TEST_F(Diagnostics, OfferUsesTheMessageFileTexts)
{
    WriteFile(Temp() / "cad_msg.txt",
              "# texts\n11637=Parts\r\n11706=Install the parts catalog?\n255=Yes\n671=No\n");
    sim::SetMessageFile(Native(Temp() / "cad_msg.txt"));
    SetEnv("HD_VE", std::nullopt);
    sim::QueueAnswer("Yes");
    OfferInstallation();
    EXPECT_EQ(Reported("messages[0].caption").text(), "Parts");
    EXPECT_EQ(Reported("messages[0].text").text(), "Install the parts catalog?");
    EXPECT_EQ(Reported("messages[0].texts").write(), R"(["","Yes","","No",""])");
    EXPECT_EQ(Reported("system[0]").text().substr(Reported("system[0]").text().size() - 24),
              "BRENVIKCAD17-Tarnvel.exe");
}

}  // namespace
