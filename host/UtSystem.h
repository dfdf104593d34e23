// The host's settings and system services: environment and machine settings,
// files and folders, the product variant, and the system shell.
#pragma once

#include "HostApi.h"
#include "UtCString.h"

// Size of the host's path buffers, terminating zero included.
constexpr int UT_MAX_PATH = 1024;

// The variable's value from the host process's environment; the default when it
// is unset or empty.
HOST_API UtCString OsGetEnvDflt(const UtCString& name, const UtCString& dflt);
// As OsGetEnvDflt, but a variable missing from the environment is then looked up
// in the machine's settings before the default is taken.
HOST_API UtCString OsGetEnvOrLocalMachine(const UtCString& name, const UtCString& dflt);

// Non-zero when the path names an existing file (not a folder).
HOST_API int UtIsFile(const UtCString& path);
// The host's folder for temporary files, without a trailing separator.
HOST_API UtCString UtGetTempDir();
// Joins folder and file with one backslash into out, which holds UT_MAX_PATH
// bytes; a longer result is cut.
HOST_API void UtJoinPathFile(const UtCString& folder, const UtCString& file, char* out);

// Non-zero when the host runs as its 2-D product.
HOST_API int UtCadIsMe2d();

// Runs the command line through the system shell; returns its exit code.
HOST_API int UtSystem(const UtCString& commandLine);
