// The host's diagnostic channels, recorded for scripts and tests to read.
#include "UtDiagnostics.h"

#include "Journal.h"

#include <string>

int UtErrorLogWarning(const char* line)
{
    sim::Journal::instance().addErrorLine(line ? line : "");
    return 0;
}

void DebugAssertInv(const char* file, int line, const char* function, int number,
                    const char* format, const char* argumentName, long value)
{
    sim::Json report = sim::Json::object();
    report.set("file", file ? file : "");
    report.set("line", line);
    report.set("function", function ? function : "");
    report.set("number", number);
    report.set("format", format ? format : "");
    report.set("argument", argumentName ? argumentName : "");
    report.set("value", value);
    sim::Journal::instance().addAssert(std::move(report));
}
