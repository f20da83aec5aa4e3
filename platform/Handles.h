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

// CreateFileW reports failure with INVALID_HANDLE_VALUE rather than nullptr; this owner is empty
// then, so that `if (!file)` is right for a file as for every other handle.
class UniqueFile : public UniqueHandle {
public:
    explicit UniqueFile(HANDLE file) noexcept
        : UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file) {}
};

struct SearchCloser {
    void operator()(HANDLE search) const noexcept { FindClose(search); }
};

// FindFirstFileW, too, reports failure with INVALID_HANDLE_VALUE.
class FileSearch : public std::unique_ptr<void, SearchCloser> {
public:
    explicit FileSearch(HANDLE search) noexcept
        : unique_ptr(search == INVALID_HANDLE_VALUE ? nullptr : search) {}
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

// An icon of the program's own making (not one shared by LoadIcon).
struct IconDestroyer {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

// A window's device context from GetDC, released with ReleaseDC.
struct DCReleaser {
    HWND window;
    void operator()(HDC context) const noexcept { ReleaseDC(window, context); }
};
using WindowDC = std::unique_ptr<std::remove_pointer_t<HDC>, DCReleaser>;
inline WindowDC AcquireDC(HWND window) {
    return WindowDC(GetDC(window), DCReleaser{window});
}

// An object selected into a device context; the one it replaced goes back in at the end.
struct SelectionRestorer {
    HDC context;
    void operator()(HGDIOBJ previous) const noexcept { SelectObject(context, previous); }
};
using SelectedObject = std::unique_ptr<void, SelectionRestorer>;
inline SelectedObject Select(HDC context, HGDIOBJ object) {
    return SelectedObject(SelectObject(context, object), SelectionRestorer{context});
}

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
template <auto Initialize, auto Uninitialize> class Initialization {
public:
    Initialization() : succeeded_(SUCCEEDED(Initialize(nullptr))) {}
    ~Initialization() {
        if (succeeded_) {
            Uninitialize();
        }
    }
    Initialization(const Initialization&) = delete;
    Initialization& operator=(const Initialization&) = delete;

private:
    bool succeeded_;
};
using OleInitialization = Initialization<OleInitialize, OleUninitialize>;
using ComInitialization = Initialization<CoInitialize, CoUninitialize>;

} // namespace platform
