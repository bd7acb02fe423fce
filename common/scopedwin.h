// Small owners for Win32 handles and heap strings, so every path releases
// what it took.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <memory>

struct FreeDeleter {
    void operator()(void* block) const { free(block); }
};
// A heap string of the shared run-time heap, freed with free().
using HeapString = std::unique_ptr<char, FreeDeleter>;

template <typename T>
class ScopedGdiObj {
public:
    explicit ScopedGdiObj(T object = nullptr) : object_(object) {}
    ~ScopedGdiObj() { reset(); }
    ScopedGdiObj(const ScopedGdiObj&) = delete;
    ScopedGdiObj& operator=(const ScopedGdiObj&) = delete;
    ScopedGdiObj(ScopedGdiObj&& other) noexcept : object_(other.release()) {}
    ScopedGdiObj& operator=(ScopedGdiObj&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    T get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    T release() {
        T object = object_;
        object_ = nullptr;
        return object;
    }
    void reset(T object = nullptr) {
        if (object_) DeleteObject(object_);
        object_ = object;
    }

private:
    T object_;
};

// Selects an object into a DC and puts the previous one back.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC hdc, HGDIOBJ object) : hdc_(hdc), old_(SelectObject(hdc, object)) {}
    ~ScopedSelectObject() {
        if (old_) SelectObject(hdc_, old_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC hdc_;
    HGDIOBJ old_;
};

class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), hdc_(GetDC(hwnd)) {}
    ~ScopedGetDC() {
        if (hdc_) ReleaseDC(hwnd_, hdc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    operator HDC() const { return hdc_; }

private:
    HWND hwnd_;
    HDC hdc_;
};

class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC compatible) : hdc_(CreateCompatibleDC(compatible)) {}
    ~ScopedMemoryDC() {
        if (hdc_) DeleteDC(hdc_);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    operator HDC() const { return hdc_; }

private:
    HDC hdc_;
};

// Kernel handles (files, processes, threads, events).
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = nullptr) : handle_(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset(HANDLE handle = nullptr) {
        if (valid()) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_;
};

class ScopedRegKey {
public:
    ScopedRegKey() = default;
    ~ScopedRegKey() { reset(); }
    void reset() {
        if (key_) RegCloseKey(key_);
        key_ = nullptr;
    }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;
    HKEY* receive() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};
