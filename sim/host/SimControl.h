// The controls of the host stand-in: what the scriptable host and the tests use to
// script the user's answers, switch the product variant, call macro functions,
// run the host's main-thread work, place parts in the drawing and read what the
// host recorded.
#pragma once

#include "GiFunctionArguments.h"
#include "Json.h"
#include "ObObject.h"
#include "SimApi.h"
#include "UtCString.h"

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

// --- What the host recorded ---------------------------------------------------
// An object with the arrays "errorLog", "asserts", "system", "messages",
// "deferredCalls", "imports", "reads", "attributeDefinitionCalls" and
// "transforms", "eventSources" (the number of registered event sources), "events"
// ("queued": not yet delivered nor dropped, "delivered": so far), and the
// drawing's state: "drawing", "openContexts", "updates", "attributeDefinitions",
// "modes" and "registry".
SIM_API Json Report();
// Forgets what was recorded; the drawing's state stays.
SIM_API void ClearReport();
// Back to a host just started: nothing recorded, no message file, no answers
// queued, the 3-D product, an empty drawing (every object freed) with no
// workspaces, no open context units, only the host's attribute names, every
// reader mode 0 and no extension points.
SIM_API void ResetHost();

// --- Messages -----------------------------------------------------------------
// The file that message look-ups read from now on ("" for none): lines
// "NUMBER=TEXT", blank lines and lines starting with "#" ignored.
SIM_API void SetMessageFile(const std::string& path);
// The next modal message is answered with this button: its number (1 for the
// first shown button) or its label.
SIM_API void QueueAnswer(const std::string& button);
SIM_API std::size_t PendingAnswers();

// --- Product ------------------------------------------------------------------
SIM_API void SetMode2d(bool on);

// --- Macro functions ----------------------------------------------------------
// The entry that the host calls for a macro function: unused number, function
// number, text argument.
using MacroEntry = int (*)(int, int, const UtCString&);
// Binds a macro name to an entry; a null entry unbinds it.
SIM_API void SetMacro(const std::string& name, MacroEntry entry);
// Runs a macro function now, with `arguments` as the arguments of the running call
// (null for none). Exceptions of the entry pass through. Non-zero when the macro
// is not bound.
SIM_API int CallMacro(const std::string& name, int functionNumber, const UtCString& text,
                      GiFunctionArguments* arguments, int* result);

// --- The main thread ----------------------------------------------------------
SIM_API bool IsMainThread();
// Runs the queued main-thread work (events and deferred calls) until the queue is
// empty. Returns how many items ran.
SIM_API int RunPending();
// Runs main-thread work as it arrives until `done` is true or the time is up;
// returns `done`'s last answer. A null `done` runs until the time is up.
SIM_API bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
// How many OnSynchronize calls and how many deferred macro calls have run so far.
SIM_API long DeliveredEvents();
// Events queued (Synchronize) and not yet delivered or dropped.
SIM_API long QueuedEvents();
// The host is inside the plug-in's End, or is unloading the plug-in (under the
// loader lock): a Synchronize call made meanwhile, registered source or not, is
// counted apart, as "events.queuedInTeardown".
SIM_API void SetPluginTeardown(bool inTeardown);
SIM_API long EventsQueuedInTeardown();
SIM_API long CompletedDeferredCalls();

// When the host last saw each step of a hand-over, for latency measurements: an
// event queued (Synchronize), its OnSynchronize started, and a deferred call of
// a function number finished. The epoch of the steady clock when it never happened.
struct HandOverTimes {
    std::chrono::steady_clock::time_point eventQueued;
    std::chrono::steady_clock::time_point eventDelivered;
};
SIM_API HandOverTimes LastHandOverTimes();
SIM_API std::chrono::steady_clock::time_point LastDeferredCallFinished(long functionNumber);

// --- The drawing --------------------------------------------------------------
using PartAttributes = std::vector<std::pair<std::string, std::string>>;
// Places a library part with that id and those attributes at the located point,
// in the active workspace. Null, with the reason in `error`, when the id is taken
// (also by a removed object) or not positive.
SIM_API _ObObject* AddPart(long id, const PartAttributes& attributes, std::string& error);
// The part of that id in the drawing; null when there is none or it was removed.
SIM_API _ObObject* FindPart(long id);
// The id of any object the drawing ever had; -1 for a pointer it never had.
SIM_API long ObjectId(const _ObObject* object);
// Part matrix := part matrix * translation. False when there is no such part.
SIM_API bool MovePart(long id, double x, double y, double z);
// Removes the part with its sub-objects. False when there is no such part.
SIM_API bool RemovePart(long id);
// Where the next located part goes.
SIM_API void LocateAt(double x, double y, double z);
// The next DoReadDraw throws std::runtime_error(what) instead of reading, as a
// host's reader may fail.
SIM_API void ThrowFromNextRead(const std::string& what);
// Makes workspace `number` (from 1) with a placement that turns by angleDegrees
// about Z and then moves by (x, y, z). False when it exists or number is 0.
SIM_API bool DefineWorkspace(unsigned long number, double x, double y, double z,
                             double angleDegrees);
SIM_API bool HasWorkspace(unsigned long number);

}  // namespace sim
