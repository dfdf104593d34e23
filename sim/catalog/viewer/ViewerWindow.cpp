// The viewer's main window; see ViewerWindow.h.
#include "viewer/ViewerWindow.h"

#include "common/CatalogLog.h"
#include "common/CatalogMessages.h"
#include "common/HandOver.h"
#include "common/Labels.h"
#include "viewer/WideText.h"

namespace catalog {

namespace {

constexpr int kFamilyListId = 101;
constexpr int kSizeListId = 102;
constexpr int kTakeButtonId = 103;
constexpr UINT_PTR kRecordStepTimerId = 1;
constexpr UINT_PTR kReopenCheckTimerId = 2;
constexpr UINT kReopenCheckMs = 20;
constexpr UINT kReplyTimeoutMs = 5000;

std::wstring viewerClassName() { return wideFromUtf8(kViewerWindowClass); }

void registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    static const std::wstring className = viewerClassName();
    windowClass.lpszClassName = className.c_str();
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

HWND createChild(HWND parent, const wchar_t* controlClass, DWORD style, int id, int x, int y,
                 int width, int height) {
    return CreateWindowExW(0, controlClass, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                           nullptr);
}

void setText(HWND control, const std::string& utf8) {
    SetWindowTextW(control, wideFromUtf8(utf8).c_str());
}

void addListItem(HWND list, const std::string& utf8) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideFromUtf8(utf8).c_str()));
}

int selectedIndex(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

std::string describeVariables(const Variables& variables) {
    std::string text;
    for (const auto& [name, value] : variables) text += " " + name + "=" + value;
    return text;
}

}  // namespace

ViewerWindow::ViewerWindow(HINSTANCE instance, const std::string& title,
                           const CatalogOptions& options)
    : options_(options) {
    registerWindowClass(instance, &ViewerWindow::windowProcedure);
    CreateWindowExW(0, viewerClassName().c_str(), wideFromUtf8(title).c_str(),
                    WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 660, 470, nullptr, nullptr,
                    instance, this);
    if (window_ == nullptr) return;
    createControls();
    applyLabels();
    setStatus(labelsFor(options_.language).ready);
}

void ViewerWindow::show() {
    ready_ = true;
    ShowWindow(window_, SW_SHOW);
}

ViewerWindow::~ViewerWindow() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

