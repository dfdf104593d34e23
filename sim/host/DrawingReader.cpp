// The host's drawing reader: reads a catalog geometry file into one new library
// part, placed as the read mode says, and then tells every library-part import
// registered in the component registry about it. Every read is recorded with the
// reader modes and the workspace in force when it began.
#include "DoReader.h"

#include "ComponentRegistry.h"
#include "Drawing.h"
#include "ExtensionPoints.h"
#include "Internal.h"
#include "Journal.h"
#include "Placement.h"
#include "SimControl.h"

#include <fstream>
#include <stdexcept>
#include <string>

namespace {

// Set by sim::ThrowFromNextRead; main thread only, as every read.
std::string nextReadThrows;

bool readGeometry(const UtCString& file, sim::GeometryFile& geometry)
{
    std::ifstream text(file.string(), std::ios::binary);
    std::string error;
    return text && sim::ParseGeometry(text, geometry, error);
}

// Inserted parts go to the located point when locating is on; a replacing part is
// made where the caller then moves it.
GeMat44 placementFor(int mode)
{
    if (mode == DO_READ_INSERT_PART && sim::LocatingParts())
        return sim::Drawing::instance().locatedPlacement();
    return GeMat44();
}

void recordImport(const std::string& extensionPoint, long objectId, int result)
{
    sim::Json import = sim::Json::object();
    import.set("extensionPoint", extensionPoint);
    import.set("object", objectId);
    import.set("result", result);
    sim::Journal::instance().addImport(std::move(import));
}

// The factory is looked up again for every point, so that an import that removes
// an extension point leaves no stale factory behind for the next one.
void notifyImports(sim::DrawingObject* part)
{
    auto& registry = sim::ExtensionPoints::instance();
    const std::string key = sim::TypeKey(typeid(cad::IBibImport));
    for (const std::string& point : registry.pointsWith(key)) {
        auto* factory =
            static_cast<core::TypedComponentFactory<cad::IBibImport>*>(registry.factory(point, key));
        if (!factory)
            continue;
        std::shared_ptr<core::AbstractInstanceManager<cad::IBibImport>> manager =
            factory->CreateInstanceManager();
        int result = manager->GetInstance()->OnImport(part);
        manager.reset();
        recordImport(point, part->id, result);
    }
}

// What a read was asked and what was in force when it started, for tests that
// check the modes and the workspace a caller reads under.
sim::Json describeRead(const UtCString& file, int mode)
{
    sim::Json read = sim::Json::object();
    read.set("file", file.string());
    read.set("mode", mode);
    read.set("modes", sim::ReaderModes());
    read.set("activeWorkspace", sim::Drawing::instance().activeWorkspace());
    return read;
}

short readPart(const UtCString& file, int mode, sim::DrawingObject*& part)
{
    if (mode != DO_READ_INSERT_PART && mode != DO_READ_REPLACE_PART)
        return 1;
    sim::GeometryFile geometry;
    if (!readGeometry(file, geometry))
        return 1;
    part = sim::Drawing::instance().addLibraryPart(geometry, placementFor(mode));
    notifyImports(part);
    return 0;
}

}  // namespace

short DoReadDraw(const UtCString& file, int mode, int options, void* reserved)
{
    if (!nextReadThrows.empty()) {
        std::string what = std::move(nextReadThrows);
        nextReadThrows.clear();
        throw std::runtime_error(what);
    }
    sim::Json read = describeRead(file, mode);
    sim::DrawingObject* part = nullptr;
    short result = readPart(file, mode, part);
    read.set("object", part ? sim::Json(part->id) : sim::Json());
    read.set("result", result);
    sim::Journal::instance().addRead(std::move(read));
    return result;
}

namespace sim {

void ThrowFromNextRead(const std::string& what) { nextReadThrows = what; }

}  // namespace sim
