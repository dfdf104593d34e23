// What the fuzzer does with an input that failed: it copies the record file (which
// always holds the input being checked) into the output folder and prints where.
// A crash or a hang cannot return to the loop, so for them the copy, the message
// and the removal of the temporary files happen here, with Win32 calls and stack
// buffers only, before the process ends with a non-zero code.
#pragma once

#include <windows.h>

#include <string>

// The paths the failure handling needs; call before the first input.
void SetFailurePaths(const std::wstring& recordFile, const std::wstring& tempFolder,
                     const std::wstring& outputFolder);
void SetCurrentInputNumber(unsigned long long number) noexcept;

// Copies the record file to "<output>\<kind>-input<N>.txt" and prints the
// finding and the saved path. False when it could not be saved.
bool SaveFailingInput(const char* kind, const char* detail) noexcept;

// Saves the input, removes the temporary files and ends the process.
[[noreturn]] void SaveAndTerminate(const char* kind, const char* detail, UINT exitCode) noexcept;

// Unhandled structured exceptions (access violations, stack overflow...) and
// abort() (an uncaught C++ exception ends there) save the input and end the run.
void InstallCrashHandlers();