LRESULT CALLBACK ViewerWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ViewerWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ViewerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self != nullptr ? self->handleMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ViewerWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kTakeButtonId && HIWORD(wParam) == BN_CLICKED) take();
            if (LOWORD(wParam) == kFamilyListId && HIWORD(wParam) == LBN_SELCHANGE) onFamilySelected();
            if (LOWORD(wParam) == kSizeListId && HIWORD(wParam) == LBN_SELCHANGE) onSizeSelected();
            return 0;
        case WM_TIMER:
            if (wParam == kRecordStepTimerId) onRecordStep();
            if (wParam == kReopenCheckTimerId) onReopenCheck();
            return 0;
        case WM_COPYDATA:
            return onCopyData(reinterpret_cast<HWND>(wParam),
                              *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_CLOSE:
            logLine("WM_CLOSE received, closing");
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void ViewerWindow::createControls() {
    familyCaption_ = createChild(window_, L"STATIC", 0, 0, 10, 10, 300, 20);
    familyList_ = createChild(window_, L"LISTBOX", WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                              kFamilyListId, 10, 32, 300, 300);
    sizeCaption_ = createChild(window_, L"STATIC", 0, 0, 320, 10, 310, 20);
    sizeList_ = createChild(window_, L"LISTBOX", WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                            kSizeListId, 320, 32, 310, 300);
    takeButton_ = createChild(window_, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kTakeButtonId,
                              500, 345, 130, 28);
    statusLine_ = createChild(window_, L"STATIC", SS_LEFTNOWORDWRAP, 0, 10, 390, 620, 20);
}

void ViewerWindow::applyLabels() {
    const Labels& labels = labelsFor(options_.language);
    setText(familyCaption_, labels.families);
    setText(sizeCaption_, labels.sizes);
    setText(takeButton_, labels.take);
    fillFamilyList();
}

void ViewerWindow::fillFamilyList() {
    SendMessageW(familyList_, LB_RESETCONTENT, 0, 0);
    for (const auto& family : catalog_.families()) {
        addListItem(familyList_, familyTitle(family.key, options_.language));
    }
    SendMessageW(familyList_, LB_SETCURSEL, static_cast<WPARAM>(shownFamily_), 0);
}

void ViewerWindow::fillSizeList() {
    SendMessageW(sizeList_, LB_RESETCONTENT, 0, 0);
    if (shownFamily_ < 0) return;
    const auto& parts = catalog_.families()[static_cast<size_t>(shownFamily_)].parts;
    int selected = -1;
    for (size_t i = 0; i < parts.size(); ++i) {
        addListItem(sizeList_, parts[i].size);
        if (&parts[i] == shownPart_) selected = static_cast<int>(i);
    }
    SendMessageW(sizeList_, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void ViewerWindow::onFamilySelected() {
    shownFamily_ = selectedIndex(familyList_);
    shownPart_ = nullptr;
    fillSizeList();
}

void ViewerWindow::onSizeSelected() {
    const int index = selectedIndex(sizeList_);
    if (shownFamily_ < 0 || index < 0) return;
    shownPart_ = &catalog_.families()[static_cast<size_t>(shownFamily_)].parts[static_cast<size_t>(index)];
    setStatus(labelsFor(options_.language).opened + shownPart_->designation);
}

void ViewerWindow::applyCommand(const CatalogOptions& options) {
    const bool languageChanged = !options.language.empty() && options.language != options_.language;
    lastCommand_ = describeOptions(options);
    options_.cadName = options.cadName;
    options_.path = options.path;
    options_.format = options.format;
    if (languageChanged) {
        options_.language = options.language;
        applyLabels();
    }
    if (!options.hasMident) return;
    const MidentParseResult mident = parseMident(options.mident);
    if (!mident.ok()) {
        logLine("cannot read mident '" + options.mident + "': " + mident.error);
        setStatus(labelsFor(options_.language).notFound + options.mident);
        return;
    }
    showLookup(catalog_.findPart(mident.mident));
}

void ViewerWindow::showLookup(const PartLookup& lookup) {
    const Labels& labels = labelsFor(options_.language);
    if (!lookup.ok()) {
        // Leave the lists as they are; only say what was not found.
        logLine("part not found: " + lookup.error);
        setStatus(labels.notFound + lookup.error);
        return;
    }
    const auto& families = catalog_.families();
    for (size_t i = 0; i < families.size(); ++i) {
        if (families[i].key == lookup.part->familyKey) shownFamily_ = static_cast<int>(i);
    }
    shownPart_ = lookup.part;
    SendMessageW(familyList_, LB_SETCURSEL, static_cast<WPARAM>(shownFamily_), 0);
    fillSizeList();
    logLine("opened part " + shownPart_->familyKey + describeVariables(shownPart_->variables) +
            " (" + shownPart_->designation + ")");
    setStatus(labels.opened + shownPart_->designation);
}

ActionResult ViewerWindow::showPart(const std::string& familyKey, const Variables& values) {
    const PartLookup lookup = catalog_.findPart(familyKey, values);
    showLookup(lookup);
    return lookup.ok() ? ActionResult::success(lookup.part->designation)
                       : ActionResult::failure(lookup.error);
}

ActionResult ViewerWindow::take() {
    const Labels& labels = labelsFor(options_.language);
    if (shownPart_ == nullptr) {
        setStatus(labels.nothingShown);
        logLine("take refused: no part shown");
        return ActionResult::failure("no part shown");
    }
    logLine("take " + shownPart_->designation + " to " + options_.path + " as " + options_.format);
    const ActionResult result = exporter_.take(*shownPart_, options_.path, options_.format);
    if (!result.ok) logLine("take failed: " + result.text);
    showTakeStatus(result);
    scheduleRecordStep();
    if (exporter_.pending() == PartExporter::Pending::Reopening) {
        SetTimer(window_, kReopenCheckTimerId, kReopenCheckMs, nullptr);
    }
    quitIfTakeDone();
    return result;
}

void ViewerWindow::onReopenCheck() {
    if (exporter_.pending() == PartExporter::Pending::Reopening) return;
    KillTimer(window_, kReopenCheckTimerId);
    quitIfTakeDone();
}

// The user closes the window right after taking: once nothing of the take is
// open any more, the window is closed as its close button would.
void ViewerWindow::quitIfTakeDone() {
    if (!quitAfterTake_ || exporter_.pending() != PartExporter::Pending::Nothing) return;
    quitAfterTake_ = false;
    logLine("quitting after the take");
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

void ViewerWindow::showTakeStatus(const ActionResult& result) {
    const Labels& labels = labelsFor(options_.language);
    if (!result.ok) {
        setStatus(labels.failed + result.text);
        return;
    }
    switch (exporter_.pending()) {
        case PartExporter::Pending::HeldRecord:
            setStatus(labels.recordHeld + options_.path + ".txt");
            break;
        case PartExporter::Pending::HeldGeometry:
            setStatus(labels.geometryHeld + options_.path);
            break;
        case PartExporter::Pending::RecordInPieces:
            setStatus(labels.recordWriting + options_.path + ".txt");
            break;
        case PartExporter::Pending::Reopening:
        case PartExporter::Pending::Nothing:
            setStatus(labels.written + options_.path);
            break;
    }
}

void ViewerWindow::scheduleRecordStep() {
    const auto delayMs = exporter_.nextRecordStepInMs();
    if (delayMs) SetTimer(window_, kRecordStepTimerId, *delayMs, nullptr);
}

void ViewerWindow::onRecordStep() {
    KillTimer(window_, kRecordStepTimerId);
    const ActionResult result = exporter_.continueRecord();
    const Labels& labels = labelsFor(options_.language);
    if (!result.ok) {
        setStatus(labels.failed + result.text);
    } else if (exporter_.pending() == PartExporter::Pending::Nothing) {
        setStatus(labels.written + result.text.substr(8));  // after "written "
    }
    scheduleRecordStep();
    quitIfTakeDone();
}

std::string ViewerWindow::shownDescription() const {
    if (shownPart_ != nullptr) return shownPart_->familyKey + describeVariables(shownPart_->variables);
    if (shownFamily_ >= 0) return catalog_.families()[static_cast<size_t>(shownFamily_)].key;
    return "none";
}

void ViewerWindow::armBrokenGeometry() {
    logLine("fault armed: next take writes a broken geometry file");
    exporter_.armBrokenGeometry();
}

void ViewerWindow::armHoldGeometry() {
    logLine("fault armed: next take holds its geometry file half written and open");
    exporter_.armHoldGeometry();
}

void ViewerWindow::armHoldRecord() {
    logLine("fault armed: next take holds its record back");
    exporter_.armHoldRecord();
}

void ViewerWindow::armRecordPieces(const RecordPieces& pieces) {
    logLine("fault armed: next take writes its record in " + describePlan(pieces));
    exporter_.armRecordPieces(pieces);
}

void ViewerWindow::armReopeningWriter(unsigned forMs) {
    logLine("fault armed: next take reopens its record for writing for " + std::to_string(forMs) + " ms");
    exporter_.armReopeningWriter(forMs);
}

void ViewerWindow::armLongRemark(unsigned length) {
    logLine("fault armed: next take's record carries a remark of " + std::to_string(length) + " characters");
    exporter_.armLongRemark(length);
}

void ViewerWindow::armQuitAfterTake() {
    logLine("fault armed: the viewer quits once the next take has closed its files");
    quitAfterTake_ = true;
}

ActionResult ViewerWindow::releaseHeld() {
    const ActionResult result = exporter_.releaseHeld();
    if (result.ok) setStatus(labelsFor(options_.language).written + result.text.substr(9));  // after "released "
    quitIfTakeDone();
    return result;
}

void ViewerWindow::setStatus(const std::string& text) {
    status_ = text;
    setText(statusLine_, text);
}

LRESULT ViewerWindow::onCopyData(HWND sender, const COPYDATASTRUCT& data) {
    if (!ready_) {
        logLine("WM_COPYDATA refused: still starting");
        return FALSE;
    }
    const std::string text = copyDataText(data);
    if (data.dwData == kHandOverCommand) {
        const auto command = decodeHandOver(text);
        if (!command.ok()) {
            logLine("bad handed-over command: " + command.error);
            return FALSE;
        }
        logLine("command received (hand-over): " + describeOptions(command.value));
        applyCommand(command.value);
        return TRUE;
    }
    if (data.dwData == kAutomationRequest) {
        logLine("automation command: " + text);
        const std::string reply = runAutomationCommand(text, *this);
        logLine("automation reply: " + reply.substr(0, reply.find('\n')));
        if (!sendCopyData(sender, window_, kAutomationReply, reply, kReplyTimeoutMs)) {
            logLine("automation reply could not be delivered");
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace catalog
