// See FailureExit.h.
#include "FailureExit.h"

#include "UniqueHandle.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

// Fixed buffers, filled before the first input, so that a handler running on a
// nearly exhausted stack or with a damaged heap needs no allocation.
wchar_t g_recordFile[MAX_PATH * 2];
wchar_t g_tempFolder[MAX_PATH * 2];
wchar_t g_outputFolder[MAX_PATH * 2];
std::atomic<unsigned long long> g_inputNumber{0};
std::atomic<bool> g_terminating{false};

void CopyPath(wchar_t (&target)[MAX_PATH * 2], const std::wstring& path)
{
    std::wcsncpy(target, path.c_str(), MAX_PATH * 2 - 1);
    target[MAX_PATH * 2 - 1] = L'\0';
}

void Print(const char* text) noexcept
{
    DWORD written = 0;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    WriteFile(out, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

DWORD g_exceptionCode = 0;
void* g_exceptionAddress = nullptr;

DWORD WINAPI SaveCrash(void*)
{
    char detail[96];
    std::snprintf(detail, sizeof detail, "unhandled exception 0x%08lx at %p",
                  static_cast<unsigned long>(g_exceptionCode), g_exceptionAddress);
    SaveAndTerminate("crash", detail, 3);
}

// After a stack overflow the faulting thread has almost no stack left, so the
// saving runs on a fresh thread while this one waits.
LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers)
{
    g_exceptionCode = pointers->ExceptionRecord->ExceptionCode;
    g_exceptionAddress = pointers->ExceptionRecord->ExceptionAddress;
    UniqueHandle saver(CreateThread(nullptr, 256 * 1024, SaveCrash, nullptr, 0, nullptr));
    if (saver)
        WaitForSingleObject(saver.get(), INFINITE);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

void OnAbort(int)
{
    SaveAndTerminate("abort", "abort() was called (an uncaught C++ exception ends there)", 3);
}

}  // namespace

void SetFailurePaths(const std::wstring& recordFile, const std::wstring& tempFolder,
                     const std::wstring& outputFolder)
{
    CopyPath(g_recordFile, recordFile);
    CopyPath(g_tempFolder, tempFolder);
    wchar_t full[MAX_PATH * 2];
    DWORD length = GetFullPathNameW(outputFolder.c_str(), MAX_PATH * 2, full, nullptr);
    CopyPath(g_outputFolder, length > 0 && length < MAX_PATH * 2 ? std::wstring(full) : outputFolder);
}

void SetCurrentInputNumber(unsigned long long number) noexcept { g_inputNumber = number; }

bool SaveFailingInput(const char* kind, const char* detail) noexcept
{
    CreateDirectoryW(g_outputFolder, nullptr);
    wchar_t saved[MAX_PATH * 3];
    std::swprintf(saved, MAX_PATH * 3, L"%ls\\%hs-input%llu.txt", g_outputFolder, kind,
                  static_cast<unsigned long long>(g_inputNumber));
    bool copied = CopyFileW(g_recordFile, saved, FALSE) != 0;

    char message[MAX_PATH * 6 + 1200];
    char savedNarrow[MAX_PATH * 6];
    WideCharToMultiByte(CP_ACP, 0, saved, -1, savedNarrow, sizeof savedNarrow, nullptr, nullptr);
    std::snprintf(message, sizeof message, "FINDING %s at input %llu: %.1000s\n%s %s\n", kind,
                  static_cast<unsigned long long>(g_inputNumber), detail,
                  copied ? "failing input saved as" : "could not save the failing input as", savedNarrow);
    std::fflush(stdout);
    Print(message);
    return copied;
}

void SaveAndTerminate(const char* kind, const char* detail, UINT exitCode) noexcept
{
    // A crash while already ending (a second thread, or the save itself) just ends.
    if (g_terminating.exchange(true))
        TerminateProcess(GetCurrentProcess(), exitCode);
    SaveFailingInput(kind, detail);
    // The parser may still hold the record file open after a hang; then the folder
    // stays, and the message says so.
    if (!DeleteFileW(g_recordFile) || !RemoveDirectoryW(g_tempFolder)) {
        char narrow[MAX_PATH * 6];
        WideCharToMultiByte(CP_ACP, 0, g_tempFolder, -1, narrow, sizeof narrow, nullptr, nullptr);
        char message[MAX_PATH * 6 + 64];
        std::snprintf(message, sizeof message, "could not remove the temporary folder %s\n", narrow);
        Print(message);
    }
    TerminateProcess(GetCurrentProcess(), exitCode);
    for (;;) {
    }
}

void InstallCrashHandlers()
{
    // Room for the handler after a stack overflow.
    ULONG reserve = 64 * 1024;
    SetThreadStackGuarantee(&reserve);
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::signal(SIGABRT, OnAbort);
    // No error boxes, no debugger: the handler above decides.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
}
