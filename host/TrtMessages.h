// The host's texts for the user: the message catalogue and the modal message box.
#pragma once

#include "HostApi.h"
#include "UtCString.h"

// Message `number` of the message file `file`, or `fallback` when the file has none.
HOST_API UtCString TrtMsgGet(const UtCString& file, int number, const UtCString& fallback);

// Shows a modal message: caption and text, then five button slots; an empty slot
// shows no button. Returns 0 when the message was shown, and sets `answer` to the
// number of the chosen button, counting the shown buttons from 1. Any other
// result means the message was not shown and `answer` is untouched.
HOST_API int GoDoMessageReturn(const UtCString& caption, const UtCString& text,
                               const UtCString& slot1, const UtCString& slot2,
                               const UtCString& slot3, const UtCString& slot4,
                               const UtCString& slot5, unsigned short& answer);
