// The integration's answer to the host's drawing reader: for the length of one
// import, the reader reports each library part it creates here, and the part is
// handed to the plug-in object's tagging.
#pragma once

#include "ComponentRegistry.h"

namespace tarnvel {

class CTarnvelCallback : public cad::IBibImport {
public:
    // 0 when the part was tagged; 4711 without a plug-in object or for an object
    // that is no library part.
    int OnImport(_ObObject* object) override;
};

// Registers, under the extension point "tarnvel", a factory that gives the reader
// a new callback for each resolve. Returns the registry handle for the removal.
core::ComponentRegistryHelper RegisterImportCallback();
// Removes the extension point "tarnvel" with its factory.
void RemoveImportCallback(core::ComponentRegistryHelper& registry);

}  // namespace tarnvel
