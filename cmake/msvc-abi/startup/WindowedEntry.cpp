// Stands in for the runtime's entry point of a windowed program
// (WinMainCRTStartup): WinMain gets the command line after the program's name,
// and the process ends with its result.
#include <windows.h>

#include <stdlib.h>

#include "StartupTables.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {

LPSTR ArgumentsAfterProgramName()
{
    char* text = GetCommandLineA();
    bool quoted = false;
    for (; *text && (quoted || (*text != ' ' && *text != '\t')); ++text)
        if (*text == '"')
            quoted = !quoted;
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

} // namespace

extern "C" int WinMainCRTStartup()
{
    StartProgram();
    exit(WinMain(GetModuleHandleW(nullptr), nullptr, ArgumentsAfterProgramName(), SW_SHOWDEFAULT));
}
