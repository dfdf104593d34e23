// Whether another process still holds a file open for writing. The watcher asks
// before it hands an export over: a catalog may create its record empty and fill
// it in several writes, and the directory reports the creation long before the
// text is all there, so only a writer's close tells that a file is complete.
// Runs on the watcher thread; it opens and closes one handle of its own.
#pragma once

#include "UtCString.h"

// True while someone holds the file open with write access. The look opens the
// file for reading without sharing write access, which the system refuses with a
// sharing violation while a writer holds it, and closes it again at once. (A
// handle that denies others reading is refused the same way: such a file is not
// ready to be read either.) A file that is not there is not being written, nor
// one that cannot be opened for another reason: the caller goes on as if the file
// were complete, and whoever reads it meets what is really there.
bool IsBeingWritten(const UtCString& path) noexcept;
