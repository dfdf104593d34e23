// The host's component registry and the host's own service in it: the extension
// points. Factories are deleted outside the registry's lock, because their
// destructors are the plug-in's code.
#include "ComponentRegistry.h"

#include "ExtensionPoints.h"

#include <algorithm>

namespace sim {

std::string TypeKey(const std::type_info& type)
{
    // g++ marks the names of types local to one module with a leading '*'.
    const char* name = type.name();
    return name[0] == '*' ? name + 1 : name;
}

ExtensionPoint::ExtensionPoint(std::string name, std::mutex& registryMutex)
    : name_(std::move(name)), registryMutex_(registryMutex)
{
}

void ExtensionPoint::Register(const std::type_info& interfaceType, core::ComponentFactory* factory)
{
    std::unique_ptr<core::ComponentFactory> replaced(factory);
    std::lock_guard<std::mutex> lock(registryMutex_);
    factories_[TypeKey(interfaceType)].swap(replaced);
}

core::ComponentFactory* ExtensionPoint::factory(const std::string& typeKey) const
{
    auto found = factories_.find(typeKey);
    return found == factories_.end() ? nullptr : found->second.get();
}

ExtensionPoints& ExtensionPoints::instance()
{
    static ExtensionPoints* points = new ExtensionPoints;
    return *points;
}

core::IExtensionPoint* ExtensionPoints::GetExtensionPoint(const UtCString& name)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& point : points_)
        if (point->name() == name.string())
            return point.get();
    points_.push_back(std::make_unique<ExtensionPoint>(name.string(), mutex_));
    return points_.back().get();
}

bool ExtensionPoints::remove(const std::string& name)
{
    std::unique_ptr<ExtensionPoint> removed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = std::find_if(points_.begin(), points_.end(),
                                  [&](const auto& point) { return point->name() == name; });
        if (found == points_.end())
            return false;
        removed = std::move(*found);
        points_.erase(found);
    }
    return true;
}

std::vector<std::string> ExtensionPoints::pointsWith(const std::string& typeKey)
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> names;
    for (const auto& point : points_)
        if (point->factory(typeKey))
            names.push_back(point->name());
    return names;
}

core::ComponentFactory* ExtensionPoints::factory(const std::string& pointName,
                                                 const std::string& typeKey)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& point : points_)
        if (point->name() == pointName)
            return point->factory(typeKey);
    return nullptr;
}

core::ComponentFactory* ExtensionPoints::firstFactory(const std::string& typeKey)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& point : points_)
        if (core::ComponentFactory* found = point->factory(typeKey))
            return found;
    return nullptr;
}

Json ExtensionPoints::names()
{
    std::lock_guard<std::mutex> lock(mutex_);
    Json names = Json::array();
    for (const auto& point : points_)
        names.push(point->name());
    return names;
}

void ExtensionPoints::clear()
{
    std::vector<std::unique_ptr<ExtensionPoint>> removed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        removed.swap(points_);
    }
}

namespace {

class ExtensionPointsManager : public core::AbstractInstanceManager<core::IExtensionPoints> {
public:
    core::IExtensionPoints* GetInstance() override { return &ExtensionPoints::instance(); }
};

class ExtensionPointsFactory : public core::TypedComponentFactory<core::IExtensionPoints> {
public:
    std::shared_ptr<core::AbstractInstanceManager<core::IExtensionPoints>> CreateInstanceManager() override
    {
        return std::make_shared<ExtensionPointsManager>();
    }
};

}  // namespace

}  // namespace sim

namespace core {

ComponentFactory* ComponentRegistryHelper::GetFactory(const std::type_info& interfaceType)
{
    static sim::ExtensionPointsFactory extensionPoints;
    std::string key = sim::TypeKey(interfaceType);
    if (key == sim::TypeKey(typeid(IExtensionPoints)))
        return &extensionPoints;
    return sim::ExtensionPoints::instance().firstFactory(key);
}

int ComponentRegistryHelper::Remove(const UtCString& name)
{
    return sim::ExtensionPoints::instance().remove(name.string()) ? 0 : 1;
}

ComponentRegistryHelper Components() { return ComponentRegistryHelper(); }

}  // namespace core
