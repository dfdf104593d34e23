// Marks what the host's libraries export. The host stand-in builds with
// SIMHOST_BUILD and exports these names; the plug-in imports them, exactly as it
// would import them from the host's own libraries.
#pragma once

#if defined(SIMHOST_BUILD)
#define HOST_API __declspec(dllexport)
#else
#define HOST_API __declspec(dllimport)
#endif
