// Move-only owners for Win32 kernel handles, so every handle is closed exactly once
// on every path (early returns, exceptions) without hand-written CloseHandle calls.
#pragma once

#include <windows.h>

#include <utility>

namespace catalog {

// Owns a handle whose "no handle" value is Invalid (nullptr for most objects,
// INVALID_HANDLE_VALUE for files).
template <HANDLE (*Invalid)()>
class BasicUniqueHandle {
public:
    BasicUniqueHandle() = default;
    explicit BasicUniqueHandle(HANDLE handle) : handle_(handle) {}
    ~BasicUniqueHandle() { reset(); }

    BasicUniqueHandle(const BasicUniqueHandle&) = delete;
    BasicUniqueHandle& operator=(const BasicUniqueHandle&) = delete;

    BasicUniqueHandle(BasicUniqueHandle&& other) noexcept : handle_(other.release()) {}
    BasicUniqueHandle& operator=(BasicUniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != Invalid() && handle_ != nullptr; }
    explicit operator bool() const { return valid(); }

    HANDLE release() { return std::exchange(handle_, Invalid()); }

    void reset(HANDLE handle = Invalid()) {
        if (valid()) {
            CloseHandle(handle_);
        }
        handle_ = handle;
    }

private:
    HANDLE handle_ = Invalid();
};

inline HANDLE nullHandleValue() { return nullptr; }
inline HANDLE invalidHandleValue() { return INVALID_HANDLE_VALUE; }

// Process, thread, mutex, event, snapshot handles.
using UniqueHandle = BasicUniqueHandle<nullHandleValue>;
// Handles from CreateFile.
using UniqueFileHandle = BasicUniqueHandle<invalidHandleValue>;

}  // namespace catalog
