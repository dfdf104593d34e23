// The host's component registry: named extension points, in each of which a
// factory can be registered for an interface, and the library-part import
// interface that the drawing reader resolves through it.
#pragma once

#include "HostApi.h"
#include "ObObject.h"
#include "UtCString.h"

#include <memory>
#include <typeinfo>

namespace cad {

// Told of every library part that the drawing reader creates.
class IBibImport {
public:
    virtual ~IBibImport() = default;
    // 0 when the object was handled.
    virtual int OnImport(_ObObject* object) = 0;
};

}  // namespace cad

namespace core {

class ComponentFactory {
public:
    virtual ~ComponentFactory() = default;
};

template <class Interface>
class AbstractInstanceManager {
public:
    virtual ~AbstractInstanceManager() = default;
    virtual Interface* GetInstance() = 0;
};

template <class Interface>
class TypedComponentFactory : public ComponentFactory {
public:
    virtual std::shared_ptr<AbstractInstanceManager<Interface>> CreateInstanceManager() = 0;
};

struct DefaultLifetimeManager {};

// Makes its instance on first use and deletes it with itself.
template <class Interface, class Lifetime, class Implementation>
class InstanceManager : public AbstractInstanceManager<Interface> {
public:
    InstanceManager() = default;
    InstanceManager(const InstanceManager&) = delete;
    InstanceManager& operator=(const InstanceManager&) = delete;
    ~InstanceManager() override { delete instance_; }

    Interface* GetInstance() override
    {
        if (!instance_)
            instance_ = new Implementation;
        return instance_;
    }

private:
    Interface* instance_ = nullptr;
};

// Gives every resolve a new instance manager, and so a new instance.
template <class Interface, class Implementation>
class PerResolveFactory : public TypedComponentFactory<Interface> {
public:
    std::shared_ptr<AbstractInstanceManager<Interface>> CreateInstanceManager() override
    {
        return std::make_shared<
            InstanceManager<Interface, DefaultLifetimeManager, Implementation>>();
    }
};

class IExtensionPoint {
public:
    virtual ~IExtensionPoint() = default;
    // The extension point takes ownership of the factory.
    virtual void Register(const std::type_info& interfaceType, ComponentFactory* factory) = 0;
};

class IExtensionPoints {
public:
    virtual ~IExtensionPoints() = default;
    // The extension point of that name, made when it does not exist yet.
    virtual IExtensionPoint* GetExtensionPoint(const UtCString& name) = 0;
};

// Access to the host's registry, keyed by the interface's run-time type.
class HOST_API ComponentRegistryHelper {
public:
    ComponentFactory* GetFactory(const std::type_info& interfaceType);
    // Removes the extension point of that name with its factories; 0 when found.
    int Remove(const UtCString& name);
};

HOST_API ComponentRegistryHelper Components();

}  // namespace core
