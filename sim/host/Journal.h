// The host stand-in's record of what the plug-in asked of it: error log lines,
// assertion reports, shell commands, modal messages, deferred macro calls, the
// import notifications that the drawing reader gave, and the drawing calls whose
// arguments tests check: reads, attribute definitions and part transformations.
// Any thread may add to it.
#pragma once

#include "Json.h"

#include <mutex>
#include <string>

namespace sim {

class Journal {
public:
    static Journal& instance();

    void addErrorLine(const std::string& line);
    void addAssert(Json report);
    void addSystemCommand(const std::string& commandLine);
    void addMessage(Json message);
    // Returns the index by which the call's state is updated later.
    std::size_t addDeferredCall(Json call);
    void setDeferredCallState(std::size_t index, const std::string& state);
    void addImport(Json import);
    void addRead(Json read);
    void addAttributeDefinitionCall(Json arguments);
    void addTransform(Json transform);

    Json snapshot() const;
    void clear();

private:
    Journal();
    void append(const char* list, Json entry);

    mutable std::mutex mutex_;
    Json record_;
};

}  // namespace sim
