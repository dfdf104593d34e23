// What the parts of the host stand-in tell each other and nobody else.
#pragma once

#include "Json.h"

namespace sim {

long RegisteredEventSources();
void ClearAnswers();

// Context units: true when the unit is open; otherwise reports the call.
bool CheckContextOpen(long unit, const char* call);
long OpenContexts();
long ContextUpdates();
void ResetContexts();

Json AttributeDefinitions();
void ResetAttributeDefinitions();

bool LocatingParts();
Json ReaderModes();
void ResetReaderModes();

}  // namespace sim
