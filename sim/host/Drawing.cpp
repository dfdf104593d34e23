// The host stand-in's drawing database.
#include "Drawing.h"

#include "Journal.h"
#include "Placement.h"

#include <algorithm>

namespace sim {

namespace {

// The host keeps attribute values to this many characters.
constexpr std::size_t LONGEST_ATTRIBUTE_VALUE = 255;
// Ids of parts the reader makes start here, clear of the small ids scripts choose.
constexpr long FIRST_AUTOMATIC_ID = 1000;
constexpr short OB_TYPE_BODY = 1;

void reportDeletedUse(const char* call, long id)
{
    Json report = Json::object();
    report.set("file", "simhost");
    report.set("line", 0);
    report.set("function", call);
    report.set("number", 0);
    report.set("format", "use of a deleted object %s");
    report.set("argument", "id");
    report.set("value", id);
    Journal::instance().addAssert(std::move(report));
}

void markRemoved(DrawingObject& object)
{
    object.removed = true;
    for (DrawingObject* sub : object.subObjects)
        markRemoved(*sub);
}

}  // namespace

Drawing& Drawing::instance()
{
    static Drawing drawing;
    return drawing;
}

DrawingObject* Drawing::resolve(const DS_CURSOR_STRUCT& cursor, const char* call)
{
    if (cursor.count < 1 || cursor.count > DS_CURSOR_DEPTH)
        return nullptr;
    auto found = known_.find(cursor.path[cursor.count - 1]);
    if (found == known_.end())
        return nullptr;
    if (found->second->removed) {
        reportDeletedUse(call, found->second->id);
        return nullptr;
    }
    return found->second;
}

int Drawing::attributes(const DS_CURSOR_STRUCT& cursor, const char* call, DsAttributeList& out)
{
    std::lock_guard<std::mutex> lock(mutex_);
    DrawingObject* object = resolve(cursor, call);
    if (!object)
        return 1;
    out.clear();
    for (const auto& attribute : object->attributes)
        out.push_back(DsAttribute{attribute.first, attribute.second});
    return 0;
}

int Drawing::changeAttribute(const DS_CURSOR_STRUCT& cursor, const char* call,
                             const std::string& name, const std::string& value)
{
    std::lock_guard<std::mutex> lock(mutex_);
    DrawingObject* object = resolve(cursor, call);
    if (!object)
        return 1;
    std::string kept = value.substr(0, LONGEST_ATTRIBUTE_VALUE);
    auto& attributes = object->attributes;
    auto same = std::find_if(attributes.begin(), attributes.end(),
                             [&](const auto& attribute) { return attribute.first == name; });
    if (same != attributes.end())
        same->second = kept;
    else
        attributes.emplace_back(name, kept);
    return 0;
}

int Drawing::matrix(const DS_CURSOR_STRUCT& cursor, const char* call, GeMat44& out)
{
    std::lock_guard<std::mutex> lock(mutex_);
    DrawingObject* object = resolve(cursor, call);
    if (!object)
        return 1;
    out = object->matrix;
    return 0;
}

int Drawing::workspaceMatrix(const DS_CURSOR_STRUCT& cursor, const char* call, GeMat44& out)
{
    std::lock_guard<std::mutex> lock(mutex_);
    DrawingObject* object = resolve(cursor, call);
    if (!object)
        return 1;
    out = workspacePlacement(object->workspace);
    return 0;
}

int Drawing::transform(const DS_CURSOR_STRUCT& cursor, const char* call, const GeMat44& by)
{
    std::lock_guard<std::mutex> lock(mutex_);
    DrawingObject* object = resolve(cursor, call);
    if (!object)
        return 1;
    object->matrix = Concat(object->matrix, by);
    return 0;
}

int Drawing::remove(const DS_CURSOR_STRUCT& cursor, const char* call)
{
    std::lock_guard<std::mutex> lock(mutex_);
    DrawingObject* object = resolve(cursor, call);
    if (!object)
        return 1;
    markRemoved(*object);
    return 0;
}

long Drawing::nextFreeId() const
{
    long largest = FIRST_AUTOMATIC_ID - 1;
    for (const auto& object : objects_)
        largest = std::max(largest, object->id);
    return largest + 1;
}

DrawingObject* Drawing::newObject(short type, long id)
{
    auto object = std::make_unique<DrawingObject>();
    object->type = type;
    object->id = id;
    object->workspace = activeWorkspace_;
    DrawingObject* made = object.get();
    objects_.push_back(std::move(object));
    known_[made] = made;
    return made;
}

DrawingObject* Drawing::addPart(long id, const Attributes& attributes, const GeMat44& placement,
                                std::string& error)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& object : objects_)
        if (object->id == id) {
            error = object->removed ? "the id " + std::to_string(id) + " belonged to a removed object"
                                    : "the id " + std::to_string(id) + " exists";
            return nullptr;
        }
    if (id <= 0) {
        error = "an id must be a positive number";
        return nullptr;
    }
    DrawingObject* part = newObject(OB_TYPE_LIBRARY_PART, id);
    part->attributes = attributes;
    part->matrix = placement;
    return part;
}

