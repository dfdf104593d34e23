// The catalog plug-in object: the one object that holds the integration's state
// while it is started (where the catalog is, the export names, what was read from
// the last export record, the parts an import works on, the export watcher), and
// the host event source through which the watcher hands a finished export to the
// host's main thread. Every operation runs on the host's main thread; the watcher
// thread only calls FindCatalogProcesses(Query) and Synchronize.
#pragma once

#include "BrenvikViewEvent.h"
#include "CatalogState.h"
#include "CiDrawing.h"
#include "GoStandardCall.h"
#include "ObObject.h"
#include "UtCString.h"

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class MERIDAX_tarnvel_thread;

using NameValueList = std::vector<std::pair<UtCString, UtCString>>;

// A user's catalog command (100, 101 or 102) held back until the import of an
// export that was on its way when it was given. A 102 keeps its part and the
// identification read from it then: the user may delete the part meanwhile.
struct HeldCommand {
    int functionNumber;
    _ObObject* part = nullptr;
    bool identified = false;
    UtCString modelIdent;
};

// Final: the base's destructor is deliberately not virtual, and the object is
// always destroyed through its own type, which no derived class may change.
class MERIDAX_plugin final : public BrenvikViewEventSource {
public:
    MERIDAX_plugin(const UtCString& root, int formatNumber, int languageNumber);
    ~MERIDAX_plugin();
    MERIDAX_plugin(const MERIDAX_plugin&) = delete;
    MERIDAX_plugin& operator=(const MERIDAX_plugin&) = delete;

    // --- Export watching and delivery ---
    // Stops and destroys the watcher, if any; returns when its thread has ended.
    void StopWatching();
    // Deletes the export files of the current export names; failures are ignored.
    void DeleteExportFiles();
    // A finished export reached the main thread: stop watching, have function 104 run.
    void OnSynchronize(void* data) override;
    // Has the host call the macro function entry with this number later.
    void RequestFunction(int functionNumber);
    int CallStandard(Go::GoStandardCall& call);

    // --- The catalog command line ---
    static UtCString GetLanguageName(int languageNumber);
    static UtCString GetExportFormatName(int formatNumber);
    // Fixes the export directory and names for this format; returns the export path.
    UtCString GetExportPath(int format);
    // Also sets MERIDAX_LANGUAGE and the export names.
    UtCString BuildCommandLine(UtCString& modelIdent);

    // --- The user's catalog commands, in the order of the exports ---
    // Runs the command now, or holds it while the watcher has decided a delivery
    // that waits for its writer (and while commands are held), so that it takes
    // effect after that import, as if the export had come when it was complete.
    void RunOrHoldCommand(int functionNumber, _ObObject* part);

    // --- The user's catalog actions ---
    // Opens the catalog for a new part; true when a command was sent.
    bool NewPart();
    // Opens the catalog on a placed part (null allowed); true when a command was
    // sent, for the part or, after the notice, for a new part.
    bool EditPart(_ObObject* part);
    // The same, with the part's identification read before (`identified` false
    // when it has none).
    bool EditIdentifiedPart(_ObObject* part, bool identified, UtCString modelIdent);
    // The model identification text of a placed catalog part; false when it has none.
    bool GetPartIdentification(_ObObject* part, UtCString& modelIdent);

    // --- The export record ---
    // Replaces the three record lists with what the record file holds.
    void ParseExportRecord();

    // --- The import ---
    // Reads the exported part into the drawing (new, or in the edited part's
    // place), deletes the export files and has the catalog shown again, or runs
    // the commands held for this import in that call's place.
    void ImportExportedPart();
    // Remembers the part that the reader reported and writes its attributes.
    void TagImportedPart(DsCsr* cursor);
    void WriteAttribute(long unit, const DsCsr& cursor, const UtCString& name,
                        const UtCString& value);

    // --- The catalog processes ---
    bool SendTVLCommand(const UtCString& commandLine);
    int FindCatalogProcesses(int mode) const;
    void CloseCatalog();

    UtCString rootDir;
    UtCString exportDir;
    UtCString exportFile;
    UtCString recordFile;
    UtCString exportFileName;
    NameValueList recordAttributes;
    std::vector<UtCString> identPieces;
    NameValueList identVariables;
    int languageNumber;
    int formatNumber;
    _ObObject* importedPart = nullptr;
    _ObObject* editedPart = nullptr;
    STARTUPINFOA startupInfo;
    PROCESS_INFORMATION processInfo;
    std::unique_ptr<MERIDAX_tarnvel_thread> watcher;
    std::vector<HeldCommand> heldCommands;

private:
    void RunCommand(const HeldCommand& command);
    void RunHeldCommands(const std::vector<HeldCommand>& held, _ObObject* replaced, _ObObject* replacement);
    // The import's reading part; the part that took the edited part's place, if any.
    _ObObject* ReadExportIntoDrawing(bool showCatalogAfter);
    void AddModelIdentifier(const std::string& line);
    void ShowPartNotLoadedNotice();
    void InsertNewPart();
    _ObObject* ReplaceEditedPart(CiPat& pat, CiWork& work);
    // Asks every catalog window to quit and, when that could be asked, ends the viewer.
    void CloseCatalogProcesses();
};

// EnumWindows callback: `mode` points to a CatalogMode, or is 0 for Query.
BOOL CALLBACK CatalogWindowProc(HWND window, LPARAM mode);
// Whether a window title (as read into 80 bytes) is the catalog's: the product
// name, letter case aside.
bool IsCatalogWindowTitle(const char* title);
