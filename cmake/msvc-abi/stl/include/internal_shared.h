// Stands in for internal_shared.h, the runtime's closed internal header that
// the standard library's own sources include. Of it, the lazy facets'
// registration (locale0_implib.cpp) needs only the marker of data shared by
// every application domain under the managed runtime (a native build has one),
// and the heap functions that the debug heap's names map to in a release build;
// the file system code needs the runtime's owner of a heap block.
#pragma once
#include <stdlib.h>
#ifndef __PURE_APPDOMAIN_GLOBAL
#define __PURE_APPDOMAIN_GLOBAL
#endif

#ifdef __cplusplus
// Owns one block of the CRT's heap, freed when the owner goes.
template <typename T>
class __crt_unique_heap_ptr {
public:
    __crt_unique_heap_ptr() noexcept = default;
    explicit __crt_unique_heap_ptr(T* block) noexcept : _Block(block) {}
    __crt_unique_heap_ptr(__crt_unique_heap_ptr&& other) noexcept : _Block(other.release()) {}
    __crt_unique_heap_ptr& operator=(__crt_unique_heap_ptr&& other) noexcept {
        if (this != &other) {
            free(_Block);
            _Block = other.release();
        }
        return *this;
    }
    __crt_unique_heap_ptr(const __crt_unique_heap_ptr&) = delete;
    __crt_unique_heap_ptr& operator=(const __crt_unique_heap_ptr&) = delete;
    ~__crt_unique_heap_ptr() {
        free(_Block);
    }

    explicit operator bool() const noexcept {
        return _Block != nullptr;
    }
    T* get() const noexcept {
        return _Block;
    }
    T* release() noexcept {
        T* block = _Block;
        _Block = nullptr;
        return block;
    }

private:
    T* _Block = nullptr;
};

#define _malloc_crt_t(type, count) \
    __crt_unique_heap_ptr<type>(static_cast<type*>(malloc(sizeof(type) * (count))))
#endif
