// pvestra.exe: the catalog viewer. A GUI program with one window (ViewerWindow) and
// one thread running the message loop. It ends when WM_QUIT arrives (posted to the
// window or after WM_CLOSE destroyed it).
#include "common/CatalogLog.h"
#include "common/CatalogRoot.h"
#include "common/CommandLine.h"
#include "common/Options.h"
#include "viewer/ViewerWindow.h"

#include <windows.h>

#include <string>

namespace {

constexpr char kTitle[] = "BRENVIKCAD PARTS";

std::string environmentVariable(const char* name) {
    char buffer[512] = {};
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

int runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const std::string root = catalog::catalogRootFromExecutable();
    catalog::openCatalogLog(catalog::catalogLogPath(root), "pvestra");
    const std::string commandLine = GetCommandLineA();
    catalog::logLine("start: " + commandLine);

    const auto tokens = catalog::tokenizeCommandLine(commandLine);
    auto options = catalog::parseViewerArguments(tokens.tokens);
    if (!tokens.ok() || !options.ok()) {
        catalog::logLine("bad command line: " + (tokens.ok() ? options.error : tokens.error));
        return 2;
    }
    const std::string environmentLanguage = environmentVariable("MERIDAX_LANGUAGE");
    if (options.value.language.empty()) options.value.language = environmentLanguage;
    catalog::logLine("options: " + catalog::describeOptions(options.value) + " MERIDAX_LANGUAGE=" +
                     (environmentLanguage.empty() ? "(not set)" : environmentLanguage));

    catalog::ViewerWindow viewer(instance, kTitle, options.value);
    if (viewer.window() == nullptr) {
        catalog::logLine("cannot create the viewer window");
        return 3;
    }
    catalog::logLine(std::string("window created: \"") + kTitle + "\"");
    viewer.applyCommand(options.value);
    viewer.show();

    const int exitCode = runMessageLoop();
    catalog::logLine(viewer.window() != nullptr ? "WM_QUIT received, quitting" : "window closed, quitting");
    return exitCode;
}
