// Move-only owners for Win32 handles: each handle has exactly one owner,
// which releases it on every path.
#pragma once

#include <windows.h>

template <typename Handle, auto Release>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }

    Owned(Owned&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    void Reset() {
        if (handle_ != nullptr) {
            Release(handle_);
            handle_ = nullptr;
        }
    }

private:
    Handle handle_ = nullptr;
};

using OwnedHandle = Owned<HANDLE, &CloseHandle>;
using OwnedMenu = Owned<HMENU, &DestroyMenu>;
using OwnedFont = Owned<HFONT, &DeleteObject>;
