// Marks what the host stand-in exports beyond the host's own interfaces: the
// controls that the scriptable host and the tests use to drive and inspect it.
#pragma once

#if defined(SIMHOST_BUILD)
#define SIM_API __declspec(dllexport)
#else
#define SIM_API __declspec(dllimport)
#endif
