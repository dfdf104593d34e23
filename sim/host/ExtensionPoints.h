// The host's component registry: named extension points in the order they were
// made, each holding at most one factory per interface. Interfaces are keyed by
// their type's name, because the plug-in and the host are separate modules and
// each has its own type_info object for the same interface.
// The registry is never destroyed: at process exit it may still hold factories of
// a plug-in that was unloaded without ending, whose code is gone.
#pragma once

#include "ComponentRegistry.h"
#include "Json.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

std::string TypeKey(const std::type_info& type);

class ExtensionPoint : public core::IExtensionPoint {
public:
    ExtensionPoint(std::string name, std::mutex& registryMutex);
    void Register(const std::type_info& interfaceType, core::ComponentFactory* factory) override;

    const std::string& name() const noexcept { return name_; }
    // Needs the registry's lock held.
    core::ComponentFactory* factory(const std::string& typeKey) const;

private:
    std::string name_;
    std::mutex& registryMutex_;
    std::map<std::string, std::unique_ptr<core::ComponentFactory>> factories_;
};

class ExtensionPoints : public core::IExtensionPoints {
public:
    static ExtensionPoints& instance();

    core::IExtensionPoint* GetExtensionPoint(const UtCString& name) override;

    // Deletes the point with its factories; false when there is none of that name.
    bool remove(const std::string& name);
    // The names of the points that hold a factory for the interface, in order.
    std::vector<std::string> pointsWith(const std::string& typeKey);
    // The factory of that point for the interface; null when there is none (any more).
    core::ComponentFactory* factory(const std::string& pointName, const std::string& typeKey);
    // The factory of the first point that holds one for the interface.
    core::ComponentFactory* firstFactory(const std::string& typeKey);
    Json names();
    void clear();

private:
    ExtensionPoints() = default;

    std::mutex mutex_;
    std::vector<std::unique_ptr<ExtensionPoint>> points_;
};

}  // namespace sim
