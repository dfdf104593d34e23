// Construction and destruction of the plug-in object, and the two small
// operations that several catalog operations share.
#include "MERIDAX_plugin.h"

#include "GlobalStrings.h"
#include "MERIDAX_tarnvel_thread.h"
#include "TrtMessages.h"

MERIDAX_plugin::MERIDAX_plugin(const UtCString& root, int formatNumber, int languageNumber)
    : languageNumber(languageNumber), formatNumber(formatNumber), startupInfo{}, processInfo{}
{
    g_productName = TrtMsgGet("cad_msg.txt", 11637, "BRENVIKCAD PARTS");
    rootDir = UtCString::StandardizePath(root) + "\\";
    BrenvikViewEventInterface::getInstance()->Register(this);
}

// The order matters: the watcher thread ends before anything it might still use
// goes, and an event it queued just before is dropped by the deregistration, so
// OnSynchronize never runs on a destroyed object. A delivery still waiting for
// its writer is dropped rather than queued: nothing would run it.
MERIDAX_plugin::~MERIDAX_plugin()
{
    if (watcher)
        watcher->DropDelivery();
    StopWatching();
    CloseCatalogProcesses();
    BrenvikViewEventInterface::getInstance()->Deregister(this);
    DeleteExportFiles();
}

void MERIDAX_plugin::StopWatching()
{
    watcher.reset();
}

void MERIDAX_plugin::DeleteExportFiles()
{
    DeleteFileA(exportFile.c_str());
    DeleteFileA(recordFile.c_str());
}
