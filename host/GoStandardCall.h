// The host's macro calls: the record of one standard call and the call itself.
#pragma once

#include "GiFunctionArguments.h"
#include "HostApi.h"
#include "UtCString.h"

// Has the host run macro `macro` with `functionNumber`; with the call mode
// "async" it runs later, on the host's main thread. The argument list belongs to
// the host from this call on, whatever the result. Returns 0 when the call was
// accepted.
HOST_API int GoDoCallStandardExtended(const UtCString& mode, unsigned long number,
                                      const UtCString& macro, long functionNumber,
                                      const UtCString& text,
                                      const GiFunctionArguments* arguments);

namespace Go {

// One standard macro call. It owns its argument list until the list is handed
// to the host.
class GoStandardCall {
public:
    GoStandardCall() = default;
    GoStandardCall(const GoStandardCall&) = delete;
    GoStandardCall& operator=(const GoStandardCall&) = delete;
    virtual ~GoStandardCall() { delete arguments; }

    GiFunctionArguments* arguments = nullptr;
    UtCString mode;
    UtCString macro;
    UtCString text;
    unsigned long number = 0;
    long functionNumber = 0;
};

}  // namespace Go
