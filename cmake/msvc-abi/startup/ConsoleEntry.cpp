// Stands in for the runtime's entry point of a console program
// (mainCRTStartup): the process ends with main's result.
#include <stdlib.h>

#include "StartupTables.h"

int main(int argc, char** argv);

extern "C" int mainCRTStartup()
{
    StartProgram();
    exit(main(*__p___argc(), *__p___argv()));
}
