// Completes Wine's crtdbg.h for a release build: the debug heap's report
// functions do nothing there, as in the UCRT's header (Wine lacks
// _CrtSetReportFile and the report file constants that test frameworks name).
#pragma once
#include_next <crtdbg.h>

#ifndef _DEBUG
typedef void* _HFILE;
#define _CRTDBG_INVALID_HFILE ((_HFILE)(intptr_t)-1)
#define _CRTDBG_HFILE_ERROR ((_HFILE)(intptr_t)-2)
#define _CRTDBG_FILE_STDOUT ((_HFILE)(intptr_t)-4)
#define _CRTDBG_FILE_STDERR ((_HFILE)(intptr_t)-5)
#define _CRTDBG_REPORT_FILE ((_HFILE)(intptr_t)-6)
#ifndef _CrtSetReportFile
#define _CrtSetReportFile(t, f) ((_HFILE)0)
#endif
#endif
