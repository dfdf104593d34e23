// The hand-over of a finished export to the host's main thread, and the deferred
// macro calls through which the library has the host call it again: function 104
// imports the export, function 100 then shows the catalog for the next part.
#include "MERIDAX_plugin.h"

#include "FunctionNumbers.h"
#include "GiFunctionArguments.h"

namespace {

constexpr unsigned long DEFERRED_CALL_NUMBER = 5000;

}  // namespace

// The watcher that queued this event has closed its handles and is returning, so
// stopping it costs no wait; from here on only the main thread works.
void MERIDAX_plugin::OnSynchronize(void*)
{
    StopWatching();
    RequestFunction(IMPORT_EXPORT);
}

void MERIDAX_plugin::RequestFunction(int functionNumber)
{
    Go::GoStandardCall call;
    call.arguments = new GiFunctionArguments;
    call.mode = "async";
    call.macro = ":khd-tarnvel";
    call.text = "";
    call.number = DEFERRED_CALL_NUMBER;
    call.functionNumber = functionNumber;
    CallStandard(call);
}

// The host owns the argument list from the call on, also when the call fails.
int MERIDAX_plugin::CallStandard(Go::GoStandardCall& call)
{
    if (!call.arguments)
        call.arguments = new GiFunctionArguments;
    UtCString mode = call.mode;
    UtCString macro = call.macro;
    UtCString text = call.text;
    int result = GoDoCallStandardExtended(mode, call.number, macro, call.functionNumber, text,
                                          call.arguments);
    call.arguments = nullptr;
    return result;
}
