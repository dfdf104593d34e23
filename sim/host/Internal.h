// What the parts of the host stand-in tell each other and nobody else.
#pragma once

namespace sim {

long RegisteredEventSources();
void ClearAnswers();

}  // namespace sim
