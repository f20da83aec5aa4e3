#pragma once

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>

namespace platform {

// Owners of the Windows resources that the program holds; none can be copied.

struct CoTaskMemDeleter {
    void operator()(void* memory) const noexcept { CoTaskMemFree(memory); }
};
using ItemIdList = std::unique_ptr<ITEMIDLIST, CoTaskMemDeleter>;
template <class T> using CoTaskMemPtr = std::unique_ptr<T, CoTaskMemDeleter>;

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

struct ModuleFreer {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

// A drop handle is released with DragFinish on every way out, exceptions included.
struct DropFinisher {
    void operator()(HDROP drop) const noexcept { DragFinish(drop); }
};
using DropHandle = std::unique_ptr<std::remove_pointer_t<HDROP>, DropFinisher>;

// OleInitialize and CoInitialize for the GUI thread, undone only where they succeeded.
class OleInitialization {
public:
    OleInitialization() : succeeded_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleInitialization() {
        if (succeeded_) {
            OleUninitialize();
        }
    }
    OleInitialization(const OleInitialization&) = delete;
    OleInitialization& operator=(const OleInitialization&) = delete;

private:
    bool succeeded_;
};

class ComInitialization {
public:
    ComInitialization() : succeeded_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComInitialization() {
        if (succeeded_) {
            CoUninitialize();
        }
    }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

private:
    bool succeeded_;
};

} // namespace platform
