// Handles that close themselves: every resource the launcher obtains is released on
// every path out of the code that obtained it.
#pragma once

#include <windows.h>

#include <utility>

namespace orvello {

template <typename Traits>
class Owned {
public:
    using Type = typename Traits::Type;

    Owned() = default;
    explicit Owned(Type value) : value_(value) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : value_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }
    Type release() { return std::exchange(value_, Traits::invalid()); }
    void reset(Type value = Traits::invalid()) {
        if (value_ != Traits::invalid()) Traits::close(value_);
        value_ = value;
    }
    // For functions that hand out a new handle through a pointer.
    Type* put() {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::invalid();
};

struct KernelTraits {
    using Type = HANDLE;
    static Type invalid() { return nullptr; }
    static void close(Type h) { CloseHandle(h); }
};

// A file opened by CreateFileW, which answers INVALID_HANDLE_VALUE for none.
struct FileTraits {
    using Type = HANDLE;
    static Type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Type f) { CloseHandle(f); }
};

struct LocalTraits {
    using Type = HLOCAL;
    static Type invalid() { return nullptr; }
    static void close(Type m) { LocalFree(m); }
};

struct FontTraits {
    using Type = HFONT;
    static Type invalid() { return nullptr; }
    static void close(Type f) { DeleteObject(f); }
};

using Handle = Owned<KernelTraits>;
using File = Owned<FileTraits>;
using LocalMemory = Owned<LocalTraits>;
using Font = Owned<FontTraits>;

// A window's device context, released with the object; an object selected into it is
// deselected first.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (old_) SelectObject(dc_, old_);
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }
    void Select(HGDIOBJ object) {
        HGDIOBJ previous = SelectObject(dc_, object);
        if (!old_) old_ = previous;
    }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace orvello
