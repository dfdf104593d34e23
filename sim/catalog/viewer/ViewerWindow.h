// The viewer's main window: family list, size list, Take button, status line. It
// keeps what is shown and where the next take writes, receives handed-over commands
// and automation requests (WM_COPYDATA), and ends on WM_CLOSE. A record written in
// pieces is continued on a timer, so the window keeps answering meanwhile; so is
// the look whether a reopening writer is done, and a viewer armed to quit after
// its take ends once the take has closed its files.
// Everything runs on the UI thread (the one that created the window).
#pragma once

#include "common/Options.h"
#include "common/PartCatalog.h"
#include "viewer/AutomationCommands.h"
#include "viewer/PartExporter.h"

#include <windows.h>

#include <string>

namespace catalog {

class ViewerWindow : public ViewerActions {
public:
    // Creates and shows the window; window() is nullptr when that failed.
    ViewerWindow(HINSTANCE instance, const std::string& title, const CatalogOptions& options);
    ~ViewerWindow() override;

    ViewerWindow(const ViewerWindow&) = delete;
    ViewerWindow& operator=(const ViewerWindow&) = delete;

    HWND window() const { return window_; }

    // Shows the window and starts taking WM_COPYDATA commands. Until then a sender
    // that finds the (hidden) window gets FALSE back, as the lists are not filled yet.
    void show();

    // A new command: from our own command line at start, or handed over later.
    void applyCommand(const CatalogOptions& options);

    // ViewerActions
    ActionResult showPart(const std::string& familyKey, const Variables& values) override;
    ActionResult take() override;
    std::string shownDescription() const override;
    std::string statusText() const override { return status_; }
    std::string lastCommand() const override { return lastCommand_; }
    void armBrokenGeometry() override;
    void armHoldGeometry() override;
    void armHoldRecord() override;
    void armRecordPieces(const RecordPieces& pieces) override;
    void armReopeningWriter(unsigned forMs) override;
    void armLongRemark(unsigned length) override;
    void armQuitAfterTake() override;
    ActionResult releaseHeld() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls();
    void applyLabels();
    void fillFamilyList();
    void fillSizeList();
    void onFamilySelected();
    void onSizeSelected();
    void showLookup(const PartLookup& lookup);
    void setStatus(const std::string& text);
    void showTakeStatus(const ActionResult& result);
    void scheduleRecordStep();
    void onRecordStep();
    void onReopenCheck();
    void quitIfTakeDone();
    LRESULT onCopyData(HWND sender, const COPYDATASTRUCT& data);

    PartCatalog catalog_;
    PartExporter exporter_;
    CatalogOptions options_;
    int shownFamily_ = -1;          // index into catalog_.families(), -1 = none
    const Part* shownPart_ = nullptr;
    std::string status_;
    std::string lastCommand_;
    bool ready_ = false;
    bool quitAfterTake_ = false;

    HWND window_ = nullptr;
    HWND familyCaption_ = nullptr;
    HWND familyList_ = nullptr;
    HWND sizeCaption_ = nullptr;
    HWND sizeList_ = nullptr;
    HWND takeButton_ = nullptr;
    HWND statusLine_ = nullptr;
};

}  // namespace catalog
