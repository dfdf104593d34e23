// The host stand-in's record of what the plug-in asked of it.
#include "Journal.h"

namespace sim {

namespace {

Json emptyRecord()
{
    Json record = Json::object();
    for (const char* list : {"errorLog", "asserts", "system", "messages", "deferredCalls", "imports",
                             "reads", "attributeDefinitionCalls", "transforms"})
        record.set(list, Json::array());
    return record;
}

}  // namespace

Journal& Journal::instance()
{
    static Journal journal;
    return journal;
}

Journal::Journal() : record_(emptyRecord()) {}

void Journal::append(const char* list, Json entry)
{
    std::lock_guard<std::mutex> lock(mutex_);
    record_.member(list).push(std::move(entry));
}

void Journal::addErrorLine(const std::string& line) { append("errorLog", Json(line)); }
void Journal::addAssert(Json report) { append("asserts", std::move(report)); }
void Journal::addSystemCommand(const std::string& commandLine) { append("system", Json(commandLine)); }
void Journal::addMessage(Json message) { append("messages", std::move(message)); }
void Journal::addImport(Json import) { append("imports", std::move(import)); }
void Journal::addRead(Json read) { append("reads", std::move(read)); }
void Journal::addAttributeDefinitionCall(Json arguments)
{
    append("attributeDefinitionCalls", std::move(arguments));
}
void Journal::addTransform(Json transform) { append("transforms", std::move(transform)); }

std::size_t Journal::addDeferredCall(Json call)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Json& calls = record_.member("deferredCalls");
    calls.push(std::move(call));
    return calls.size() - 1;
}

void Journal::setDeferredCallState(std::size_t index, const std::string& state)
{
    std::lock_guard<std::mutex> lock(mutex_);
    record_.member("deferredCalls").item(index).set("state", state);
}

Json Journal::snapshot() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return record_;
}

void Journal::clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    record_ = emptyRecord();
}

}  // namespace sim
