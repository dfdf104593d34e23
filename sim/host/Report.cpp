// What the host stand-in recorded and the drawing's state, as one JSON object.
#include "SimControl.h"

#include "Drawing.h"
#include "ExtensionPoints.h"
#include "Internal.h"
#include "Journal.h"

namespace sim {

Json Report()
{
    Json report = Journal::instance().snapshot();
    report.set("eventSources", RegisteredEventSources());
    Json events = Json::object();
    events.set("queued", QueuedEvents());
    events.set("delivered", DeliveredEvents());
    events.set("queuedInTeardown", EventsQueuedInTeardown());
    report.set("events", events);
    report.set("drawing", Drawing::instance().describe());
    report.set("openContexts", OpenContexts());
    report.set("updates", ContextUpdates());
    report.set("attributeDefinitions", AttributeDefinitions());
    report.set("modes", ReaderModes());
    report.set("registry", ExtensionPoints::instance().names());
    return report;
}

void ClearReport() { Journal::instance().clear(); }

void ResetHost()
{
    ClearReport();
    ClearAnswers();
    SetMessageFile("");
    SetMode2d(false);
    Drawing::instance().reset();
    ResetContexts();
    ResetAttributeDefinitions();
    ResetReaderModes();
    ExtensionPoints::instance().clear();
    ThrowFromNextRead("");
}

}  // namespace sim
