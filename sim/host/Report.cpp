// What the host stand-in recorded, as one JSON object.
#include "SimControl.h"

#include "Internal.h"
#include "Journal.h"

namespace sim {

Json Report()
{
    Json report = Journal::instance().snapshot();
    report.set("eventSources", RegisteredEventSources());
    return report;
}

void ClearReport() { Journal::instance().clear(); }

void ResetHost()
{
    ClearReport();
    ClearAnswers();
    SetMessageFile("");
    SetMode2d(false);
}

}  // namespace sim
