#pragma once
// Owners for the user-interface handles (GDI objects, memory DCs, menus, child windows), pictures
// as device-independent bitmaps, and colour numbers as GDI takes them.
#include <memory>
#include <optional>
#include <vector>

#include "platform/Desktop.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace win32 {

template <typename H>
struct GdiObjectTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::DeleteObject(handle); }
};
using GdiBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using GdiBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using GdiFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using GdiPen = UniqueHandle<GdiObjectTraits<HPEN>>;

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::DeleteDC(handle); }
};
using MemoryDc = UniqueHandle<MemoryDcTraits>;

// A menu not (yet) attached to a window; once attached, the window destroys it.
struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::DestroyMenu(handle); }
};
using MenuHandle = UniqueHandle<MenuTraits>;

// A standard control's window, destroyed with its owner.
struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::DestroyWindow(handle); }
};
using WindowHandle = UniqueHandle<WindowTraits>;

// A window's device context for the length of a scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC for the length of a scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~Selection() { ::SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A picture as a top-down 32-bit DIB; null for an empty picture.
GdiBitmap BitmapFromImage(const platform::Image& image);

// A picture stretched to width x height pixels (smoothed), compatible with the screen.
GdiBitmap StretchedCopy(HBITMAP source, int sourceWidth, int sourceHeight, int width, int height);

// A picture made into a bitmap once, and stretched once to each size it is shown at, for every
// window that shows it: the screens all show the same side picture at the same size.
class SharedPicture {
public:
    explicit SharedPicture(const platform::Image& image);
    SharedPicture(const SharedPicture&) = delete;
    SharedPicture& operator=(const SharedPicture&) = delete;

    bool Shows(const platform::Image& image) const;
    // The picture at width x height pixels; null for an empty picture.
    std::shared_ptr<const GdiBitmap> At(int width, int height);

private:
    struct Sized {
        int width;
        int height;
        std::shared_ptr<const GdiBitmap> bitmap;
    };
    static constexpr size_t kKeptSizes = 4;

    platform::Image image_;
    GdiBitmap bitmap_;
    std::vector<Sized> sizes_;  // the most recently asked for first
};

// A vertical gradient over the area: the top colour at its top edge, the bottom colour at its
// bottom edge, each row one colour, drawn by GDI in one call.
void FillGradient(HDC dc, const RECT& area, COLORREF top, COLORREF bottom);

// That gradient as a picture of width x height pixels, compatible with the screen.
GdiBitmap GradientBitmap(int width, int height, COLORREF top, COLORREF bottom);

// A picture file's bytes (BMP, JPEG, GIF) as 32-bit pixels; nullopt when they are none of these.
std::optional<platform::Image> DecodePicture(const void* bytes, size_t size);

// Colours 0x800000nn are system colours (nn as GetSysColor numbers them), the rest are RGB.
COLORREF ResolveColour(platform::Colour colour);

}  // namespace win32
