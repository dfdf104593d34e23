// The import of an exported part: the host's reader reports the new part to the
// callback, which tags it; a new part goes where the user locates it; the export
// files go and the catalog is asked back. An edited part replaced in place, or
// kept when its replacement fails, is road_new_and_replace.simcad's.
#include "HostTest.h"

#include "CTarnvelCallback.h"
#include "CiDrawing.h"
#include "DoReader.h"
#include "MERIDAX_plugin.h"
#include "tarnvelMain.h"

namespace {

const char* const BOLT_GEOMETRY = "TARNVEL-GEOMETRY 1\npart ISO4017 ISO 4017 - M8 x 40 - 8.8\n"
                                  "format SAT\nunits mm\ncylinder 0 0 -40 4 40\nhexprism 0 0 0 13 5.3\nend\n";
const char* const BOLT_RECORD = "[Attributes]\nDN=10\n[MIDENT]\nMIDENT={$iso4017/iso4017.prj},ISO4017 {L=20},{D=10}\n";

class Import : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        IsolateStartup();
        SetEnv("KVT_TARNVEL_ROOT_DIR", Native(MakeInstallation("catalog")));
        ASSERT_EQ(Main(), 0);
        g_plugin->GetExportPath(1);
    }
    void WriteExport(const std::string& geometry, const std::string& record)
    {
        WriteFile(g_plugin->exportFile.string(), geometry);
        WriteFile(g_plugin->recordFile.string(), record);
    }
    // Attributes of the drawing's last (or this) object as "name=value|...".
    static std::string LastAttributes(const std::string& object = "-1")
    {
        std::string text;
        sim::Json attributes = Reported("drawing.objects[" + object + "].attributes");
        for (const sim::Json& pair : attributes.items())
            text += (text.empty() ? "" : "|") + pair.at("[0]").text() + "=" + pair.at("[1]").text();
        return text;
    }
    static std::string Translation(const std::string& object, const char* matrix)
    {
        sim::Json values = Reported("drawing.objects[" + object + "]." + matrix);
        return values.at("[12]").write() + " " + values.at("[13]").write() + " " + values.at("[14]").write();
    }
    void ExpectCleanEnd()
    {
        EXPECT_FALSE(std::filesystem::exists(g_plugin->exportFile.string()));
        EXPECT_FALSE(std::filesystem::exists(g_plugin->recordFile.string()));
        EXPECT_EQ(Reported("deferredCalls[-1].functionNumber").number(), 100);
        EXPECT_EQ(Reported("registry.length").number(), 0);
        EXPECT_EQ(Reported("openContexts").number(), 0);
        EXPECT_EQ(Reported("modes").write(),
                  R"({"manipSetOnce":0,"readSilentSuccess":0,"keepBibSetModes":0,"readBibModify":0,"readBibModifyId":0,"locateParts":0})");
        EXPECT_EQ(g_plugin->editedPart, nullptr);
    }
};

TEST_F(Import, NewPartIsTaggedInOrderAtTheLocatedPoint)
{
    sim::LocateAt(5, 6, 7);
    WriteExport(BOLT_GEOMETRY, BOLT_RECORD);
    g_plugin->ImportExportedPart();
    EXPECT_EQ(Reported("drawing.objects.length").number(), 1);
    EXPECT_EQ(LastAttributes(), "obkind=tarnvel|bibname=|bibpath=|TVL_ID0=iso4017/iso4017.prj|"
                                "TVL_ID1=ISO4017|TVLM_0_L=20|TVLM_1_D=10|TVLV_DN=10");
    EXPECT_EQ(Translation("-1", "world"), "5 6 7");
    EXPECT_EQ(Reported("drawing.objects[-1].subObjects.length").number(), 2);
    // The reader found the callback while it read; the registration went after.
    ASSERT_EQ(Reported("imports.length").number(), 1);
    EXPECT_EQ(Reported("imports[0].extensionPoint").text(), "tarnvel");
    EXPECT_EQ(Reported("imports[0].result").number(), 0);
    EXPECT_TRUE(g_plugin->identPieces.empty() && g_plugin->identVariables.empty() &&
                g_plugin->recordAttributes.empty());
    ExpectCleanEnd();
}

TEST_F(Import, UnreadableRecordsStillGiveATaggedPart)
{
    struct Case {
        const char* name;
        std::string record;
        const char* firstAttributes;
    } cases[] = {
        {"empty", "", "obkind=tarnvel|bibname=|bibpath="},
        {"binary", std::string("\0\xff\x1a[Attributes]\n\x01=\x02\n", 16), "obkind=tarnvel|bibname=|bibpath="},
        {"huge", "[Attributes]\nBIG=" + std::string(10 << 20, 'x') + "\nA=1\n",
         "obkind=tarnvel|bibname=|bibpath=|TVLV_BIG="},
    };
    for (const Case& c : cases) {
        sim::ResetHost();
        WriteExport(BOLT_GEOMETRY, c.record);
        g_plugin->ImportExportedPart();
        EXPECT_EQ(Reported("drawing.objects.length").number(), 1) << c.name;
        EXPECT_EQ(LastAttributes().substr(0, std::string(c.firstAttributes).size()), c.firstAttributes) << c.name;
        ExpectCleanEnd();
    }
}

