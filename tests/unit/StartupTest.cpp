// Start-up and shutdown: where the catalog is looked for, what is chosen from the
// host's settings, and that the one plug-in object comes and goes exactly once.
#include "HostTest.h"

#include "GlobalStrings.h"
#include "MERIDAX_plugin.h"
#include "tarnvelMain.h"

namespace {

class Startup : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        IsolateStartup();
    }
    std::string RootOf(const std::filesystem::path& directory) { return Native(directory) + "\\"; }
    // The root of the catalog that start-up finds, or "none"; ends again.
    std::string RootFound()
    {
        if (Main() != 0 || !g_plugin)
            return "none";
        std::string root = g_plugin->rootDir.string();
        End();
        return root;
    }
};

// The root variable's folder when it holds the two start files, else the suite's
// folder for the host's version (17 unless the host says otherwise).
TEST_F(Startup, FindsTheCatalogByTheRootVariableOrInTheSuiteOfTheHostVersion)
{
    auto root = MakeInstallation("catalog");
    auto suite17 = MakeInstallation("suite\\BRENVIKCAD17-Tarnvel");
    auto suite18 = MakeInstallation("suite\\BRENVIKCAD18-Tarnvel");
    SetEnv("KVT_TARNVEL_ROOT_DIR", Native(root));
    SetEnv("HD_VE", "1810");
    EXPECT_EQ(RootFound(), RootOf(root));
    SetEnv("KVT_TARNVEL_ROOT_DIR", Native(MakeInstallation("empty", false, false)));
    EXPECT_EQ(RootFound(), RootOf(suite18));
    SetEnv("HD_VE", std::nullopt);
    EXPECT_EQ(RootFound(), RootOf(suite17));
}

TEST_F(Startup, MissingInstallationOffersItAndStaysStopped)
{
    for (auto [scriptHost, startScript] : {std::pair{false, false}, {true, false}, {false, true}}) {
        sim::ClearReport();
        SetEnv("KVT_TARNVEL_ROOT_DIR", Native(MakeInstallation("partial", scriptHost, startScript)));
        EXPECT_EQ(Main(), 4711);
        EXPECT_FALSE(g_plugin);
        EXPECT_EQ(Reported("eventSources").number(), 0);
        EXPECT_EQ(Reported("messages[0].text").text(), "BRENVIKCAD PARTS installieren?");
        std::filesystem::remove_all(Temp() / "partial");
    }
}

// A second start keeps the first object and its settings; after an end (twice is
// harmless) a start reads them anew.
TEST_F(Startup, SecondMainKeepsTheFirstObjectUntilAnEnd)
{
    auto root = MakeInstallation("catalog");
    SetEnv("KVT_TARNVEL_ROOT_DIR", Native(root));
    ASSERT_EQ(Main(), 0);
    MERIDAX_plugin* first = g_plugin.get();
    SetEnv("HD_LA", "cz");
    EXPECT_EQ(Main(), 0);
    EXPECT_EQ(g_plugin.get(), first);
    EXPECT_EQ(g_plugin->languageNumber, 0);
    EXPECT_EQ(End(), 0);
    EXPECT_FALSE(g_plugin);
    EXPECT_EQ(Reported("eventSources").number(), 0);
    EXPECT_EQ(End(), 0);

    ASSERT_EQ(TarnvelMain(), 0);
    EXPECT_EQ(g_plugin->languageNumber, 6);
    EXPECT_EQ(TarnvelEnd(), 0);
    EXPECT_FALSE(g_plugin);
}

TEST_F(Startup, ChoosesLanguageAndFormatFromTheHost)
{
    SetEnv("KVT_TARNVEL_ROOT_DIR", Native(MakeInstallation("catalog")));
    struct Case {
        std::optional<std::string> hostLanguage;
        bool twoD;
        int language;
        int format;
    } cases[] = {
        {std::nullopt, false, 0, 1}, {"en", true, 1, 9}, {"it", false, 3, 1},
        {"es", false, 4, 1},         {"pt", false, 1, 1}, {"DE", false, 1, 1},
    };
    for (const Case& c : cases) {
        SetEnv("HD_LA", c.hostLanguage);
        sim::SetMode2d(c.twoD);
        ASSERT_EQ(Main(), 0);
        EXPECT_EQ(g_plugin->languageNumber, c.language) << c.hostLanguage.value_or("unset");
        EXPECT_EQ(g_plugin->formatNumber, c.format);
        End();
    }
}

TEST_F(Startup, ProductNameComesFromTheMessageFile)
{
    WriteFile(Temp() / "cad_msg.txt", "11637=Katalog Teile\n");
    sim::SetMessageFile(Native(Temp() / "cad_msg.txt"));
    SetEnv("KVT_TARNVEL_ROOT_DIR", Native(MakeInstallation("catalog")));
    ASSERT_EQ(Main(), 0);
    EXPECT_EQ(g_productName.string(), "Katalog Teile");
    End();
    sim::SetMessageFile("");
    ASSERT_EQ(Main(), 0);
    EXPECT_EQ(g_productName.string(), "BRENVIKCAD PARTS");
}

}  // namespace
