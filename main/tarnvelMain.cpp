// Start-up and shutdown of the integration: finds the catalog installation, makes
// the one plug-in object, and destroys it at shutdown or when the library is
// unloaded without shutdown.
#include "tarnvelMain.h"

#include "GlobalStrings.h"
#include "InstallationOffer.h"
#include "LanguageNumber.h"
#include "MERIDAX_plugin.h"
#include "UtSystem.h"

std::unique_ptr<MERIDAX_plugin> g_plugin;

namespace {

constexpr int CATALOG_NOT_INSTALLED = 4711;
constexpr int FORMAT_SAT = 1;
constexpr int FORMAT_DWG2D = 9;

bool HasStartFiles(const UtCString& root)
{
    return UtIsFile(root + g_scriptHostExe) && UtIsFile(root + g_startScript);
}

UtCString AsRoot(const UtCString& directory)
{
    return UtCString::StandardizePath(directory) + "\\";
}

}  // namespace

extern "C" int Main()
{
    if (g_plugin)
        return 0;

    UtCString suiteDir = OsGetEnvOrLocalMachine("SUITE_DIR", "C:\\Program Files\\BrenvikSuite");
    UtCString hostVersion = OsGetEnvDflt("HD_VE", "1700");
    UtCString hostLanguage = OsGetEnvDflt("HD_LA", "de");

    UtCString suiteCatalogDir;
    suiteCatalogDir.FormatStringList("%s\\BRENVIKCAD%s-Tarnvel", {suiteDir, hostVersion.substr(0, 2)});

    UtCString root = AsRoot(OsGetEnvDflt("KVT_TARNVEL_ROOT_DIR", suiteCatalogDir));
    if (!HasStartFiles(root)) {
        root = AsRoot(suiteCatalogDir);
        if (!HasStartFiles(root)) {
            OfferInstallation();
            return CATALOG_NOT_INSTALLED;
        }
    }

    int formatNumber = UtCadIsMe2d() ? FORMAT_DWG2D : FORMAT_SAT;
    g_plugin.reset(new MERIDAX_plugin(root, formatNumber, LanguageNumber(hostLanguage)));
    return 0;
}

extern "C" int TarnvelMain() { return Main(); }

extern "C" int End()
{
    g_plugin.reset();
    return 0;
}

extern "C" int TarnvelEnd() { return End(); }

namespace tarnvel {

void DestroyPluginAtUnload(UnloadKind kind)
{
    UnloadInProgress unload(kind);
    g_plugin.reset();
}

}  // namespace tarnvel
