// The host's context units. Every operation on the drawing runs inside one, so
// the stand-in keeps the open units: a unit the plug-in forgets to close stays
// visible in the report, and a call made with a closed unit is refused.
#include "CiDrawing.h"

#include "Internal.h"
#include "Journal.h"

#include <mutex>
#include <set>
#include <string>

namespace {

std::mutex contextsMutex;
std::set<long> openUnits;
long lastUnit = 0;
long updates = 0;

bool isOpen(long unit)
{
    std::lock_guard<std::mutex> lock(contextsMutex);
    return openUnits.count(unit) > 0;
}

}  // namespace

long CiContext::Add()
{
    std::lock_guard<std::mutex> lock(contextsMutex);
    openUnits.insert(++lastUnit);
    return lastUnit;
}

int CiContext::SetUnit(long unit, const char*) { return isOpen(unit) ? 0 : 1; }

int CiContext::Update(long unit)
{
    std::lock_guard<std::mutex> lock(contextsMutex);
    if (openUnits.count(unit) == 0)
        return 1;
    ++updates;
    return 0;
}

int CiContext::Del(long unit)
{
    std::lock_guard<std::mutex> lock(contextsMutex);
    return openUnits.erase(unit) > 0 ? 0 : 1;
}

namespace sim {

bool CheckContextOpen(long unit, const char* call)
{
    if (isOpen(unit))
        return true;
    Json report = Json::object();
    report.set("file", "simhost");
    report.set("line", 0);
    report.set("function", call);
    report.set("number", 0);
    report.set("format", "use of a closed context %s");
    report.set("argument", "unit");
    report.set("value", unit);
    Journal::instance().addAssert(std::move(report));
    return false;
}

long OpenContexts()
{
    std::lock_guard<std::mutex> lock(contextsMutex);
    return static_cast<long>(openUnits.size());
}

long ContextUpdates()
{
    std::lock_guard<std::mutex> lock(contextsMutex);
    return updates;
}

void ResetContexts()
{
    std::lock_guard<std::mutex> lock(contextsMutex);
    openUnits.clear();
    updates = 0;
}

}  // namespace sim
