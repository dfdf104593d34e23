// The host's component registry: extension points made on first use and listed in
// order, factories kept per interface and resolved by the drawing reader, which
// tells each import about the new part and lets its instance go afterwards.
#include "ComponentRegistry.h"
#include "DoReader.h"
#include "DrawingTestSupport.h"

#include <vector>

namespace {

struct ImportCall {
    _ObObject* object;
    long idSeen;
    int attributesSeen;
};

std::vector<ImportCall> importCalls;
int liveImports = 0;
int importResult = 0;

// An import as a plug-in would register it: it tags the new part, as the
// plug-in does, and can be told what to answer.
class RecordingImport : public cad::IBibImport {
public:
    RecordingImport() { ++liveImports; }
    ~RecordingImport() override { --liveImports; }

    int OnImport(_ObObject* object) override
    {
        ContextUnit context;
        CiPat pat(context.id());
        DsAttributeList list;
        int read = pat.GetAttrList(DsCsr(object), list);
        pat.ChgAttr(DsCsr(object), "bibname", "tagged");
        importCalls.push_back({object, sim::ObjectId(object), read == 0 ? int(list.size()) : -1});
        return importResult;
    }
};

using RecordingImportFactory = core::PerResolveFactory<cad::IBibImport, RecordingImport>;

class Registry : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        importCalls.clear();
        importResult = 0;
    }

    static core::IExtensionPoints* ExtensionPoints(
        std::shared_ptr<core::AbstractInstanceManager<core::IExtensionPoints>>& manager)
    {
        auto* factory = static_cast<core::TypedComponentFactory<core::IExtensionPoints>*>(
            core::Components().GetFactory(typeid(core::IExtensionPoints)));
        EXPECT_NE(factory, nullptr);
        manager = factory->CreateInstanceManager();
        return manager->GetInstance();
    }

    static void RegisterImport(const char* pointName)
    {
        std::shared_ptr<core::AbstractInstanceManager<core::IExtensionPoints>> manager;
        ExtensionPoints(manager)->GetExtensionPoint(pointName)->Register(
            typeid(cad::IBibImport), new RecordingImportFactory);
    }

    short ReadGoodPart() { return DoReadDraw(WriteGeometry("good.txt", GoodGeometry()), DO_READ_INSERT_PART, 0, nullptr); }
};

TEST_F(Registry, ExtensionPointsAreMadeOnceAndListedInOrder)
{
    std::shared_ptr<core::AbstractInstanceManager<core::IExtensionPoints>> manager;
    core::IExtensionPoints* points = ExtensionPoints(manager);
    core::IExtensionPoint* first = points->GetExtensionPoint("tarnvel");
    points->GetExtensionPoint("other");
    EXPECT_EQ(points->GetExtensionPoint("tarnvel"), first);
    EXPECT_EQ(Reported("registry").write(), "[\"tarnvel\",\"other\"]");

    EXPECT_EQ(core::Components().Remove("tarnvel"), 0);
    EXPECT_NE(core::Components().Remove("tarnvel"), 0);
    EXPECT_EQ(Reported("registry").write(), "[\"other\"]");
}

TEST_F(Registry, ReaderTellsTheRegisteredImportAboutTheNewPart)
{
    RegisterImport("tarnvel");
    ASSERT_EQ(ReadGoodPart(), 0);

    ASSERT_EQ(importCalls.size(), 1u);
    EXPECT_EQ(importCalls[0].object, sim::FindPart(1000));
    EXPECT_EQ(importCalls[0].idSeen, 1000);
    EXPECT_EQ(importCalls[0].attributesSeen, 0);  // a new part has no attributes yet
    EXPECT_EQ(liveImports, 0);                    // released after the call
    EXPECT_EQ(Reported("drawing.objects[0].attributes").write(), "[[\"bibname\",\"tagged\"]]");
    EXPECT_EQ(Reported("imports").write(),
              "[{\"extensionPoint\":\"tarnvel\",\"object\":1000,\"result\":0}]");
    EXPECT_EQ(Reported("openContexts").number(), 0);
}

TEST_F(Registry, EveryExtensionPointWithAnImportIsToldInOrder)
{
    RegisterImport("first");
    std::shared_ptr<core::AbstractInstanceManager<core::IExtensionPoints>> manager;
    ExtensionPoints(manager)->GetExtensionPoint("without import");
    RegisterImport("second");
    importResult = 3;
    ASSERT_EQ(ReadGoodPart(), 0);
    EXPECT_EQ(importCalls.size(), 2u);
    EXPECT_EQ(Reported("imports[0].extensionPoint").text(), "first");
    EXPECT_EQ(Reported("imports[1].extensionPoint").text(), "second");
    EXPECT_EQ(Reported("imports[1].result").number(), 3);
}

TEST_F(Registry, RemovedExtensionPointIsNoLongerTold)
{
    RegisterImport("tarnvel");
    ASSERT_EQ(core::Components().Remove("tarnvel"), 0);
    ASSERT_EQ(ReadGoodPart(), 0);
    EXPECT_TRUE(importCalls.empty());
    EXPECT_EQ(Reported("imports.length").number(), 0);
}

TEST_F(Registry, RegisteringAgainReplacesTheFactory)
{
    RegisterImport("tarnvel");
    RegisterImport("tarnvel");
    ASSERT_EQ(ReadGoodPart(), 0);
    EXPECT_EQ(importCalls.size(), 1u);
}

TEST_F(Registry, FactoriesAreFoundByTheInterfaceTypeName)
{
    RegisterImport("tarnvel");
    // This test's type_info object is not the one in simhost.dll; the reader above
    // already resolved across the two. Here the helper finds it by this module's.
    EXPECT_NE(core::Components().GetFactory(typeid(cad::IBibImport)), nullptr);
    EXPECT_EQ(core::Components().GetFactory(typeid(ImportCall)), nullptr);
}

TEST_F(Registry, FailedReadTellsNoImport)
{
    RegisterImport("tarnvel");
    EXPECT_NE(DoReadDraw(WriteGeometry("bad.txt", "TARNVEL-GEOMETRY 1\n"), DO_READ_INSERT_PART, 0, nullptr), 0);
    EXPECT_TRUE(importCalls.empty());
}

}  // namespace