TEST_F(Import, LockedRecordIsSkippedAndStays)
{
    WriteExport(BOLT_GEOMETRY, BOLT_RECORD);
    HANDLE locked = CreateFileW(UtCString(g_plugin->recordFile).ustring().c_str(), GENERIC_READ, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    g_plugin->ImportExportedPart();
    EXPECT_EQ(LastAttributes(), "obkind=tarnvel|bibname=|bibpath=");
    EXPECT_FALSE(std::filesystem::exists(g_plugin->exportFile.string()));
    EXPECT_TRUE(std::filesystem::exists(g_plugin->recordFile.string())) << "a locked file cannot go";
    CloseHandle(locked);
    EXPECT_EQ(Reported("deferredCalls[-1].functionNumber").number(), 100);
}

TEST_F(Import, TaggingCutsLongValuesAndDefinesEachNameOnce)
{
    std::string longValue(300, 'v');
    WriteExport(BOLT_GEOMETRY, "[Attributes]\nLONG=" + longValue + "\nplain line\n[MIDENT]\n"
                               "MIDENT={$},t {A=1},{A=2}\n");
    g_plugin->ImportExportedPart();
    EXPECT_EQ(LastAttributes(), "obkind=tarnvel|bibname=|bibpath=|TVL_ID1=t|TVLM_0_A=1|TVLM_1_A=2|TVLV_LONG=" +
                                    longValue.substr(0, 255) + "|TVLV_=plain line");
    std::string definitions = Reported("attributeDefinitions").write();
    WriteExport(BOLT_GEOMETRY, "[Attributes]\nLONG=x\n[MIDENT]\nMIDENT={$},t {A=1},{A=2}\n");
    g_plugin->ImportExportedPart();
    EXPECT_EQ(Reported("attributeDefinitions").write(), definitions) << "known names are not defined again";
}

// The callback takes only this library's parts, the first of an import's alone
// getting the record, and none once the plug-in has ended.
TEST_F(Import, CallbackTagsTheFirstOwnPartOnlyWhileThePluginLives)
{
    WriteExport(BOLT_GEOMETRY, BOLT_RECORD);
    g_plugin->ParseExportRecord();
    tarnvel::CTarnvelCallback callback;
    _ObObject foreign{1};
    EXPECT_EQ(callback.OnImport(&foreign), 4711);
    EXPECT_EQ(callback.OnImport(nullptr), 4711);
    std::string error;
    _ObObject* first = sim::AddPart(1, {}, error);
    _ObObject* second = sim::AddPart(2, {}, error);
    _ObObject* late = sim::AddPart(3, {}, error);
    EXPECT_EQ(callback.OnImport(first), 0);
    EXPECT_EQ(callback.OnImport(second), 0);
    EXPECT_EQ(g_plugin->importedPart, second);
    EXPECT_EQ(LastAttributes("1"), "obkind=tarnvel|bibname=|bibpath=");
    End();
    EXPECT_EQ(callback.OnImport(late), 4711);
    EXPECT_EQ(LastAttributes(), "");
    EXPECT_EQ(Reported("openContexts").number(), 0);
}

// An exception out of the host's reader leaves the import half-way: all the same
// the host gets back its modes and its active workspace, and keeps no
// registration that points into this library, for a new part and a replacement.
TEST_F(Import, AnExceptionFromTheReaderGivesBackWhatTheImportChanged)
{
    ASSERT_TRUE(sim::DefineWorkspace(2, 10, 0, 0, 90));
    ASSERT_EQ(DxSetActiveWorkspace(2), 0);
    DoReadSilentSuccess(3);
    DoManipKeepBibSetModes(4);
    DoReadBibModify(5);
    DoSetLocateParts(6);
    std::string error;
    _ObObject* placed = sim::AddPart(900, {{"TVL_ID0", "x"}}, error);
    ASSERT_NE(placed, nullptr) << error;

    for (_ObObject* edited : {static_cast<_ObObject*>(nullptr), placed}) {
        WriteExport(BOLT_GEOMETRY, BOLT_RECORD);
        g_plugin->editedPart = edited;
        sim::ThrowFromNextRead("the reader failed");
        EXPECT_THROW(g_plugin->ImportExportedPart(), std::runtime_error);
        EXPECT_EQ(Reported("drawing.objects.length").number(), 1) << "the read itself threw";
        EXPECT_EQ(Reported("registry.length").number(), 0);
        EXPECT_EQ(Reported("openContexts").number(), 0);
        EXPECT_EQ(Reported("drawing.activeWorkspace").number(), 2);
        EXPECT_EQ(Reported("modes").write(),
                  R"({"manipSetOnce":0,"readSilentSuccess":3,"keepBibSetModes":4,"readBibModify":5,"readBibModifyId":0,"locateParts":6})");
    }
}

}  // namespace
