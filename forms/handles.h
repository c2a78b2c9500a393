// Owning wrappers for Win32 handles: each handle has exactly one owner and is
// released when that owner goes away.
#pragma once

#include "forms/win32.h"

#include <utility>

namespace forms {

template <class Handle, auto Release> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle h = nullptr) {
        if (handle_ != nullptr) {
            Release(handle_);
        }
        handle_ = h;
    }
    Handle release() { return std::exchange(handle_, nullptr); }

private:
    Handle handle_ = nullptr;
};

inline void DeleteGdiObject(HGDIOBJ h) {
    DeleteObject(h);
}
inline void DestroyWindowHandle(HWND h) {
    DestroyWindow(h);
}
inline void DestroyIconHandle(HICON h) {
    DestroyIcon(h);
}

using UniqueWindow = UniqueHandle<HWND, DestroyWindowHandle>;
using UniqueFont = UniqueHandle<HFONT, DeleteGdiObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using UniqueIcon = UniqueHandle<HICON, DestroyIconHandle>;

} // namespace forms
