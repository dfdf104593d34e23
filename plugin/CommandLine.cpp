// The catalog command line, and the export directory and file names that it
// fixes. The file names carry the host's process id, so every catalog action of
// one host uses the same names and two hosts never share them.
#include "MERIDAX_plugin.h"

#include "GlobalStrings.h"
#include "UtSystem.h"

#include <process.h>

namespace {

constexpr int FORMAT_DWG2D = 9;

// File extensions by format number. Plain constant tables, here and below: a
// table built on first use would take the thread runtime's lock for the guard,
// which with this toolchain's static runtime costs the host's main thread a TLS
// index and two handles on every load of the library.
const char* const EXTENSIONS[] = {"ige", "sat", "stp", "xb", "xt", "3ds", "dae", "stl", "obj", "dwg"};
constexpr int FORMAT_COUNT = sizeof EXTENSIONS / sizeof EXTENSIONS[0];

UtCString Quoted(const UtCString& text) { return UtCString("\"") + text + "\""; }

}  // namespace

UtCString MERIDAX_plugin::GetLanguageName(int languageNumber)
{
    static const char* const names[] = {
        "german",  "english",  "french",  "italian",             "spanish", "portuguese",
        "czech",   "japanese", "chinese", "chinese_traditional", "korean",  "russian",
    };
    constexpr int count = sizeof names / sizeof names[0];
    return languageNumber >= 0 && languageNumber < count ? names[languageNumber] : "german";
}

UtCString MERIDAX_plugin::GetExportFormatName(int formatNumber)
{
    static const char* const names[] = {
        "IGES", "SAT", "STEP", "XB", "XT", "3DSTUDIOMAX", "COLLADA", "STL", "OBJFILE", "DWG2D",
    };
    if (formatNumber >= 0 && formatNumber <= FORMAT_DWG2D)
        return names[formatNumber];
    return UtCadIsMe2d() ? "DWG2D" : "STEP";
}

UtCString MERIDAX_plugin::GetExportPath(int format)
{
    exportDir = OsGetEnvDflt("KVT_TARNVEL_EXPORT_DIR", UtGetTempDir());

    bool known = format >= 0 && format < FORMAT_COUNT;
    UtCString extension = known ? EXTENSIONS[format] : UtCadIsMe2d() ? "dwg" : "sat";

    exportFileName.Format("tarnvel_output_%d.", _getpid());
    exportFileName += extension;

    char joined[UT_MAX_PATH] = {};
    UtJoinPathFile(exportDir, exportFileName, joined);
    exportFile = joined;
    recordFile = exportFile + ".txt";
    return exportFile;
}

UtCString MERIDAX_plugin::BuildCommandLine(UtCString& modelIdent)
{
    SetEnvironmentVariableA("MERIDAX_LANGUAGE", GetLanguageName(languageNumber).c_str());
    UtCString formatName = GetExportFormatName(formatNumber);
    UtCString exportPath = GetExportPath(formatNumber);

    UtCString commandLine = Quoted(rootDir + g_scriptHostExe) + " ";
    commandLine += Quoted(rootDir + g_startScript);
    commandLine += UtCString(" -cadname ") + Quoted(g_cadName);
    commandLine += UtCString(" -path ") + Quoted(exportPath);
    commandLine += UtCString(" -format ") + Quoted(formatName);
    if (!modelIdent.empty())
        commandLine += UtCString(" -mident ") + Quoted(modelIdent);
    return commandLine;
}
