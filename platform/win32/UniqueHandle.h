#pragma once
// One owner for every kind of handle. The traits say what the handle type is, which values
// mean "no handle" and how a handle is closed:
//
//   struct Traits {
//       using Handle = ...;
//       static Handle Invalid();            // what an empty owner holds
//       static bool IsValid(Handle handle); // false for every value that means "no handle"
//       static void Close(Handle handle);
//   };
#include "platform/win32/Win32.h"

namespace win32 {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept : handle_(Traits::Invalid()) {}
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    bool IsValid() const noexcept { return Traits::IsValid(handle_); }
    explicit operator bool() const noexcept { return IsValid(); }
    Handle Get() const noexcept { return handle_; }

    // Gives up ownership without closing.
    Handle Release() noexcept {
        Handle handle = handle_;
        handle_ = Traits::Invalid();
        return handle;
    }
    // Closes the owned handle (if any) and takes the new one. The thread's last error is kept:
    // a caller that just failed reads it after the owner of something else was reset.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        if (Traits::IsValid(handle_)) {
            const DWORD error = ::GetLastError();
            Traits::Close(handle_);
            ::SetLastError(error);
        }
        handle_ = handle;
    }

private:
    Handle handle_;
};

// Kernel objects: CreateFile answers INVALID_HANDLE_VALUE, most other creators answer null.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// FindFirstFile searches.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::FindClose(handle); }
};
using FindHandle = UniqueHandle<FindHandleTraits>;

}  // namespace win32
