// The integration's answer to the host's drawing reader, and its registration.
#include "CTarnvelCallback.h"

#include "ContextUnit.h"
#include "MERIDAX_plugin.h"
#include "tarnvelMain.h"

namespace tarnvel {

namespace {

constexpr int NOT_HANDLED = 4711;
const char* const EXTENSION_POINT = "tarnvel";

}  // namespace

int CTarnvelCallback::OnImport(_ObObject* object)
{
    if (!g_plugin)
        return NOT_HANDLED;
    ContextUnit unit;
    if (!object || object->type != OB_TYPE_LIBRARY_PART)
        return NOT_HANDLED;
    DsCsr cursor(object);
    g_plugin->TagImportedPart(&cursor);
    return 0;
}

core::ComponentRegistryHelper RegisterImportCallback()
{
    core::ComponentRegistryHelper registry = core::Components();
    auto* services = static_cast<core::TypedComponentFactory<core::IExtensionPoints>*>(
        registry.GetFactory(typeid(core::IExtensionPoints)));
    if (!services)
        return registry;
    std::shared_ptr<core::AbstractInstanceManager<core::IExtensionPoints>> manager =
        services->CreateInstanceManager();
    core::IExtensionPoints* extensionPoints = manager->GetInstance();
    extensionPoints->GetExtensionPoint(EXTENSION_POINT)
        ->Register(typeid(cad::IBibImport),
                   new core::PerResolveFactory<cad::IBibImport, CTarnvelCallback>);
    manager.reset();
    return registry;
}

void RemoveImportCallback(core::ComponentRegistryHelper& registry)
{
    registry.Remove(EXTENSION_POINT);
}

}  // namespace tarnvel
