// cscripthost.exe: the catalog's script host, the only program the plug-in starts.
// A windowless program (started with CREATE_NO_WINDOW); everything it does goes to
// <root>\catalog.log. Single-threaded.
#include "common/CatalogLog.h"
#include "common/CatalogRoot.h"
#include "scripthost/ScriptHost.h"

#include <windows.h>

#include <string>

namespace {

std::string environmentVariable(const char* name) {
    char buffer[512] = {};
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string root = catalog::catalogRootFromExecutable();
    catalog::openCatalogLog(catalog::catalogLogPath(root), "cscripthost");
    const int exitCode = catalog::runScriptHost(GetCommandLineA(),
                                                environmentVariable("MERIDAX_LANGUAGE"), root);
    catalog::logLine("exit " + std::to_string(exitCode));
    return exitCode;
}
