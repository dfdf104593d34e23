// The host's drawing reader and its modes. Each mode setter that returns a value
// returns the mode it replaced, so that the caller can give it back.
#pragma once

#include "HostApi.h"
#include "UtCString.h"

// Read modes of DoReadDraw.
constexpr int DO_READ_INSERT_PART = 2;
constexpr int DO_READ_REPLACE_PART = 9;

// Reads a drawing file into the current drawing; 0 on success.
HOST_API short DoReadDraw(const UtCString& file, int mode, int options, void* reserved);

HOST_API void DoManipSetOnce(int mode);
HOST_API int DoReadSilentSuccess(int mode);
HOST_API int DoManipKeepBibSetModes(int mode);
HOST_API short DoReadBibModify(short mode);
HOST_API void DoReadBibModifyId(int id);
HOST_API short DoSetLocateParts(short mode);
