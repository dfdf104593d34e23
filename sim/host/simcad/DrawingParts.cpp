// Reads the library parts of the drawing from the host stand-in's report.
#include "DrawingParts.h"

#include "SimControl.h"

namespace simcad {

namespace {

// The host's type code of a library part; other objects are no parts of a list.
constexpr double LIBRARY_PART_TYPE = 200;

std::vector<std::pair<std::string, std::string>> AttributesOf(const sim::Json& object)
{
    std::vector<std::pair<std::string, std::string>> attributes;
    for (const sim::Json& pair : object.at("attributes").items())
        attributes.emplace_back(pair.at("[0]").text(), pair.at("[1]").text());
    return attributes;
}

std::array<double, 16> WorldOf(const sim::Json& object)
{
    std::array<double, 16> world{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    sim::Json numbers = object.at("world");
    if (numbers.size() == world.size())
        for (std::size_t i = 0; i < world.size(); ++i)
            world[i] = numbers.item(i).number();
    return world;
}

std::vector<PartBody> BodiesOf(const sim::Json& object)
{
    std::vector<PartBody> bodies;
    for (const sim::Json& subObject : object.at("subObjects").items()) {
        PartBody body;
        body.kind = subObject.at("kind").text();
        for (const sim::Json& value : subObject.at("values").items())
            body.values.push_back(value.number());
        bodies.push_back(body);
    }
    return bodies;
}

}  // namespace

bool DrawingPart::HasAttribute(const std::string& name) const
{
    for (const auto& attribute : attributes)
        if (attribute.first == name)
            return true;
    return false;
}

std::string DrawingPart::Attribute(const std::string& name) const
{
    for (const auto& attribute : attributes)
        if (attribute.first == name)
            return attribute.second;
    return "";
}

std::vector<DrawingPart> DrawingPartsOf(const sim::Json& drawing)
{
    std::vector<DrawingPart> parts;
    for (const sim::Json& object : drawing.at("objects").items()) {
        if (object.at("type").number() != LIBRARY_PART_TYPE)
            continue;
        DrawingPart part;
        part.id = static_cast<long>(object.at("id").number());
        part.attributes = AttributesOf(object);
        part.designation = object.at("designation").text();
        part.world = WorldOf(object);
        part.bodies = BodiesOf(object);
        parts.push_back(part);
    }
    return parts;
}

std::vector<DrawingPart> CurrentDrawingParts()
{
    return DrawingPartsOf(sim::Report().at("drawing"));
}

std::string ShownDesignation(const DrawingPart& part)
{
    for (const std::string& candidate :
         {part.Attribute("TVLV_DESIGNATION"), part.designation, part.Attribute("bibname")})
        if (!candidate.empty())
            return candidate;
    return "part " + std::to_string(part.id);
}

}  // namespace simcad