DrawingObject* Drawing::addLibraryPart(const GeometryFile& geometry, const GeMat44& placement)
{
    std::lock_guard<std::mutex> lock(mutex_);
    long id = nextFreeId();
    DrawingObject* part = newObject(OB_TYPE_LIBRARY_PART, id);
    part->matrix = placement;
    part->designation = geometry.designation;
    for (const GeometryBody& body : geometry.bodies) {
        DrawingObject* sub = newObject(OB_TYPE_BODY, ++id);
        sub->kind = body.kind;
        sub->values = body.values;
        sub->parent = part;
        part->subObjects.push_back(sub);
    }
    return part;
}

_ObObject* Drawing::findPart(long id)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& object : objects_)
        if (object->id == id && !object->removed)
            return object.get();
    return nullptr;
}

long Drawing::objectId(const _ObObject* object)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = known_.find(object);
    return found == known_.end() ? -1 : found->second->id;
}

bool Drawing::transformPart(long id, const GeMat44& by)
{
    DsCsr cursor(findPart(id));
    return cursor.count == 1 && transform(cursor, "part move", by) == 0;
}

bool Drawing::removePart(long id)
{
    DsCsr cursor(findPart(id));
    return cursor.count == 1 && remove(cursor, "part remove") == 0;
}

bool Drawing::defineWorkspace(unsigned long number, const GeMat44& placement)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (number == 0 || workspaces_.count(number) > 0)
        return false;
    workspaces_[number] = placement;
    return true;
}

bool Drawing::hasWorkspace(unsigned long number)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return workspaces_.count(number) > 0;
}

bool Drawing::activateWorkspace(unsigned long number)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (number != 0 && workspaces_.count(number) == 0)
        return false;
    activeWorkspace_ = number;
    return true;
}

unsigned long Drawing::activeWorkspace()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return activeWorkspace_;
}

void Drawing::locateAt(double x, double y, double z)
{
    std::lock_guard<std::mutex> lock(mutex_);
    located_ = Translation(x, y, z);
}

GeMat44 Drawing::locatedPlacement()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return located_;
}

GeMat44 Drawing::workspacePlacement(unsigned long number) const
{
    auto found = workspaces_.find(number);
    return found == workspaces_.end() ? GeMat44() : found->second;
}

Json Drawing::describeObject(const DrawingObject& object) const
{
    Json attributes = Json::array();
    for (const auto& attribute : object.attributes) {
        Json pair = Json::array();
        pair.push(attribute.first);
        pair.push(attribute.second);
        attributes.push(pair);
    }
    Json subObjects = Json::array();
    for (const DrawingObject* sub : object.subObjects) {
        if (sub->removed)
            continue;
        Json values = Json::array();
        for (double value : sub->values)
            values.push(value);
        Json described = Json::object();
        described.set("id", sub->id);
        described.set("type", static_cast<int>(sub->type));
        described.set("kind", sub->kind);
        described.set("values", values);
        subObjects.push(described);
    }
    Json described = Json::object();
    described.set("id", object.id);
    described.set("type", static_cast<int>(object.type));
    described.set("attributes", attributes);
    described.set("matrix", MatrixJson(object.matrix));
    described.set("world", MatrixJson(Concat(object.matrix, workspacePlacement(object.workspace))));
    described.set("workspace", object.workspace);
    described.set("designation", object.designation);
    described.set("subObjects", subObjects);
    return described;
}

Json Drawing::describe()
{
    std::lock_guard<std::mutex> lock(mutex_);
    Json objects = Json::array();
    for (const auto& object : objects_)
        if (!object->removed && !object->parent)
            objects.push(describeObject(*object));
    Json drawing = Json::object();
    drawing.set("activeWorkspace", activeWorkspace_);
    drawing.set("objects", objects);
    return drawing;
}

void Drawing::reset()
{
    std::lock_guard<std::mutex> lock(mutex_);
    known_.clear();
    objects_.clear();
    workspaces_.clear();
    activeWorkspace_ = 0;
    located_ = GeMat44();
}

}  // namespace sim
