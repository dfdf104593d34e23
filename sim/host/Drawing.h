// The host stand-in's drawing database: the placed objects with their attributes,
// placements and sub-objects, the workspaces, and the point where the next located
// part goes. Removed objects stay in memory (the graveyard) until the process
// ends, so that a call on one is refused and reported instead of crashing.
// The drawing belongs to the main thread, as the host's does; its lock only keeps
// a report taken on another thread whole. No call out of the stand-in is made
// while the lock is held.
#pragma once

#include "CiDrawing.h"
#include "GeometryFile.h"
#include "Json.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace sim {

using Attributes = std::vector<std::pair<std::string, std::string>>;

struct DrawingObject : _ObObject {
    long id = 0;
    Attributes attributes;
    GeMat44 matrix;
    unsigned long workspace = 0;
    std::string designation;
    std::string kind;            // sub-objects: the body keyword
    std::vector<double> values;  // sub-objects: the body numbers
    std::vector<DrawingObject*> subObjects;
    DrawingObject* parent = nullptr;
    bool removed = false;
};

class Drawing {
public:
    static Drawing& instance();

    // --- Calls on an object named by a cursor. Each returns 0, or non-zero for
    // no object, an unknown one or a removed one (which `call` also reports).
    int attributes(const DS_CURSOR_STRUCT& cursor, const char* call, DsAttributeList& out);
    int changeAttribute(const DS_CURSOR_STRUCT& cursor, const char* call, const std::string& name,
                        const std::string& value);
    int matrix(const DS_CURSOR_STRUCT& cursor, const char* call, GeMat44& out);
    int workspaceMatrix(const DS_CURSOR_STRUCT& cursor, const char* call, GeMat44& out);
    int transform(const DS_CURSOR_STRUCT& cursor, const char* call, const GeMat44& by);
    int remove(const DS_CURSOR_STRUCT& cursor, const char* call);

    // --- Parts, in the active workspace. An id of 0 takes the next free one.
    DrawingObject* addPart(long id, const Attributes& attributes, const GeMat44& placement,
                           std::string& error);
    DrawingObject* addLibraryPart(const GeometryFile& geometry, const GeMat44& placement);
    // A part in the drawing by its id; null when there is none (or it was removed).
    _ObObject* findPart(long id);
    // The id of any object the drawing ever had; -1 for an unknown pointer.
    long objectId(const _ObObject* object);
    bool transformPart(long id, const GeMat44& by);
    bool removePart(long id);

    // --- Workspaces and the located point.
    bool defineWorkspace(unsigned long number, const GeMat44& placement);
    bool hasWorkspace(unsigned long number);
    // 0 switches workspaces off; false for a workspace that does not exist.
    bool activateWorkspace(unsigned long number);
    unsigned long activeWorkspace();
    void locateAt(double x, double y, double z);
    GeMat44 locatedPlacement();

    Json describe();
    // An empty drawing; every object is freed.
    void reset();

private:
    Drawing() = default;

    DrawingObject* resolve(const DS_CURSOR_STRUCT& cursor, const char* call);
    DrawingObject* newObject(short type, long id);
    long nextFreeId() const;
    GeMat44 workspacePlacement(unsigned long number) const;
    Json describeObject(const DrawingObject& object) const;

    std::mutex mutex_;
    std::vector<std::unique_ptr<DrawingObject>> objects_;  // in creation order, removed ones too
    std::unordered_map<const _ObObject*, DrawingObject*> known_;
    std::map<unsigned long, GeMat44> workspaces_;
    unsigned long activeWorkspace_ = 0;
    GeMat44 located_;
};

}  // namespace sim
